#!/usr/bin/env python3
"""Writes the sample tunes used for the score pictures in the README.

twinkle.olg - "きらきら星": two phrases with the middle phrase in a loop played twice;
              47 columns with its end mark, so it prints on two pages.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
NOTES = {"C1": 0, "D1": 2, "E1": 4, "F1": 5, "G1": 7, "A1": 9, "C2": 12, "D2": 14, "E2": 16}
REST, END, EMPTY = 23, 24, 255
TEMPO_BYTES = [121, 96, 80, 61, 48, 40, 30, 24, 12, 6, 3, 2, 1]


def write(name, cells, tempo_index=3):
    used = len(cells)
    score = bytearray([EMPTY] * 512)
    score[:used] = bytes(cells)
    score[used] = END
    header = bytearray(64)
    header[0:2] = b"OL"
    struct.pack_into("<I", header, 2, 0x58)
    struct.pack_into("<H", header, 6, used + 1)
    header[8:16] = b"2.53.60\0"
    struct.pack_into("<H", header, 24, tempo_index)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + bytes([ord("T"), TEMPO_BYTES[tempo_index]]) + bytes(score[:510]))


def phrase(*names):
    return [REST if n == "-" else NOTES[n] for n in names]


def twinkle():
    first = phrase("C1", "C1", "G1", "G1", "A1", "A1", "G1", "-",
                   "F1", "F1", "E1", "E1", "D1", "D1", "C1", "-")
    middle = phrase("G1", "G1", "F1", "F1", "E1", "E1", "D1", "-")
    start = len(first)
    body = start + 2
    end_mark = [ord("L"), 0, body >> 8, body & 0xFF]
    return first + [ord("l"), 1] + middle + end_mark + first


if __name__ == "__main__":
    write("twinkle.olg", twinkle())
