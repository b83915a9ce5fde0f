#!/usr/bin/python3
"""Rewrites the run-length bitmaps of a folder as uncompressed 24-bit bitmaps in another folder
and copies the frame lists beside them, so the same frames can be compiled from colours.

    to_rgb24.py SOURCE_FOLDER TARGET_FOLDER
"""
import pathlib
import shutil
import sys

from PIL import Image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, target = (pathlib.Path(arg) for arg in sys.argv[1:])
    target.mkdir(parents=True, exist_ok=True)
    for path in source.iterdir():
        if path.suffix == ".bmp":
            with Image.open(path) as picture:
                picture.convert("RGB").save(target / path.name)
        elif path.suffix.lower() == ".qbl":
            shutil.copyfile(path, target / path.name)


if __name__ == "__main__":
    main()
