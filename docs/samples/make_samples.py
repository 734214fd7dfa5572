#!/usr/bin/env python3
"""Writes the sample flowchart programs used for the pictures in the README.

every_kind.flc  - one step of every kind, loops three deep, jumps up and down.
forty_steps.flc - forty steps, with jumps inside a column, across columns and pages.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
START, ORGEL, WAIT, LOOP_START, LOOP_END, BRANCH, OUTPUT, GOTO, EXT_OUTPUT, COMPARE, \
    VARIABLE, VAR_COMPARE, END = 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99


def step(kind, loop_count=0, value=0, target=0, op=0, channel=0, tune_path=None):
    code = bytearray(768)
    if tune_path is not None:
        path = tune_path.encode("shift_jis")
        code[512:512 + len(path)] = path
    return struct.pack("<i768s7i", kind, bytes(code), loop_count, 0, value, target, 0, op, channel)


def write(name, steps):
    header = bytearray(64)
    header[0:2] = b"FL"
    struct.pack_into("<I", header, 2, 0x57)
    struct.pack_into("<H", header, 6, len(steps))
    header[8:17] = b"4.25.80A\0"
    struct.pack_into("<H", header, 24, 2)
    records = b"".join(steps) + bytes(800 * (256 - len(steps)))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + records)


def every_kind():
    return [
        step(START),
        step(ORGEL, tune_path="C:\\music\\sakura_no_uta.olg"),
        step(OUTPUT, value=1, channel=0),
        step(LOOP_START, loop_count=3),
        step(WAIT, value=3),
        step(LOOP_START, loop_count=2),
        step(OUTPUT, value=1, channel=1),
        step(LOOP_START, loop_count=4),
        step(EXT_OUTPUT, channel=5),
        step(LOOP_END),
        step(LOOP_END),
        step(LOOP_END),
        step(BRANCH, op=1, value=512, target=14, channel=0),
        step(GOTO, target=2),
        step(COMPARE, op=1, target=16),
        step(VARIABLE, op=1, value=5, channel=0),
        step(VAR_COMPARE, op=1, value=10, target=19),
        step(BRANCH, op=0, value=100, target=15, channel=2),
        step(VARIABLE, op=6, channel=1),
        step(BRANCH, op=0, value=300, target=17, channel=1),
        step(OUTPUT, value=0, channel=2),
        step(END),
    ]


def forty_steps():
    steps = [step(START)]
    for i in range(1, 39):
        if i == 3:
            steps.append(step(GOTO, target=9))                # same column: a lane
        elif i == 5:
            steps.append(step(BRANCH, op=1, value=200, target=1))  # same column, upwards
        elif i == 12:
            steps.append(step(COMPARE, op=2, target=20))      # to the right column
        elif i == 18:
            steps.append(step(VAR_COMPARE, op=3, value=4, target=25))  # same (right) column
        elif i == 22:
            steps.append(step(GOTO, target=35))               # to the next page
        elif i == 33:
            steps.append(step(BRANCH, op=0, value=50, target=2, channel=1))  # back a page
        elif i % 4 == 0:
            steps.append(step(OUTPUT, value=i % 8 // 4, channel=0))
        elif i % 4 == 1:
            steps.append(step(WAIT, value=i % 6 + 1))
        elif i % 4 == 2:
            steps.append(step(VARIABLE, op=1, value=i, channel=i % 2))
        else:
            steps.append(step(OUTPUT, value=1, channel=1 + i % 2))
    steps.append(step(END))
    return steps


if __name__ == "__main__":
    write("every_kind.flc", every_kind())
    write("forty_steps.flc", forty_steps())
