#!/usr/bin/env python3
"""Writes the programs and the tune tried on the virtual board (see the README):

blink.flc       - the LED blinks five times: a loop with two waits.
night_light.flc - the LED is on while input 1 reads below 300 (a dark room).
frog_song.olg   - a short tune with a repeat, at 1/4 second a column.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
START, WAIT, LOOP_START, LOOP_END, BRANCH, OUTPUT, GOTO, END = 0, 2, 3, 4, 5, 6, 7, 99


def step(kind, loop_count=0, value=0, target=0, op=0, channel=0):
    code = bytearray(768)
    size = 0
    if kind == WAIT:  # a silent tune: 'T', the half-second tempo, one rest per half second
        code[0:2 + value] = bytes([ord("T"), 121] + [23] * value)
        size = value + 2
    return struct.pack("<i768s7i", kind, bytes(code), loop_count, 0, value, target, size, op,
                       channel)


def write_flc(name, steps):
    header = bytearray(64)
    header[0:2] = b"FL"
    struct.pack_into("<I", header, 2, 0x57)
    struct.pack_into("<H", header, 6, len(steps))
    header[8:17] = b"4.25.80A\0"
    struct.pack_into("<H", header, 24, 2)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + b"".join(steps) + bytes(800 * (256 - len(steps))))


def write_olg(name, tempo_index, tempo_byte, columns):
    cells = bytearray([255] * 510)
    cells[0:len(columns)] = bytes(columns)
    cells[len(columns)] = 24  # end mark
    header = bytearray(64)
    header[0:2] = b"OL"
    struct.pack_into("<I", header, 2, 0x58)
    struct.pack_into("<H", header, 6, len(columns) + 1)
    header[8:15] = b"2.53.60"
    struct.pack_into("<H", header, 24, tempo_index)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + bytes([ord("T"), tempo_byte]) + bytes(cells))


if __name__ == "__main__":
    write_flc("blink.flc", [
        step(START),
        step(LOOP_START, loop_count=5),
        step(OUTPUT, value=1, channel=0),
        step(WAIT, value=1),
        step(OUTPUT, value=0, channel=0),
        step(WAIT, value=1),
        step(LOOP_END),
        step(END),
    ])
    write_flc("night_light.flc", [
        step(START),
        step(BRANCH, op=2, value=300, channel=0, target=4),
        step(OUTPUT, value=0, channel=0),
        step(GOTO, target=1),
        step(OUTPUT, value=1, channel=0),
        step(GOTO, target=1),
        step(END),
    ])
    C, D, E, F, G, A, REST = 0, 2, 4, 5, 7, 9, 23
    phrase = [C, D, E, F, E, D, C, REST]
    # The second phrase is played twice: 'l' 1 before it, 'L' depth 0 target after it.
    start = len(phrase)
    body = [E, F, G, A, G, F, E, REST]
    song = phrase + [ord("l"), 1] + body + [ord("L"), 0, 0, start + 2] + [C, REST, C, REST, C]
    write_olg("frog_song.olg", 3, 61, song)
