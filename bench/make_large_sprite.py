#!/usr/bin/python3
"""Writes a GRP of many full-size frames (256 x 256 sprite, boxes of 255 x 254) for timing the
export and the compile: rows of literal stretches, one-colour runs and transparent gaps, every
fourth frame sharing the data of the frame before it."""
import struct
import sys


def row_stream(frame, row):
    out = bytearray()
    x = 0
    while x < 255:
        kind = (frame + row + x) % 3
        count = min(1 + (frame * 7 + row * 13 + x) % 40, 255 - x)
        if kind == 0:
            out.append(0x80 | count)
        elif kind == 1:
            out += bytes([0x40 | count, 1 + (frame + row) % 254])
        else:
            out.append(count)
            out += bytes(1 + (frame + row + x + k) % 254 for k in range(count))
        x += count
    return bytes(out)


def frame_data(frame):
    rows = [row_stream(frame, r) for r in range(254)] + [bytes([0xFF, 0xFF, 0x81])]
    offsets, at = [], 2 * len(rows)
    for stream in rows:
        offsets.append(at)
        at += len(stream)
    return struct.pack("<%dH" % len(rows), *offsets) + b"".join(rows)


def main(path, frames):
    table_end = 6 + 8 * frames + 11
    entries, data = [], bytearray()
    for i in range(frames):
        if i % 4 == 3:
            entries.append(entries[-1])
            continue
        entries.append(struct.pack("<BBBBI", 0, 1, 255, 255, table_end + len(data)))
        data += frame_data(i)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", frames, 256, 256) + b"".join(entries) + b"Quillbright")
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 400)
