#!/usr/bin/env python3
"""Writes the example gallery that Stepcraft and Chimecraft offer under "サンプルを開く".

Every example is written byte for byte here, so the gallery can be rebuilt and reviewed;
examples.tsv lists them (file, Japanese description, English description) in menu order.
The tunes are public-domain children's songs; repeated passages are entered as loops.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

START, ORGEL, WAIT, LOOP_START, LOOP_END, BRANCH, OUTPUT, GOTO, EXT_OUTPUT, COMPARE, \
    VARIABLE, VAR_COMPARE, END = 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99
LED, OUT1 = 0, 1
BELOW, AT_OR_ABOVE = 2, 1        # branch conditions
GREATER = 1                      # input comparison: input 1 > input 2
SET, ADD = 0, 1                  # variable operations
A_BELOW = 2                      # variable comparison: A < value

NOTES = {"C1": 0, "D1": 2, "E1": 4, "F1": 5, "G1": 7, "A1": 9, "B1": 11, "C2": 12}
SOLFEGE = {"ド": "C1", "レ": "D1", "ミ": "E1", "ファ": "F1", "ソ": "G1", "ラ": "A1",
           "シ": "B1", "ド+": "C2"}
REST, END_MARK, EMPTY = 23, 24, 255
LOOP_MARK, LOOP_END_MARK = 0x6C, 0x4C
TEMPO_BYTES = [121, 96, 80, 61, 48, 40, 30, 24, 12, 6, 3, 2, 1]


# --- Tunes ---------------------------------------------------------------------------------

def notes(text):
    """'ミ レ ド -' -> cells; '-' is a rest (or a held note's second half)."""
    return [REST if n == "-" else NOTES[SOLFEGE[n]] for n in text.split()]


class Tune:
    """Builds a score left to right; loop(count, body) plays body count + 1 times."""

    def __init__(self):
        self.cells = []
        self.depth = 0

    def add(self, text):
        self.cells += notes(text)
        return self

    def loop(self, count, body):
        self.cells += [LOOP_MARK, count]
        first = len(self.cells)
        self.depth += 1
        body(self)
        self.depth -= 1
        self.cells += [LOOP_END_MARK, self.depth, first >> 8, first & 0xFF]
        return self


def tune_body(cells, tempo_index):
    """The 512 bytes a tune file holds after its header: 'T', the tempo byte, 510 cells."""
    score = bytearray([EMPTY] * 510)
    score[:len(cells)] = bytes(cells)
    score[len(cells)] = END_MARK
    return bytes([ord("T"), TEMPO_BYTES[tempo_index]]) + bytes(score)


def write_olg(name, cells, tempo_index):
    header = bytearray(64)
    header[0:2] = b"OL"
    struct.pack_into("<I", header, 2, 0x58)
    struct.pack_into("<H", header, 6, len(cells) + 1)
    header[8:16] = b"2.53.60\0"
    struct.pack_into("<H", header, 24, tempo_index)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + tune_body(cells, tempo_index))


def twinkle():
    line = "ド ド ソ ソ ラ ラ ソ - ファ ファ ミ ミ レ レ ド -"
    return (Tune().add(line)
            .loop(1, lambda t: t.add("ソ ソ ファ ファ ミ ミ レ -"))
            .add(line).cells)


def frog():
    return (Tune().add("ド レ ミ ファ ミ レ ド - ミ ファ ソ ラ ソ ファ ミ -")
            .loop(3, lambda t: t.add("ド -"))
            .add("ド ド レ レ ミ ミ ファ ファ ミ レ ド -").cells)


def butterfly():
    line = "ソ ミ ミ - ファ レ レ - "
    return (Tune().add(line + "ド レ ミ ファ ソ ソ ソ -"
                       " ソ ミ ミ ミ ファ レ レ レ ド ミ ソ ソ ミ ミ ミ -")
            .loop(4, lambda t: t.add("レ")).add("ミ ファ -")
            .loop(4, lambda t: t.add("ミ")).add("ファ ソ -")
            .add(line + "ド ミ ソ ソ ド - - -").cells)


def mary():
    return Tune().loop(1, lambda t: t.add(
        "ミ レ ド レ ミ ミ ミ - レ レ レ - ミ ソ ソ -"
        " ミ レ ド レ ミ ミ ミ - レ レ ミ レ ド - - -")).cells


def bee():
    line = "ソ ファ ミ - レ ミ ファ レ ド - - -"
    return (Tune().add(line)
            .loop(1, lambda t: t.add("ミ ファ ソ ミ レ ミ ファ レ"))
            .add(line).cells)


def tulip():
    def verse(last):
        return lambda t: t.loop(1, lambda u: u.add("ド レ ミ -")).add(last)
    t = Tune()
    verse("ソ ミ レ ド レ ミ レ -")(t)
    verse("ソ ミ レ ド レ ミ ド -")(t)
    return t.add("ソ ソ ミ ソ ラ ラ ソ - ミ ミ レ レ ド - - -").cells


# --- Programs ------------------------------------------------------------------------------

def step(kind, loop_count=0, value=0, target=0, op=0, channel=0, code=b"", size=0, path=""):
    block = bytearray(768)
    block[:len(code)] = code
    encoded = path.encode("shift_jis")
    block[512:512 + len(encoded)] = encoded
    return struct.pack("<i768s7i", kind, bytes(block), loop_count, 0, value, target, size, op,
                       channel)


def wait(half_seconds):
    # A wait is a silent tune: 'T', the half-second tempo, one rest per half second.
    return step(WAIT, value=half_seconds,
                code=bytes([ord("T"), TEMPO_BYTES[0]] + [REST] * half_seconds),
                size=half_seconds + 2)


def orgel(name, cells, tempo_index):
    # What the tune dialog stores: the tune file's 512 bytes, its length + 2, its path.
    return step(ORGEL, code=tune_body(cells, tempo_index), size=len(cells) + 1 + 2, path=name)


def write_flc(name, steps, tempo_index=2):
    header = bytearray(64)
    header[0:2] = b"FL"
    struct.pack_into("<I", header, 2, 0x57)
    struct.pack_into("<H", header, 6, len(steps))
    header[8:17] = b"4.25.80A\0"
    struct.pack_into("<H", header, 24, tempo_index)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(header) + b"".join(steps) + bytes(800 * (256 - len(steps))))


TUNES = [
    ("twinkle.olg", twinkle, 3, "きらきら星（中のフレーズをくり返しで2回）",
     "Twinkle Twinkle Little Star, the middle phrase repeated by a loop"),
    ("frog_chorus.olg", frog, 3, "かえるの合唱（「ド」の4回をくり返しで）",
     "The frog chorus (Kaeru no gassho), the four C notes as a loop"),
    ("butterfly.olg", butterfly, 3, "ちょうちょう（同じ音の5回をくり返しで）",
     "Butterfly (Chocho), each run of five equal notes as a loop"),
    ("mary.olg", mary, 3, "メリーさんのひつじ（全体をくり返しで2回）",
     "Mary Had a Little Lamb, played twice by a loop"),
    ("bee.olg", bee, 3, "ぶんぶんぶん（中のフレーズをくり返しで2回）",
     "Bun bun bun (the bee song), the middle phrase repeated by a loop"),
    ("tulip.olg", tulip, 3, "チューリップ（「ドレミ」をくり返しで）",
     "Tulip (Churippu), each C-D-E pair as a loop"),
]


def programs():
    frog_cells = frog()
    return [
        ("led_blink.flc", [
            step(START),
            step(LOOP_START, loop_count=10),
            step(OUTPUT, value=1, channel=LED),
            wait(1),
            step(OUTPUT, value=0, channel=LED),
            wait(1),
            step(LOOP_END),
            step(END),
        ], 2, "LEDを0.5秒ごとに10回点滅させる",
            "Blinks the LED ten times, half a second on and half a second off"),
        ("counting.flc", [
            step(START),
            step(VARIABLE, op=SET, value=0, channel=0),
            step(VARIABLE, op=ADD, value=1, channel=0),
            step(OUTPUT, value=1, channel=LED),
            wait(1),
            step(OUTPUT, value=0, channel=LED),
            wait(1),
            step(VAR_COMPARE, op=A_BELOW, value=5, target=2),
            step(END),
        ], 2, "変数Aで数えて、LEDを5回点滅させる",
            "Counts with variable A and blinks the LED five times"),
        ("sensor_motor.flc", [
            step(START),
            step(BRANCH, op=BELOW, value=500, channel=0, target=1),
            step(OUTPUT, value=1, channel=OUT1),
            wait(6),
            step(OUTPUT, value=0, channel=OUT1),
            step(GOTO, target=1),
            step(END),
        ], 2, "入力1が500以上になるのを待って、出力1のモーターを3秒回す（くり返し）",
            "Waits until input 1 reads 500 or more, then runs the motor on output 1 for 3 seconds; again and again"),
        ("night_light.flc", [
            step(START),
            step(BRANCH, op=BELOW, value=300, channel=0, target=4),
            step(OUTPUT, value=0, channel=LED),
            step(GOTO, target=1),
            step(OUTPUT, value=1, channel=LED),
            step(GOTO, target=1),
            step(END),
        ], 2, "入力1（明るさ）が300より小さい（暗い）間、LEDをつける",
            "Night light: the LED is on while input 1 (light) reads below 300"),
        ("tune_loop.flc", [
            step(START),
            step(LOOP_START, loop_count=3),
            orgel("frog_chorus.olg", frog_cells, 3),
            wait(2),
            step(LOOP_END),
            step(END),
        ], 3, "かえるの合唱を、1秒休みながら3回演奏する",
            "Plays the frog chorus three times with a one-second pause between"),
        ("compare_inputs.flc", [
            step(START),
            step(COMPARE, op=GREATER, target=4),
            step(OUTPUT, value=0, channel=LED),
            step(GOTO, target=1),
            step(OUTPUT, value=1, channel=LED),
            step(GOTO, target=1),
            step(END),
        ], 2, "入力1が入力2より大きい間、LEDをつける",
            "Compares two inputs: the LED is on while input 1 is greater than input 2"),
    ]


if __name__ == "__main__":
    rows = []
    for name, steps, tempo, ja, en in programs():
        write_flc(name, steps, tempo)
        rows.append((name, ja, en))
    for name, make, tempo, ja, en in TUNES:
        write_olg(name, make(), tempo)
        rows.append((name, ja, en))
    with open(os.path.join(HERE, "examples.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# file\tJapanese description\tEnglish description\n")
        for row in rows:
            f.write("\t".join(row) + "\n")
