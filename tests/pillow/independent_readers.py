"""Our PNG frames, sheets and animations as an independent reader (Pillow) sees them, and a
sheet Pillow makes (RGBA, Aseprite's hash form, trimmed frames) compiled by us.

    independent_readers.py PIXMORPH_CLI SPRITE.grp...
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import GifImagePlugin, Image

# Frames that share the first frame's palette stay palette indices.
GifImagePlugin.LOADING_STRATEGY = GifImagePlugin.LoadingStrategy.RGB_AFTER_DIFFERENT_PALETTE_ONLY

cli = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    result = subprocess.run([cli, *args], capture_output=True, text=True)
    if result.returncode != 0:
        raise SystemExit(f"pixmorph-cli {' '.join(args)}: {result.stderr.strip()}")


def exported(folder, sprite, *options):
    os.makedirs(folder)
    shutil.copy(sprite, folder)
    run("export", *options, os.path.join(folder, os.path.basename(sprite)))
    return folder


def frame_names(list_path):
    with open(list_path) as names:
        return names.read().split()[1:]


def indices(path):
    with Image.open(path) as picture:
        return picture.mode, list(picture.getdata()), picture.info, picture.getpalette()


def rgba_frame(path):
    """The frame as a paint program holds it: colours, index 0 fully transparent."""
    with Image.open(path) as picture:
        return picture.convert("RGBA")


def pillow_sheet(folder, stem, frames):
    """Frames trimmed to their pixels, three to a row in cells of the largest, hash form."""
    cell_w = max(f.width for f in frames)
    cell_h = max(f.height for f in frames)
    sheet = Image.new("RGBA", (3 * cell_w, ((len(frames) + 2) // 3) * cell_h), (0, 0, 0, 0))
    entries = {}
    for i, frame in enumerate(frames):
        box = frame.getbbox() or (0, 0, frame.width, frame.height)
        trimmed = frame.crop(box)
        x, y = i % 3 * cell_w, i // 3 * cell_h
        sheet.paste(trimmed, (x, y))
        entries[f"{stem} {i}.aseprite"] = {
            "frame": {"x": x, "y": y, "w": trimmed.width, "h": trimmed.height},
            "rotated": False,
            "trimmed": box != (0, 0, frame.width, frame.height),
            "spriteSourceSize": {"x": box[0], "y": box[1], "w": trimmed.width, "h": trimmed.height},
            "sourceSize": {"w": frame.width, "h": frame.height},
            "duration": 100,
        }
    sheet.save(os.path.join(folder, "sheet.png"))
    meta = {"app": "http://www.aseprite.org/", "version": "1.3", "image": "sheet.png",
            "format": "RGBA8888", "size": {"w": sheet.width, "h": sheet.height}, "scale": "1"}
    with open(os.path.join(folder, stem + ".json"), "w") as out:
        json.dump({"frames": entries, "meta": meta}, out, indent=1)


with tempfile.TemporaryDirectory() as scratch:
    for sprite in sys.argv[2:]:
        stem = os.path.splitext(os.path.basename(sprite))[0]
        where = os.path.join(scratch, stem)
        bmp = exported(os.path.join(where, "bmp"), sprite)
        png = exported(os.path.join(where, "png"), sprite, "--format", "png")
        gif = exported(os.path.join(where, "gif"), sprite, "--gif")

        # PNG frames: indexed, index 0 transparent, the bitmap's indices and palette.
        png_frames = []
        for bmp_name, png_name in zip(frame_names(os.path.join(bmp, stem + ".qbl")),
                                      frame_names(os.path.join(png, stem + ".qbl"))):
            bmp_mode, bmp_cells, _, bmp_palette = indices(os.path.join(bmp, bmp_name))
            mode, cells, info, palette = indices(os.path.join(png, png_name))
            check(mode == "P" and bmp_mode == "P", f"{png_name}: mode {mode}")
            check(info.get("transparency") in (0, b"\x00"), f"{png_name}: index 0 not transparent")
            check(cells == bmp_cells, f"{png_name}: indices differ from {bmp_name}")
            check(palette[:768] == bmp_palette[:768], f"{png_name}: palette differs")
            png_frames.append(cells)

        # The animation: every frame's indices, 24 frames a second (a GIF counts hundredths).
        with Image.open(os.path.join(gif, stem + ".gif")) as animation:
            check(animation.n_frames == len(png_frames), f"{stem}.gif: {animation.n_frames} frames")
            check(animation.info.get("transparency") == 0, f"{stem}.gif: index 0 not transparent")
            for i in range(min(animation.n_frames, len(png_frames))):
                animation.seek(i)
                check(animation.mode == "P" and list(animation.getdata()) == png_frames[i],
                      f"{stem}.gif: frame {i} differs")
                check(animation.info.get("duration") == 40, f"{stem}.gif: frame {i} duration")

        # Pillow's RGBA sheet compiles to what the bitmaps compile to.
        run("compile", os.path.join(bmp, stem + ".qbl"))
        made = os.path.join(where, "made")
        os.makedirs(made)
        pillow_sheet(made, stem, [rgba_frame(os.path.join(png, name))
                                  for name in frame_names(os.path.join(png, stem + ".qbl"))])
        run("compile", os.path.join(made, stem + ".json"))
        with open(os.path.join(bmp, "x_" + stem + ".grp"), "rb") as a, \
                open(os.path.join(made, "x_" + stem + ".grp"), "rb") as b:
            check(a.read() == b.read(), f"{stem}: the Pillow sheet compiles differently")

for failure in failures:
    print(failure, file=sys.stderr)
sys.exit(1 if failures else 0)
