#!/usr/bin/env python3
"""Writes Chimecraft's artwork as SVG files, one per resource name, next to this script.

The score window is a music box's paper strip: a cream grid of 21 columns (25 pixels
apart from x = 80) by 24 rows (18 pixels apart from y = 0; row 0 is the rest row, row 23
is C1) with a sideways keyboard in the left 80 pixels whose keys sit on the rows of their
notes and cover exactly the ranges that answer clicks. Note heads are punched holes
filled with colour, loop marks are full-height bands in the loop colours of Stepcraft.
Shapes, ink, font and button style come from Stepcraft's make_art.py so both programs
look like one family. Run it after changing anything here and commit the SVG files with
it. The buttons both programs share (PICREC, PICPLAY, PICSTOP, SCRDEL) and the cursors
stay in resources/stepcraft.
"""

import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location(
    "stepcraft_art", os.path.join(HERE, "..", "stepcraft", "make_art.py"))
step = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(step)

INK = step.INK
text, rect, poly, svg = step.text, step.rect, step.poly, step.svg
LOOP_FILL, LOOP_LINE = step.COLOURS["loop1"]
TUNE_FILL, TUNE_LINE = step.COLOURS["tune"]

PAPER = "#fffbef"
PAPER_SHARP = "#f3eee0"
REST_ROW = "#e9f4fb"
GRID = "#e3d9c3"
GRID_STRONG = "#c9b99a"
WOOD = "#c98b4e"
WOOD_DARK = "#8d5a2b"
HIGHLIGHT = "#fff176"
HIGHLIGHT_LINE = "#f9a825"

KEY_W, KEY_H = 606, 431
GRID_LEFT, PITCH, ROW = 80, 25, 18

# Key highlights (top of the keyboard first): name, y, width, height. These rectangles
# are the keys: the keyboard picture draws each key where its highlight will cover it.
KEYS = [
    ("A2s", 20, 50, 20), ("A2", 31, 79, 31), ("G2s", 53, 50, 20), ("G2", 64, 79, 32),
    ("F2s", 87, 50, 20), ("F2", 98, 79, 26), ("E2", 126, 79, 28), ("D2s", 145, 50, 20),
    ("D2", 156, 79, 30), ("C2s", 177, 50, 20), ("C2", 188, 79, 26), ("B1", 216, 79, 28),
    ("A1s", 235, 50, 20), ("A1", 246, 79, 32), ("G1s", 269, 50, 20), ("G1", 280, 79, 33),
    ("F1s", 304, 50, 20), ("F1", 315, 79, 26), ("E1", 343, 79, 24), ("D1s", 358, 50, 20),
    ("D1", 369, 79, 34), ("C1s", 394, 50, 20), ("C1", 405, 79, 25),
]
SOLFA = {"C": "ド", "D": "レ", "E": "ミ", "F": "ファ", "G": "ソ", "A": "ラ", "B": "シ"}
NOTE_NAMES = ["C1", "C1s", "D1", "D1s", "E1", "F1", "F1s", "G1", "G1s", "A1", "A1s", "B1",
              "C2", "C2s", "D2", "D2s", "E2", "F2", "F2s", "G2", "G2s", "A2", "A2s"]


def write(name, width, height, body):
    with open(os.path.join(HERE, f"{name}.svg"), "w", encoding="utf-8") as f:
        f.write(svg(width, height, body))


def is_black(name):
    return name.endswith("s")


# ---------------------------------------------------------------- keyboard

def white_key(y, h, fill, line, label, label_colour):
    # One pixel of each neighbouring gap belongs to the key's outline.
    body = rect(0.75, y - 0.75, 78.5, h + 1.5, 3, fill, line, 1.5)
    body += f'<rect x="70" y="{y + 1}" width="6" height="{h - 2}" rx="2" fill="#ffffff" opacity="0.6"/>\n'
    if label:
        body += text(62, y + h / 2 + 4, label, 10 if len(label) == 1 else 8.5, label_colour, "bold")
    return body


def black_key(y, fill, line):
    body = rect(0.75, y + 0.75, 49, 18.5, 4, fill, line, 1.5)
    body += f'<rect x="4" y="{y + 4}" width="38" height="4" rx="2" fill="#ffffff" opacity="0.25"/>\n'
    return body


def keyboard(offset_y=0):
    """The whole keyboard, drawn with its top at offset_y (negative to show a part)."""
    body = rect(0, offset_y, 80, KEY_H, 0, "#fdf6e3", "none", 0)
    # The rest row at the top: a little sign that this row is silence.
    body += rect(2, offset_y + 1.5, 76, 15, 7.5, REST_ROW, "#90a4ae", 1)
    body += text(40, offset_y + 13, "やすみ", 10, "#546e7a", "bold")
    for name, y, w, h in KEYS:
        if not is_black(name):
            body += white_key(y + offset_y, h, "#ffffff", "#a1887f", SOLFA[name[0]], "#8d6e63")
    for name, y, w, h in KEYS:
        if is_black(name):
            body += black_key(y + offset_y, INK, "#263238")
    return body


def write_keyboard():
    write("KEYF", 80, KEY_H, keyboard())


def write_key_highlights():
    for name, y, w, h in KEYS:
        if is_black(name):
            body = black_key(0, "#ffb300", "#e65100")
            body += text(25, 14, "♪", 12, "#ffffff", "bold")
        else:
            body = white_key(0, h, HIGHLIGHT, HIGHLIGHT_LINE, SOLFA[name[0]], "#e65100")
            body += text(24, h / 2 + 5, "♪", 13, "#e65100", "bold")
            # Black keys that reach into this key stay black on top of it.
            for other, oy, ow, oh in KEYS:
                if is_black(other) and oy < y + h and oy + oh > y:
                    body += black_key(oy - y, INK, "#263238")
        write(name, w, h, body)


# ---------------------------------------------------------------- background and grid

def grid():
    body = rect(GRID_LEFT, 0, KEY_W - GRID_LEFT, KEY_H, 0, PAPER, "none", 0)
    # Rows of sharps are a shade darker, like the black keys they belong to; the rest row
    # is blue like its sign on the keyboard.
    for r in range(24):
        code = 23 - r
        if code == 23:
            fill = REST_ROW
        elif is_black(NOTE_NAMES[code]):
            fill = PAPER_SHARP
        else:
            continue
        body += f'<rect x="{GRID_LEFT}" y="{ROW * r}" width="{KEY_W - GRID_LEFT}" height="{ROW}" fill="{fill}"/>\n'
    for r in range(25):
        y = ROW * r
        code_below = 23 - r
        strong = r == 1 or code_below in (11, -1) or r == 0
        colour = GRID_STRONG if strong else GRID
        body += f'<rect x="{GRID_LEFT}" y="{min(y, KEY_H - 1)}" width="{KEY_W - GRID_LEFT}" height="1" fill="{colour}"/>\n'
    for j in range(22):
        x = GRID_LEFT + PITCH * j
        body += f'<rect x="{min(x, KEY_W - 1)}" y="0" width="1" height="{KEY_H}" fill="{GRID}"/>\n'
    # The octave boundary between B1 and C2 and the frame are drawn in wood colour.
    body += f'<rect x="{GRID_LEFT}" y="{ROW * 11}" width="{KEY_W - GRID_LEFT}" height="1" fill="{WOOD}" opacity="0.6"/>\n'
    body += f'<rect x="{KEY_W - 1}" y="0" width="1" height="{KEY_H}" fill="{WOOD_DARK}"/>\n'
    body += f'<rect x="{GRID_LEFT}" y="{KEY_H - 1}" width="{KEY_W - GRID_LEFT}" height="1" fill="{WOOD_DARK}"/>\n'
    body += f'<rect x="{GRID_LEFT - 1}" y="0" width="1" height="{KEY_H}" fill="{WOOD_DARK}"/>\n'
    return body


def write_background():
    write("KEY", KEY_W, KEY_H, keyboard() + grid())


def write_bar():
    # Every fifth column: a soft green band the row lines still show through.
    body = f'<rect x="0" y="0" width="26" height="{KEY_H}" fill="#a5d6a7" opacity="0.35"/>\n'
    body += f'<rect x="0" y="0" width="1" height="{KEY_H}" fill="#81c784"/>\n'
    body += f'<rect x="25" y="0" width="1" height="{KEY_H}" fill="#81c784"/>\n'
    write("BAR", 26, KEY_H, body)


# ---------------------------------------------------------------- loop marks

def band(fill, line):
    return (rect(1, 1, 22, KEY_H - 2, 5, fill, line, 1.5))


def repeat_sign(y, start, colour):
    """A music repeat sign: thick and thin bar with two dots, mirrored for the end."""
    thick, thin, dots = (5, 10, 15) if start else (15, 11, 5)
    return (f'<rect x="{thick}" y="{y}" width="4" height="34" fill="{colour}"/>\n'
            f'<rect x="{thin}" y="{y}" width="1.6" height="34" fill="{colour}"/>\n'
            f'<circle cx="{dots + 2}" cy="{y + 12}" r="2.2" fill="{colour}"/>\n'
            f'<circle cx="{dots + 2}" cy="{y + 22}" r="2.2" fill="{colour}"/>\n')


def vertical_text(x, y, s, colour, size=11):
    return "".join(text(x, y + i * (size + 2), ch, size, colour, "bold") for i, ch in enumerate(s))


def write_loop_marks():
    body = band(LOOP_FILL, LOOP_LINE) + repeat_sign(20, True, LOOP_LINE)
    body += vertical_text(12, 90, "くりかえし", LOOP_LINE)
    body += repeat_sign(250, True, LOOP_LINE)
    write("Lin", 24, KEY_H, body)

    body = band(LOOP_FILL, LOOP_LINE) + repeat_sign(20, False, LOOP_LINE)
    body += vertical_text(12, 90, "もどる", LOOP_LINE)
    body += (f'<path d="M 17 200 L 17 170 A 5 5 0 0 0 7 170 L 7 182" fill="none" stroke="{LOOP_LINE}" '
             f'stroke-width="2" stroke-linecap="round"/>\n')
    body += poly([(3, 180), (11, 180), (7, 187)], LOOP_LINE, LOOP_LINE, 1)
    body += repeat_sign(250, False, LOOP_LINE)
    write("Lend", 24, KEY_H, body)

    # A parameter cell belongs to its mark: the same colour, paler, with a dotted spine.
    body = rect(1, 1, 22, KEY_H - 2, 5, "#eef6ff", LOOP_LINE, 1)
    body += (f'<line x1="12" y1="8" x2="12" y2="{KEY_H - 8}" stroke="{LOOP_LINE}" stroke-width="2" '
             f'stroke-dasharray="2 6" stroke-linecap="round" opacity="0.6"/>\n')
    write("Lpara", 24, KEY_H, body)


# ---------------------------------------------------------------- note heads

def head(fill, line, shine=True, glow=None):
    body = ""
    if glow:
        body += f'<ellipse cx="12" cy="8.5" rx="11.5" ry="8" fill="{glow}"/>\n'
    body += f'<ellipse cx="12" cy="8.5" rx="9" ry="6.8" fill="{fill}" stroke="{line}" stroke-width="1.5"/>\n'
    if shine:
        body += '<ellipse cx="9" cy="6" rx="3.2" ry="1.8" fill="#ffffff" opacity="0.7"/>\n'
    return body


def write_heads():
    write("SC_ON", 24, 17, head("#ec407a", TUNE_LINE))
    write("SC_PLAY", 24, 17, head("#ffeb3b", "#ef6c00", glow="#ffb74d"))
    write("SC_OFF", 24, 17, head("#ffffff", "#b0bec5", shine=False))


# ---------------------------------------------------------------- buttons

def board_button(name, fill, outline, glyph, label, size=11):
    body = rect(0.75, 0.75, 48.5, 28.5, 6, fill, outline, 1.5)
    body += '<rect x="3" y="2.5" width="44" height="9" rx="4" fill="#ffffff" opacity="0.25"/>\n'
    body += glyph + text(34, 15 + size * 0.36, label, size, "#ffffff", "bold")
    write(name, 50, 30, body)


def small_note(x, y, colour):
    return (f'<ellipse cx="{x}" cy="{y + 8}" rx="2.6" ry="2" fill="{colour}"/>\n'
            f'<rect x="{x + 1.4}" y="{y}" width="1.2" height="8" fill="{colour}"/>\n'
            f'<path d="M {x + 2.6} {y} q 3 1.5 2 4.5" fill="none" stroke="{colour}" stroke-width="1.2"/>\n')


PC_FILL, PC_LINE = "#8e24aa", "#4a148c"


def write_panel_buttons():
    triangle = poly([(5, 9), (5, 21), (14, 15)], "#ffffff", "#ffffff", 1)
    board_button("PCPLAY", PC_FILL, PC_LINE, triangle + small_note(15, 5, "#ffffff"), "全体")
    board_button("PCPARTPLAY", PC_FILL, PC_LINE,
                 poly([(6, 10), (6, 20), (13, 15)], "#ffffff", "#ffffff", 1)
                 + '<rect x="15" y="9" width="5" height="12" rx="1" fill="none" stroke="#ffffff" stroke-width="1.4"/>\n',
                 "部分")
    board_button("PCSTOP", "#f4511e", "#bf360c",
                 rect(8, 9, 12, 12, 1.5, "#ffffff", "#ffffff", 0.5) + small_note(12, 10, "#f4511e"),
                 "停止")
    board_button("CONNECT", "#00897b", "#004d40",
                 '<path d="M 7 15 L 12 15 M 17 11 L 17 19 M 12 10 L 17 10 L 17 20 L 12 20 Z" fill="#ffffff" '
                 'stroke="#ffffff" stroke-width="1.5" stroke-linejoin="round"/>\n'
                 '<path d="M 17 12.5 L 21 12.5 M 17 17.5 L 21 17.5" stroke="#ffffff" stroke-width="1.5"/>\n',
                 "接続")
    board_button("PREV", "#5c6bc0", "#283593", poly([(18, 8), (18, 22), (7, 15)], "#ffffff", "#ffffff", 1), "前へ")
    board_button("FWD", "#5c6bc0", "#283593", poly([(8, 8), (8, 22), (19, 15)], "#ffffff", "#ffffff", 1), "次へ")


def frame_button(name, fill, outline, glyph, label, size=11):
    body = step.button_frame(60, 30) + rect(5, 5, 50, 20, 6, fill, outline, 1.5)
    body += glyph + text(37, 15 + size * 0.36, label, size, outline, "bold")
    write(name, 60, 30, body)


def write_score_buttons():
    green_fill, green_line = step.COLOURS["start"]
    frame_button("SCRINS", green_fill, green_line,
                 f'<path d="M 15 9.5 L 15 20.5 M 9.5 15 L 20.5 15" stroke="{green_line}" stroke-width="2.6" '
                 'stroke-linecap="round"/>\n', "挿入")
    frame_button("LOOPINS", LOOP_FILL, LOOP_LINE, step.loop_arrow(13, 18, LOOP_LINE), "ループ", 10)
    frame_button("PAGEUP", "#e8eaf6", "#3949ab",
                 poly([(16, 9), (16, 21), (9, 15)], "#3949ab", "#3949ab", 1), "前頁")
    frame_button("PAGEDOWN", "#e8eaf6", "#3949ab",
                 poly([(10, 9), (10, 21), (17, 15)], "#3949ab", "#3949ab", 1), "次頁")


# ---------------------------------------------------------------- icons

def icon_body(size):
    k = size / 64

    def s(v):
        return v * k
    body = rect(s(2), s(2), s(60), s(60), s(12), "#fde7f1", TUNE_LINE, s(3))
    # A music box: a wooden case with its pinned cylinder, and a note rising from it.
    body += rect(s(9), s(32), s(46), s(22), s(4), WOOD, WOOD_DARK, s(2))
    body += rect(s(14), s(26), s(36), s(10), s(5), "#ffe082", "#f9a825", s(2))
    for x in (19, 25, 31, 37, 43):
        body += f'<circle cx="{s(x)}" cy="{s(31)}" r="{s(1.6)}" fill="{WOOD_DARK}"/>\n'
    body += f'<ellipse cx="{s(24)}" cy="{s(20)}" rx="{s(4.5)}" ry="{s(3.4)}" fill="#ec407a"/>\n'
    body += f'<ellipse cx="{s(42)}" cy="{s(16)}" rx="{s(4.5)}" ry="{s(3.4)}" fill="#ec407a"/>\n'
    body += f'<rect x="{s(27.5)}" y="{s(6)}" width="{s(2.2)}" height="{s(14)}" fill="#ec407a"/>\n'
    body += f'<rect x="{s(45.5)}" y="{s(4)}" width="{s(2.2)}" height="{s(12)}" fill="#ec407a"/>\n'
    body += poly([(s(27.5), s(6)), (s(47.7), s(2)), (s(47.7), s(6.5)), (s(27.5), s(10.5))],
                 "#ec407a", "#ec407a", s(0.5))
    return body


def write_icons():
    write("CHIMECRAFT_ICON", 64, 64, icon_body(64))
    write("CHIMECRAFT_ICON_SMALL", 16, 16, icon_body(16))


if __name__ == "__main__":
    write_keyboard()
    write_key_highlights()
    write_background()
    write_bar()
    write_loop_marks()
    write_heads()
    write_panel_buttons()
    write_score_buttons()
    write_icons()
