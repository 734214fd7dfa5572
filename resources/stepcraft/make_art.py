#!/usr/bin/env python3
"""Writes Stepcraft's artwork as SVG files, one per resource name, next to this script.

All pictures come from the shapes and colours below so that the symbols, their
highlighted twins, the tool buttons and the toolbar look like one family. Run it after
changing anything here and commit the SVG files with it.

Symbols are 96 x 48. The flowchart draws them one under another with no gap, so every
symbol carries the flow line through x = 48 and keeps its body between y = 2 and 46;
captions are drawn over the body (around y = 20..40), so glyphs stay in the top part or
at the sides. Branch lines leave the right tip at y = 25..27 (x = 83, goto x = 88).
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK = "#37474f"
FONT = "IPAGothic"
HIGHLIGHT = "#fff176"

# kind family -> (fill, outline)
COLOURS = {
    "start": ("#c8efc0", "#2e7d32"),
    "end": ("#ffd3cf", "#c62828"),
    "tune": ("#ffe1f0", "#c2185b"),
    "output": ("#ffe8cc", "#e65100"),
    "wait": ("#fff5c2", "#a67c00"),
    "loop1": ("#d7ebff", "#1565c0"),
    "loop2": ("#ecdcff", "#6a1b9a"),
    "loop3": ("#d3f4ee", "#00796b"),
    "branch": ("#d4f2fa", "#00838f"),
    "compare": ("#e1e6ff", "#3949ab"),
    "variable": ("#ecf6d2", "#558b2f"),
    "goto": ("#e3e9ee", "#455a64"),
    "delete": ("#ffe0e0", "#d32f2f"),
}


def svg(width, height, body):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{width}" '
        f'height="{height}" viewBox="0 0 {width} {height}">\n{body}</svg>\n'
    )


def write(name, width, height, body):
    with open(os.path.join(HERE, f"{name}.svg"), "w", encoding="utf-8") as f:
        f.write(svg(width, height, body))


def text(x, y, s, size, fill=INK, weight="normal", anchor="middle"):
    return (
        f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" '
        f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}">{s}</text>\n'
    )


def poly(points, fill, stroke, width):
    pts = " ".join(f"{x},{y}" for x, y in points)
    return (
        f'<polygon points="{pts}" fill="{fill}" stroke="{stroke}" '
        f'stroke-width="{width}" stroke-linejoin="round"/>\n'
    )


def rect(x, y, w, h, rx, fill, stroke, width):
    return (
        f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{rx}" fill="{fill}" '
        f'stroke="{stroke}" stroke-width="{width}"/>\n'
    )


def flow_line(top=0, bottom=48):
    return f'<rect x="47" y="{top}" width="2" height="{bottom - top}" fill="{INK}"/>\n'


# ---------------------------------------------------------------- symbol bodies
# Each returns the SVG of the body given fill, outline and outline width.

def body_start(f, s, w):
    return (flow_line(24, 48) + rect(16, 8, 64, 32, 16, f, s, w)
            + poly([(26, 18), (26, 30), (35, 24)], s, s, 1) + text(54, 29, "はじめ", 12, s, "bold"))


def body_end(f, s, w):
    return (flow_line(0, 24) + rect(16, 8, 64, 32, 16, f, s, w)
            + rect(25, 19, 10, 10, 1, s, s, 1) + text(54, 29, "おわり", 12, s, "bold"))


def note_glyph(x, y, colour):
    # two beamed quavers, heads at the bottom
    return (
        f'<ellipse cx="{x}" cy="{y + 10}" rx="3.2" ry="2.4" fill="{colour}" transform="rotate(-20 {x} {y + 10})"/>\n'
        f'<ellipse cx="{x + 10}" cy="{y + 8}" rx="3.2" ry="2.4" fill="{colour}" transform="rotate(-20 {x + 10} {y + 8})"/>\n'
        f'<rect x="{x + 2.2}" y="{y}" width="1.4" height="10" fill="{colour}"/>\n'
        f'<rect x="{x + 12.2}" y="{y - 2}" width="1.4" height="10" fill="{colour}"/>\n'
        f'<polygon points="{x + 2.2},{y} {x + 13.6},{y - 2} {x + 13.6},{y + 1} {x + 2.2},{y + 3}" fill="{colour}"/>\n'
    )


def body_tune(f, s, w):
    return flow_line() + rect(8, 6, 80, 36, 10, f, s, w) + note_glyph(41, 11, s)


def bulb_glyph(x, y, colour):
    rays = "".join(
        f'<line x1="{x + dx * 6.5}" y1="{y + dy * 6.5}" x2="{x + dx * 9}" y2="{y + dy * 9}" '
        f'stroke="{colour}" stroke-width="1.4" stroke-linecap="round"/>\n'
        for dx, dy in ((-1, 0), (1, 0), (-0.7, -0.7), (0.7, -0.7), (0, -1))
    )
    return rays + f'<circle cx="{x}" cy="{y}" r="4.2" fill="#ffca28" stroke="{colour}" stroke-width="1.2"/>\n'


def body_output(f, s, w):
    return flow_line() + rect(8, 6, 80, 36, 2, f, s, w) + bulb_glyph(48, 16, s)


def clock_glyph(x, y, colour):
    return (
        f'<circle cx="{x}" cy="{y}" r="9" fill="#ffffff" stroke="{colour}" stroke-width="1.6"/>\n'
        f'<line x1="{x}" y1="{y}" x2="{x}" y2="{y - 6}" stroke="{colour}" stroke-width="1.6" stroke-linecap="round"/>\n'
        f'<line x1="{x}" y1="{y}" x2="{x + 4.5}" y2="{y + 2}" stroke="{colour}" stroke-width="1.6" stroke-linecap="round"/>\n'
    )


def body_wait(f, s, w):
    return (flow_line() + rect(8, 6, 80, 36, 2, f, s, w) + clock_glyph(23, 24, s)
            + text(72, 38, "秒", 11, s))


def body_variable(f, s, w):
    return (flow_line() + rect(8, 6, 80, 36, 2, f, s, w)
            + f'<rect x="13" y="6" width="1.6" height="36" fill="{s}"/>\n'
            + f'<rect x="81.4" y="6" width="1.6" height="36" fill="{s}"/>\n'
            + text(48, 19, "変数", 9, s, "bold"))


def body_goto(f, s, w):
    return (flow_line() + poly([(8, 8), (74, 8), (90, 25), (74, 42), (8, 42)], f, s, w)
            + text(40, 19, "GOTO", 9, s, "bold") + text(56, 37, "へ", 11, s))


def depth_badge(x, y, depth, colour):
    return (f'<circle cx="{x}" cy="{y}" r="6" fill="{colour}"/>\n'
            + text(x, y + 3.5, str(depth), 10, "#ffffff", "bold"))


def loop_arrow(x, y, colour):
    return (
        f'<path d="M {x + 6} {y} A 6 6 0 1 1 {x} {y - 6}" fill="none" stroke="{colour}" '
        f'stroke-width="1.8" stroke-linecap="round"/>\n'
        + poly([(x - 1, y - 9.5), (x + 4, y - 6), (x - 1, y - 2.5)], colour, colour, 0.8)
    )


def body_loop_in(depth):
    def draw(f, s, w):
        return (flow_line() + poly([(22, 6), (74, 6), (88, 18), (88, 42), (8, 42), (8, 18)], f, s, w)
                + loop_arrow(22, 29, s) + text(64, 36, "回", 11, s) + depth_badge(80, 31, depth, s)
                + text(48, 17, "くりかえし", 8, s))
    return draw


def body_loop_out(depth):
    def draw(f, s, w):
        return (flow_line() + poly([(8, 6), (88, 6), (88, 30), (74, 42), (22, 42), (8, 30)], f, s, w)
                + text(46, 29, "もどる", 11, s, "bold") + depth_badge(80, 18, depth, s))
    return draw


DIAMOND = [(48, 2), (88, 25), (48, 48), (8, 25)]


def body_branch(channel):
    def draw(f, s, w):
        return flow_line() + poly(DIAMOND, f, s, w) + text(48, 19, f"入力{channel}", 9, s, "bold")
    return draw


def body_compare(f, s, w):
    return (flow_line() + poly(DIAMOND, f, s, w) + text(48, 14, "比較", 8, s, "bold")
            + text(28, 30, "入力1", 9, s) + text(67, 30, "入力2", 9, s))


def body_var_compare(f, s, w):
    return flow_line() + poly(DIAMOND, f, s, w) + text(48, 41, "変数", 8, s, "bold")


SYMBOLS = {
    "S_START": ("start", body_start),
    "S_END": ("end", body_end),
    "S_TASK": ("tune", body_tune),
    "S_TASK2": ("output", body_output),
    "S_WAIT": ("wait", body_wait),
    "S_LOOPIN": ("loop1", body_loop_in(1)),
    "S_LOOPIN2": ("loop2", body_loop_in(2)),
    "S_LOOPIN3": ("loop3", body_loop_in(3)),
    "S_LOOPOUT": ("loop1", body_loop_out(1)),
    "S_LOOPOUT2": ("loop2", body_loop_out(2)),
    "S_LOOPOUT3": ("loop3", body_loop_out(3)),
    "S_BLANCH1": ("branch", body_branch(1)),
    "S_BLANCH2": ("branch", body_branch(2)),
    "S_BLANCH3": ("branch", body_branch(3)),
    "S_BLANCH": ("compare", body_compare),
    "S_BLANCHA": ("variable", body_var_compare),
    "S_ACCM": ("variable", body_variable),
    "S_GOTO": ("goto", body_goto),
}


def write_symbols():
    for name, (family, draw) in SYMBOLS.items():
        fill, outline = COLOURS[family]
        white = '<rect width="96" height="48" fill="#ffffff"/>\n'
        write(name, 96, 48, white + draw(fill, outline, 2))
        # The highlighted twin keeps every line in place so hovering never shifts anything.
        write(f"{name}_S", 96, 48, white + draw(HIGHLIGHT, outline, 3.2))


# ---------------------------------------------------------------- tool buttons

def button_frame(w, h):
    return rect(0.75, 0.75, w - 1.5, h - 1.5, 5, "#fbfbf8", "#9aa7ad", 1.5)


def tool_shape(shape, f, s):
    if shape == "terminal":
        return rect(5, 5, 50, 20, 10, f, s, 1.5)
    if shape == "rect":
        return rect(5, 5, 50, 20, 2, f, s, 1.5)
    if shape == "rounded":
        return rect(5, 5, 50, 20, 6, f, s, 1.5)
    if shape == "decision":
        return poly([(3, 15), (13, 4.5), (47, 4.5), (57, 15), (47, 25.5), (13, 25.5)], f, s, 1.5)
    if shape == "loop":
        return poly([(11, 4.5), (49, 4.5), (56, 11), (56, 25.5), (4, 25.5), (4, 11)], f, s, 1.5)
    if shape == "arrow":
        return poly([(4, 5), (46, 5), (57, 15), (46, 25), (4, 25)], f, s, 1.5)
    if shape == "process":
        return (rect(5, 5, 50, 20, 2, f, s, 1.5)
                + f'<rect x="9" y="5" width="1.2" height="20" fill="{s}"/>\n'
                + f'<rect x="49.8" y="5" width="1.2" height="20" fill="{s}"/>\n')
    raise ValueError(shape)


# name -> (family, shape, label, font size); TASK..LOOP and SCRDEL sit on the toolbar
# background, the others serve the tools that have no toolbar place of their own.
TOOLS = {
    "TASK": ("tune", "rounded", "オルゴール", 9),
    "TASK2": ("output", "rect", "出力", 11),
    "GOTO": ("goto", "arrow", "GOTO", 10),
    "WAIT": ("wait", "rect", "待機", 11),
    "BLANCH": ("branch", "decision", "分岐", 11),
    "LOOP": ("loop1", "loop", "繰り返し", 9),
    "EXTOUT": ("output", "rect", "拡張出力", 9),
    "COMPARE": ("compare", "decision", "比較", 11),
    "VARA": ("variable", "process", "変数A", 10),
    "VARB": ("variable", "process", "変数B", 10),
    "VARCMP": ("variable", "decision", "変数比較", 9),
}


def write_tool_buttons():
    for name, (family, shape, label, size) in TOOLS.items():
        fill, outline = COLOURS[family]
        body = button_frame(60, 30) + tool_shape(shape, fill, outline)
        body += text(30, 15 + size * 0.36, label, size, outline, "bold")
        write(name, 60, 30, body)
    fill, outline = COLOURS["delete"]
    body = button_frame(60, 30) + rect(5, 5, 50, 20, 6, fill, outline, 1.5)
    body += (f'<path d="M 11 10 L 19 20 M 19 10 L 11 20" stroke="{outline}" stroke-width="2.4" '
             f'stroke-linecap="round"/>\n')
    body += text(37, 19, "削除", 11, outline, "bold")
    write("SCRDEL", 60, 30, body)


def write_toolbar_background():
    # Pure white is the transparent colour of this picture: the corners stay white.
    body = '<rect width="164" height="412" fill="#ffffff"/>\n'
    # The toolbar window shows the top 320 pixels: the frame ends inside them.
    body += rect(2, 2, 160, 314, 12, "#eef6e4", "#a5c98a", 2)
    body += rect(8, 8, 148, 30, 8, "#d9ecc8", "none", 0)
    body += text(82, 29, "きごうを えらんでね", 12, "#33691e", "bold")
    body += f'<line x1="81" y1="46" x2="81" y2="308" stroke="#cfe3bd" stroke-width="1.5" stroke-dasharray="4 4"/>\n'
    body += text(120, 264, "けす", 9, "#b71c1c", "bold")
    write("TBBK", 164, 412, body)


# ---------------------------------------------------------------- board buttons

def board_button(name, fill, outline, glyph, label, size=11):
    body = rect(0.75, 0.75, 48.5, 28.5, 6, fill, outline, 1.5)
    body += '<rect x="3" y="2.5" width="44" height="9" rx="4" fill="#ffffff" opacity="0.25"/>\n'
    body += glyph + text(34, 15 + size * 0.36, label, size, "#ffffff", "bold")
    write(name, 50, 30, body)


def write_board_buttons():
    board_button("PICREC", "#1e88e5", "#0d47a1",
                 '<rect x="7" y="19" width="14" height="6" rx="1.5" fill="#ffffff"/>\n'
                 + poly([(10, 7), (18, 7), (18, 12), (21, 12), (14, 18), (7, 12), (10, 12)], "#ffffff", "#ffffff", 0.5),
                 "転送")
    board_button("PICPLAY", "#43a047", "#1b5e20",
                 poly([(8, 8), (8, 22), (20, 15)], "#ffffff", "#ffffff", 1), "実行")
    board_button("PICSTOP", "#e53935", "#b71c1c",
                 rect(8, 9, 12, 12, 1.5, "#ffffff", "#ffffff", 0.5), "停止")
    board_button("AUTOOFF", "#90a4ae", "#546e7a",
                 '<circle cx="12" cy="15" r="5" fill="#cfd8dc" stroke="#ffffff" stroke-width="1.5"/>\n',
                 "OFF", 10)
    board_button("AUTOON", "#fb8c00", "#e65100",
                 '<circle cx="12" cy="15" r="5" fill="#ffeb3b" stroke="#ffffff" stroke-width="1.5"/>\n',
                 "ON", 11)
    # The two auto buttons share one place; a small caption says what they are about.
    for name in ("AUTOOFF", "AUTOON"):
        path = os.path.join(HERE, f"{name}.svg")
        with open(path, encoding="utf-8") as f:
            content = f.read()
        content = content.replace("</svg>", text(34, 9, "AUTO", 6.5, "#ffffff", "bold") + "</svg>")
        with open(path, "w", encoding="utf-8") as f:
            f.write(content)


# ---------------------------------------------------------------- cursors and icons

ARROW = [(1, 1), (1, 20), (6, 15.5), (9.5, 23), (12.5, 21.7), (9, 14.5), (15, 14.5)]


def cursor(name, badge):
    # Hot spot at (1, 1), the tip of the arrow.
    body = poly(ARROW, "#ffffff", "#000000", 1.3) + badge
    write(name, 32, 32, body)


def write_cursors():
    cursor("CURDEL", '<circle cx="23" cy="23" r="7.5" fill="#e53935" stroke="#ffffff" stroke-width="1.5"/>\n'
           '<path d="M 19.5 19.5 L 26.5 26.5 M 26.5 19.5 L 19.5 26.5" stroke="#ffffff" stroke-width="2.2" stroke-linecap="round"/>\n')
    cursor("CURINS", '<circle cx="23" cy="23" r="7.5" fill="#43a047" stroke="#ffffff" stroke-width="1.5"/>\n'
           '<path d="M 23 18.5 L 23 27.5 M 18.5 23 L 27.5 23" stroke="#ffffff" stroke-width="2.4" stroke-linecap="round"/>\n')
    cursor("CURLIN", poly([(23, 15), (31, 23), (23, 31), (15, 23)], "#00acc1", "#ffffff", 1.5)
           + '<path d="M 23 19.5 L 23 26.5 M 19.5 23 L 26.5 23" stroke="#ffffff" stroke-width="2" stroke-linecap="round"/>\n')
    cursor("CURLEND", '<circle cx="23" cy="23" r="7.5" fill="#fb8c00" stroke="#ffffff" stroke-width="1.5"/>\n'
           '<circle cx="23" cy="23" r="3.6" fill="none" stroke="#ffffff" stroke-width="1.6"/>\n'
           '<circle cx="23" cy="23" r="1.2" fill="#ffffff"/>\n')


def icon_body(size):
    k = size / 64
    def sc(points):
        return [(x * k, y * k) for x, y in points]
    body = rect(2 * k, 2 * k, 60 * k, 60 * k, 12 * k, "#eef6e4", "#7cb342", 3 * k)
    body += f'<rect x="{31 * k}" y="{12 * k}" width="{2 * k}" height="{40 * k}" fill="{INK}"/>\n'
    body += rect(18 * k, 7 * k, 28 * k, 11 * k, 5.5 * k, COLOURS["start"][0], COLOURS["start"][1], 2 * k)
    body += rect(16 * k, 23 * k, 32 * k, 12 * k, 2 * k, COLOURS["loop1"][0], COLOURS["loop1"][1], 2 * k)
    body += poly(sc([(32, 39), (48, 47), (32, 55), (16, 47)]), COLOURS["branch"][0], COLOURS["branch"][1], 2 * k)
    body += f'<path d="M {48 * k} {47 * k} L {55 * k} {47 * k} L {55 * k} {29 * k} L {50 * k} {29 * k}" fill="none" stroke="{INK}" stroke-width="{2 * k}"/>\n'
    body += poly(sc([(48.5, 29), (52.5, 26), (52.5, 32)]), INK, INK, 0.5 * k)
    return body


def write_icons():
    write("STEPCRAFT_ICON", 64, 64, icon_body(64))
    write("STEPCRAFT_ICON_SMALL", 16, 16, icon_body(16))


# ---------------------------------------------------------------- the simulation

RUNNING = "#1e88e5"


def write_simulation():
    # The breakpoint mark beside a step number, and the arrow at the step being run.
    write("S_BREAK", 14, 14, '<circle cx="7" cy="7" r="5.6" fill="#e53935" stroke="#b71c1c" stroke-width="1.4"/>\n')
    write("S_RUNNING", 14, 14, poly([(2, 1.5), (12.5, 7), (2, 12.5)], RUNNING, "#0d47a1", 1.2))
    # The panel's buttons: the glyphs media players use, in the board buttons' colours.
    write("SIMRUN", 20, 20, poly([(5, 3), (5, 17), (17, 10)], "#43a047", "#1b5e20", 1.2))
    write("SIMPAUSE", 20, 20, rect(4, 3, 4.5, 14, 1, "#fb8c00", "#e65100", 1)
          + rect(11.5, 3, 4.5, 14, 1, "#fb8c00", "#e65100", 1))
    write("SIMSTEP", 20, 20, poly([(3, 3), (3, 17), (13, 10)], RUNNING, "#0d47a1", 1.2)
          + rect(14, 3, 3.5, 14, 1, RUNNING, "#0d47a1", 1))
    write("SIMSTOP", 20, 20, rect(4, 4, 12, 12, 1.5, "#e53935", "#b71c1c", 1.2))


def write_other():
    write("S_BLANK1", 460, 48, '<rect width="460" height="48" fill="#ffffff"/>\n')
    write("S_CIRCLE", 30, 30, '<rect width="30" height="30" fill="#ffffff"/>\n'
          '<circle cx="15" cy="15" r="13.5" fill="#ffffff" stroke="#000000" stroke-width="2"/>\n')


if __name__ == "__main__":
    write_symbols()
    write_tool_buttons()
    write_toolbar_background()
    write_board_buttons()
    write_cursors()
    write_icons()
    write_other()
    write_simulation()
