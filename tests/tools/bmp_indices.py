#!/usr/bin/python3
"""Prints what Pillow decodes from 8-bit BMP files, for the tests to compare with the canvas.

For each path given: a line "mode width height", a line with the pixel indices row by row from
the top, and a line with the palette's 768 red, green, blue values.
"""
import sys

from PIL import Image


def main(paths):
    for path in paths:
        with Image.open(path) as image:
            image.load()
            print(image.mode, image.width, image.height)
            print(" ".join(str(index) for index in image.getdata()))
            palette = image.getpalette() or []
            print(" ".join(str(value) for value in palette[:768]))


if __name__ == "__main__":
    main(sys.argv[1:])
