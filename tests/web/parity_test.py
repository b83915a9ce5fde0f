#!/usr/bin/env python3
"""The command line built for Node (build-web/pixmorph-cli.js) against the native one
(build/bin/pixmorph-cli): each case runs both on the same inputs, each in a fresh folder of its
own, and compares the exit codes, what they print, and every file they leave, byte for byte.

Inputs: the demo sprites, the benchmark corpus, sprites and lists the native program derives
from them (the uncompressed variant, sheets, PNG lists), palettes of every kind written here,
the fuzz corpora as hostile files, and the real samples when they sit beside the checkout.
"""

import os
import random
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
NATIVE = [str(ROOT / "build/bin/pixmorph-cli")]
NODE = ["node", "--no-experimental-fetch", str(ROOT / "build-web/pixmorph-cli.js")]
WORK = Path(os.environ.get("PIXMORPH_WEB_TEST_WORK", ROOT / "build-web/parity"))
INPUTS = WORK / "inputs"


def tree(folder):
    """Every file, folder and link beneath folder: path -> what it is and holds."""
    found = {}
    for dirpath, dirnames, filenames in os.walk(folder):
        for name in dirnames + filenames:
            path = Path(dirpath) / name
            key = str(path.relative_to(folder))
            if path.is_symlink():
                found[key] = ("link", os.readlink(path))
            elif path.is_dir():
                found[key] = ("folder", oct(path.stat().st_mode & 0o777))
            else:
                found[key] = ("file", oct(path.stat().st_mode & 0o777), path.read_bytes())
    return found


def differences(native, web):
    """What differs between the two sides' trees, named briefly."""
    lines = []
    for key in sorted(set(native) | set(web)):
        a, b = native.get(key), web.get(key)
        if a == b:
            continue
        if a is None or b is None:
            lines.append(f"{key}: only {'native' if b is None else 'web'}")
        elif a[0] != b[0] or a[:2] != b[:2]:
            lines.append(f"{key}: native {a[:2]}, web {b[:2]}")
        else:
            at = next(i for i, (x, y) in enumerate(zip(a[2], b[2])) if x != y) if len(a[2]) == len(
                b[2]) else min(len(a[2]), len(b[2]))
            lines.append(f"{key}: {len(a[2])} against {len(b[2])} bytes, first difference at {at}")
    return lines


class Parity:
    def __init__(self):
        self.passed = 0
        self.failed = []

    def case(self, name, args, setup=None):
        """Runs pixmorph-cli ARGS on both sides from a fresh folder WORK/side/name; setup(folder)
        lays anything the case needs there first."""
        results = {}
        for side, command in (("native", NATIVE), ("web", NODE)):
            folder = WORK / side / name
            shutil.rmtree(folder, ignore_errors=True)
            folder.mkdir(parents=True)
            if setup:
                setup(folder)
            run = subprocess.run(command + [str(a) for a in args], cwd=folder,
                                 capture_output=True, timeout=600)
            results[side] = (run.returncode, run.stdout, run.stderr, tree(folder))
        (code_n, out_n, err_n, tree_n), (code_w, out_w, err_w, tree_w) = (results["native"],
                                                                          results["web"])
        problems = []
        if code_n != code_w:
            problems.append(f"exit code: native {code_n}, web {code_w}")
        for what, a, b in (("standard output", out_n, out_w), ("standard error", err_n, err_w)):
            if a != b:
                problems.append(f"{what} differs:\n  native: {a[:400]!r}\n  web:    {b[:400]!r}")
        problems += differences(tree_n, tree_w)
        if problems:
            self.failed.append(name)
            print(f"FAIL {name}: pixmorph-cli {' '.join(map(str, args))[:200]}")
            for line in problems[:12]:
                print("    " + line)
        else:
            self.passed += 1
            print(f"ok   {name} (exit {code_n}, {len(tree_n)} entries)")
        return code_n


def native(*args):
    """An input derived by the native program, which must succeed."""
    subprocess.run(NATIVE + [str(a) for a in args], check=True, capture_output=True)


def write_palettes(folder):
    """One palette of each kind the command line reads, seeded."""
    colours = random.Random(7).randbytes(768)
    (folder / "raw.pal").write_bytes(colours)
    (folder / "tileset.wpe").write_bytes(
        b"".join(colours[i:i + 3] + b"\0" for i in range(0, 768, 3)))
    rows = "\n".join(f"{colours[i]:3} {colours[i + 1]:3} {colours[i + 2]:3}\tc{i // 3}"
                     for i in range(0, 768, 3))
    (folder / "gimp.gpl").write_text(f"GIMP Palette\nName: seeded\n#\n{rows}\n")
    jasc = "\n".join(f"{colours[i]} {colours[i + 1]} {colours[i + 2]}" for i in range(0, 768, 3))
    (folder / "jasc.pal").write_text(f"JASC-PAL\r\n0100\r\n256\r\n{jasc}\r\n".replace("\n", "\r\n")
                                     .replace("\r\r", "\r"))
    (folder / "short.pal").write_bytes(colours[:560])


def is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def prepare():
    shutil.rmtree(WORK, ignore_errors=True)
    INPUTS.mkdir(parents=True)
    demo = INPUTS / "demo"
    demo.mkdir()
    subprocess.run([str(ROOT / "build/bin/make_demo"), str(demo)], check=True,
                   capture_output=True)
    subprocess.run([str(ROOT / "build/bin/make_corpus"), "--seed", "1", "--scale", "1",
                    str(INPUTS / "corpus")], check=True, capture_output=True)
    write_palettes(INPUTS)
    derived = INPUTS / "derived"
    sprites = sorted(demo.glob("*.grp"))
    native("export", "--output-dir", derived / "bmp", "--mkdir", *sprites)
    native("export", "--unique", "--output-dir", derived / "unique", "--mkdir", *sprites)
    native("export", "--format", "png", "--output-dir", derived / "png", "--mkdir", *sprites)
    native("export", "--sheet", "--output-dir", derived / "sheet", "--mkdir", *sprites)
    native("compile", "--uncompressed", "--output-dir", derived / "uncompressed", "--mkdir",
           *sorted((derived / "bmp").glob("*.qbl")))
    native("export", "--output-dir", derived / "corpus", "--mkdir",
           *sorted((INPUTS / "corpus").glob("*.grp")))
    # Hostile files: the fuzz corpora under the names the command line expects, and a few cut
    # and altered sprites.
    hostile = INPUTS / "hostile"
    for corpus, suffix in (("grp_export", ".grp"), ("grp_uncompressed", ".grp"),
                           ("round_trip", ".grp"), ("qbl_list", ".qbl"),
                           ("sheet_json", ".json")):
        target = hostile / corpus
        target.mkdir(parents=True)
        for path in sorted((ROOT / "fuzz/corpus" / corpus).iterdir()):
            # Node hands the module file names as text, so a name in a list that is not UTF-8
            # names another file under Node: such lists are left out.
            if suffix != ".grp" and not is_utf8(path.read_bytes()):
                continue
            shutil.copyfile(path, target / (path.name + suffix))
    orb = (demo / "orb.grp").read_bytes()
    (hostile / "cut.grp").write_bytes(orb[:len(orb) // 3])
    (hostile / "header_only.grp").write_bytes(orb[:6])
    (hostile / "empty.grp").write_bytes(b"")
    flipped = bytearray(orb)
    flipped[len(orb) // 2:len(orb) // 2 + 64] = bytes(64)
    (hostile / "zeroed.grp").write_bytes(bytes(flipped))
    (hostile / "folder.grp").mkdir()
    (hostile / "escape.qbl").write_text("../../outside.bmp\n")


def main():
    prepare()
    p = Parity()
    demo = sorted((INPUTS / "demo").glob("*.grp"))
    derived = INPUTS / "derived"
    out = ["--output-dir", "out", "--mkdir"]

    # Export: every form, of the demo sprites (orb repeats frames; planet's frame is near the
    # largest box) and of the uncompressed variant.
    uncompressed = sorted((derived / "uncompressed").glob("*.grp"))
    for name, options in (("all_bmp", []), ("unique_bmp", ["--unique"]),
                          ("all_png", ["--format", "png"]),
                          ("unique_png", ["--unique", "--format", "png"]),
                          ("frames", ["--frames", "0-3,17,19-40"]),  # past beacon's one
                          ("sheet", ["--sheet"]), ("sheet_columns", ["--sheet", "--columns", "3"]),
                          ("gif", ["--gif", "--fps", "12"])):
        p.case(f"export_{name}", ["export", *options, *out, *demo])
        p.case(f"export_uncompressed_{name}", ["export", *options, *out, *uncompressed])
    p.case("export_frames_orb", ["export", "--frames", "0,3-5,18", "--format", "png", *out,
                                  INPUTS / "demo/orb.grp"])
    for palette in ("raw.pal", "tileset.wpe", "gimp.gpl", "jasc.pal", "short.pal"):
        p.case(f"export_palette_{palette}",
               ["export", "--palette", INPUTS / palette, *out, demo[0]])
    p.case("info", ["info", *demo, *uncompressed])

    # Compile: from lists of bitmaps and of PNGs, from sheets, as specified, compact and
    # uncompressed.
    for source in ("bmp", "unique", "png", "sheet"):
        inputs = sorted((derived / source).glob("*.json" if source == "sheet" else "*.qbl"))
        for name, options in (("default", []), ("compact", ["--compact"]),
                              ("uncompressed", ["--uncompressed"])):
            p.case(f"compile_{source}_{name}", ["compile", *options, *out, *inputs])
    p.case("compile_palette", ["compile", "--palette", INPUTS / "tileset.wpe", *out,
                                derived / "bmp/orb.qbl"])

    # The benchmark corpus: many sprites in one run.
    corpus = sorted((INPUTS / "corpus").glob("*.grp"))
    p.case("corpus_export_all", ["export", *out, *corpus])
    p.case("corpus_export_unique_png", ["export", "--unique", "--format", "png", *out, *corpus])
    p.case("corpus_compile_compact", ["compile", "--compact", *out,
                                      *sorted((derived / "corpus").glob("*.qbl"))])

    # Hostile and faulty input: one line naming the file, the same exit code, the same files
    # left (none of a failed input's).
    hostile = INPUTS / "hostile"
    for corpus in ("grp_export", "grp_uncompressed", "round_trip"):
        files = sorted((hostile / corpus).iterdir())
        p.case(f"hostile_export_{corpus}", ["export", *out, *files])
        p.case(f"hostile_info_{corpus}", ["info", *files])
    for corpus in ("qbl_list", "sheet_json"):
        p.case(f"hostile_compile_{corpus}", ["compile", *out, *sorted((hostile / corpus).iterdir())])
    singles = sorted(f for f in hostile.iterdir() if f.suffix == ".grp") + [hostile / "missing.grp"]
    for single in singles:
        p.case(f"hostile_export_{single.stem}", ["export", *out, single])
        p.case(f"hostile_info_{single.stem}", ["info", single])
    p.case("hostile_compile_escape", ["compile", *out, hostile / "escape.qbl"])

    # The output folder: missing, a file, a link, and a link where a file goes.
    p.case("output_missing", ["export", "--output-dir", "absent", demo[0]])
    p.case("output_is_file", ["export", "--output-dir", "taken", demo[0]],
           setup=lambda f: (f / "taken").write_bytes(b"x"))

    def linked_folder(folder):
        (folder / "elsewhere").mkdir()
        (folder / "out").mkdir()
        (folder / "out/sub").symlink_to("../elsewhere")

    p.case("output_link_in_path", ["export", "--output-dir", "out/sub", demo[0]],
           setup=linked_folder)

    def linked_file(folder):
        (folder / "out").mkdir()
        (folder / "victim").write_bytes(b"kept")
        (folder / "out/orb000.bmp").symlink_to("../victim")

    p.case("output_link_at_name", ["export", "--output-dir", "out", demo[0]], setup=linked_file)
    p.case("usage_no_input", ["export"])
    p.case("usage_bad_format", ["export", "--format", "tga", demo[0]])
    p.case("usage_exclusive", ["compile", "--compact", "--uncompressed", "x.qbl"])

    # The real samples, when they sit beside the checkout.
    named = os.environ.get("PIXMORPH_REAL_SAMPLES")
    beside = [ROOT.parent / "shared/real-samples", ROOT.parent.parent / "shared/real-samples"]
    samples = next((f for f in ([Path(named)] if named else beside) if f.is_dir()), None)
    if samples:
        real = sorted(samples.glob("*.grp"))
        p.case("real_export_all", ["export", *out, *real])
        p.case("real_export_unique_png", ["export", "--unique", "--format", "png", *out, *real])
        p.case("real_info", ["info", *real])
        for palette in sorted(samples.glob("*.pal")) + sorted(samples.glob("*.wpe"))[:2]:
            p.case(f"real_palette_{palette.stem}",
                   ["export", "--palette", palette, *out, samples / "kills.grp"])
    else:
        print("(no real samples beside the checkout: their cases are left out)")

    print(f"parity: {p.passed} passed, {len(p.failed)} failed")
    return 1 if p.failed else 0


if __name__ == "__main__":
    sys.exit(main())
