#!/usr/bin/env python3
"""Draws every picture under resources/icons with ImageMagick's convert.

The PNGs are committed, so building the program never needs this script; run
it after changing a drawing:  python3 resources/tools/make-icons.py
"""

import math
import os
import random
import subprocess
import sys

ICONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icons")

INK = "#3c3c3c"
SCREEN = "#1f2a38"
TRACE = "#4fd16b"
BLUE = "#1692e5"
GREEN = "#2fa84f"
RED = "#e04e4e"
ORANGE = "#f9a94c"
GREY = "#9a9a9a"

# Sizes of the multimeter display's range arrows (each picture is 2N x N).
RANGE_SIZES = [12, 14, 16, 20, 24, 28, 32, 40, 48, 56, 64, 72]
# Trigger marker names; each comes in green ("g") and red ("r").
TRIGGER_MARKERS = ["rising", "falling", "dual", "positive", "negative", "window1", "window2"]


def pts(points):
    return " ".join("%g,%g" % (round(x, 2), round(y, 2)) for x, y in points)


def stroke(color, width=1.5):
    return ["-fill", "none", "-stroke", color, "-strokewidth", str(width)]


def fill(color):
    return ["-stroke", "none", "-fill", color]


def polyline(points):
    return ["-draw", "polyline " + pts(points)]


def polygon(points):
    return ["-draw", "polygon " + pts(points)]


def line(x1, y1, x2, y2):
    return ["-draw", "line %g,%g %g,%g" % (x1, y1, x2, y2)]


def circle(cx, cy, r):
    return ["-draw", "circle %g,%g %g,%g" % (cx, cy, cx + r, cy)]


def rect(x1, y1, x2, y2):
    return ["-draw", "rectangle %g,%g %g,%g" % (x1, y1, x2, y2)]


def roundrect(x1, y1, x2, y2, r):
    return ["-draw", "roundrectangle %g,%g %g,%g %g,%g" % (x1, y1, x2, y2, r, r)]


def text(t, size, color, gravity="center", dx=0, dy=0, font="DejaVu-Sans-Bold"):
    return ["-font", font, "-pointsize", str(size), "-stroke", "none", "-fill", color,
            "-gravity", gravity, "-annotate", "%+d%+d" % (dx, dy), t, "-gravity", "NorthWest"]


def save(name, width, height, ops):
    path = os.path.join(ICONS, name)
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "xc:none", *ops,
                    "-strip", "-define", "png:exclude-chunks=date,time", "PNG32:" + path],
                   check=True)


def curve(f, x0, x1, steps=48):
    return [(x0 + (x1 - x0) * i / steps, f(x0 + (x1 - x0) * i / steps)) for i in range(steps + 1)]


def sine(x0, x1, yc, amp, periods):
    return curve(lambda x: yc - amp * math.sin(2 * math.pi * periods * (x - x0) / (x1 - x0)), x0, x1)


def arrow_head(x, y, direction, size):
    """A filled triangle whose tip is at (x, y), pointing up, down, left or right."""
    s = size
    if direction == "up":
        return polygon([(x, y), (x - s, y + s * 1.3), (x + s, y + s * 1.3)])
    if direction == "down":
        return polygon([(x, y), (x - s, y - s * 1.3), (x + s, y - s * 1.3)])
    if direction == "left":
        return polygon([(x, y), (x + s * 1.3, y - s), (x + s * 1.3, y + s)])
    return polygon([(x, y), (x - s * 1.3, y - s), (x - s * 1.3, y + s)])


# --- application pictures -------------------------------------------------

def app_icon(size):
    k = size / 48.0
    ops = fill(SCREEN) + roundrect(1 * k, 1 * k, 46 * k, 46 * k, 8 * k)
    ops += stroke("#3b4a5e", max(1, k)) + line(24 * k, 6 * k, 24 * k, 42 * k) + line(6 * k, 24 * k, 42 * k, 24 * k)
    ops += stroke(TRACE, 3 * k) + polyline(sine(6 * k, 42 * k, 24 * k, 12 * k, 1.5))
    return ops


def app_name():
    ops = text("Vesk", 22, SCREEN, "SouthEast", 2, 6)
    ops += stroke(TRACE, 2) + polyline(sine(10, 70, 43, 2.5, 3))
    return ops


# --- settings page list (32 x 32) -----------------------------------------

def item_oscilloscope():
    return (fill(SCREEN) + roundrect(1, 4, 30, 27, 4)
            + stroke(TRACE, 2) + polyline(sine(4, 28, 15.5, 7, 1.5)))


def item_multimeter():
    return (fill(INK) + roundrect(5, 1, 26, 30, 4) + fill("#cde8d0") + rect(8, 4, 23, 13)
            + text("8.8", 9, SCREEN, "North", 0, 3, "DejaVu-Sans-Mono-Bold")
            + stroke("#e0e0e0", 2) + circle(15.5, 22, 4.5) + line(15.5, 22, 18.5, 19))


def item_global():
    return (stroke(BLUE, 2) + circle(16, 16, 13) + ["-draw", "ellipse 16,16 6,13 0,360"]
            + line(3, 16, 29, 16) + line(16, 3, 16, 29) + polyline(curve(lambda x: 9, 6, 26, 2))
            + polyline(curve(lambda x: 23, 6, 26, 2)))


def item_console():
    return (fill("#202020") + roundrect(1, 4, 30, 27, 4)
            + stroke(TRACE, 2.5) + polyline([(6, 10), (12, 15.5), (6, 21)]) + line(15, 21.5, 24, 21.5))


def item_unknown():
    return fill(GREY) + circle(16, 16, 14) + text("?", 20, "white")


# --- menus and tool buttons (16 x 16) -------------------------------------

def gear(cx, cy, outer, inner, teeth):
    points = []
    for i in range(teeth * 4):
        angle = 2 * math.pi * i / (teeth * 4)
        r = outer if i % 4 in (0, 1) else inner
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return points


def menu_settings():
    return fill("#5a5a5a") + polygon(gear(8, 8, 7.5, 5.5, 8)) + fill("white") + circle(8, 8, 2.3)


def menu_openfile():
    return (fill("#c98a1e") + polygon([(1, 3), (6, 3), (7.5, 5), (15, 5), (15, 14), (1, 14)])
            + fill("#f0b44a") + polygon([(3, 7), (15.5, 7), (14, 14), (1, 14)]))


def menu_clear():
    return (fill("white") + stroke(INK, 1) + rect(2.5, 1.5, 12.5, 14.5)
            + stroke(RED, 2) + line(5, 5, 15, 15) + line(15, 5, 5, 15))


def menu_console():
    return (fill("#202020") + roundrect(0.5, 1.5, 15.5, 14.5, 2)
            + stroke(TRACE, 1.5) + polyline([(3, 5), (6, 8), (3, 11)]) + line(8, 11.5, 12.5, 11.5))


def menu_exit():
    return (stroke(RED, 2) + ["-draw", "arc 2.5,2.5 13.5,13.5 -60,240"]
            + line(8, 1, 8, 8))


def ico_save():
    return (fill(BLUE) + polygon([(1, 1), (12.5, 1), (15, 3.5), (15, 15), (1, 15)])
            + fill("white") + rect(4, 9, 12, 15) + fill("#0d5f99") + rect(4, 1, 11, 5.5))


def ico_screenshot():
    return (fill(INK) + roundrect(1, 4, 15, 14, 2) + rect(5, 2, 10, 4)
            + fill("white") + circle(8, 9, 3.3) + fill(INK) + circle(8, 9, 1.8))


def ico_record(active):
    if active:
        return fill("#ff2020") + circle(8, 8, 6.5) + fill("#ff9090") + circle(6, 6, 1.5)
    return stroke("#b03a3a", 2) + circle(8, 8, 6) + fill("#b03a3a") + circle(8, 8, 2.5)


def led(on):
    body, rim = ("#2fc14f", "#1d7a32") if on else ("#a8a8a8", "#5a5a5a")
    return (fill(rim) + circle(8, 8, 7) + fill(body) + circle(8, 8, 5.6)
            + fill("#ffffffb0") + circle(6, 6, 1.8))


def fold(expanded):
    if expanded:
        return fill("#505050") + polygon([(3, 5), (13, 5), (8, 12)])
    return fill("#505050") + polygon([(5, 3), (12, 8), (5, 13)])


# --- oscilloscope controls (16 x 16) --------------------------------------

def edge(kind):
    ops = stroke(INK, 1.5)
    if kind == "rising":
        ops += polyline([(1, 13), (8, 13), (8, 3), (15, 3)]) + fill(GREEN) + arrow_head(8, 5, "up", 3)
    elif kind == "falling":
        ops += polyline([(1, 3), (8, 3), (8, 13), (15, 13)]) + fill(RED) + arrow_head(8, 11, "down", 3)
    else:
        ops += polyline([(0, 13), (4.5, 13), (4.5, 3), (11.5, 3), (11.5, 13), (16, 13)])
        ops += fill(GREEN) + arrow_head(4.5, 5, "up", 2.5) + fill(RED) + arrow_head(11.5, 11, "down", 2.5)
    return ops


def slope(positive):
    ops = stroke(INK, 1.5)
    ops += line(2, 14, 13, 3) if positive else line(2, 3, 13, 14)
    ops += stroke(GREEN if positive else RED, 1.5) + line(10, 12.5, 15, 12.5)
    if positive:
        ops += line(12.5, 10, 12.5, 15)
    return ops


def window_trigger():
    return (stroke(RED, 1) + line(0, 4, 16, 4) + line(0, 12, 16, 12)
            + stroke(INK, 1.5) + polyline(sine(0, 16, 8, 6.5, 1)))


def xy_mode():
    return (stroke(GREY, 1) + line(8, 0, 8, 16) + line(0, 8, 16, 8)
            + stroke(GREEN, 1.5) + ["-draw", "translate 8,8 rotate -35 ellipse 0,0 7,3.5 0,360"])


def roll_mode():
    return (stroke(INK, 1.5) + polyline(sine(4, 16, 9, 4.5, 1))
            + stroke(BLUE, 1.5) + line(1.5, 3, 9, 3) + fill(BLUE) + arrow_head(0.5, 3, "left", 2))


def elastic_mode():
    return (stroke("#b0b0b0", 1) + polyline(sine(0, 16, 6.5, 5, 1)) + polyline(sine(0, 16, 9.5, 5, 1))
            + stroke(GREEN, 1.8) + polyline(sine(0, 16, 8, 5, 1)))


def intensity(strong):
    return stroke(GREEN if strong else "#b9e6c4", 2.5 if strong else 1) + polyline(sine(0, 16, 8, 5, 1))


def decay(long_tail):
    ops = []
    tails = 5 if long_tail else 1
    for i in range(tails, 0, -1):
        shade = "#2fa84f%02x" % int(180 * (1 - i / (tails + 1)))
        ops += stroke(shade, 1) + polyline(sine(0, 16, 8 + i * (1.2 if long_tail else 2), 5, 1))
    return ops + stroke(GREEN, 1.8) + polyline(sine(0, 16, 8, 5, 1))


def color_gradient():
    # A horizontal rainbow bar from two stacked gradients.
    return ["(", "-size", "12x14", "gradient:#e04e4e-#1692e5", "-rotate", "-90", ")",
            "-geometry", "+1+2", "-composite"]


def wave_width(big):
    return stroke(INK, 1.5) + polyline(sine(0, 24, 8, 6, 0.5 if big else 3))


# --- plot handles and markers ---------------------------------------------

def tab_right(color, label, label_color="white"):
    return (fill(color) + polygon([(0, 0), (11, 0), (15.5, 6), (11, 12), (0, 12)])
            + text(label, 9, label_color, "West", 2, 0))


def tab_down(color, label, label_color="white"):
    return (fill(color) + polygon([(0, 0), (12, 0), (12, 11), (6, 15.5), (0, 11)])
            + text(label, 9, label_color, "North", 0, 0))


def trigger_marker(name, color):
    ops = fill(color) + circle(8, 8, 7.5) + stroke("white", 1.6)
    if name == "rising":
        ops += line(8, 13, 8, 5) + fill("white") + arrow_head(8, 2.5, "up", 3)
    elif name == "falling":
        ops += line(8, 3, 8, 11) + fill("white") + arrow_head(8, 13.5, "down", 3)
    elif name == "dual":
        ops += line(8, 5, 8, 11) + fill("white") + arrow_head(8, 1.8, "up", 2.6) + arrow_head(8, 14.2, "down", 2.6)
    elif name == "positive":
        ops += line(4, 12, 12, 4)
    elif name == "negative":
        ops += line(4, 4, 12, 12)
    elif name == "window1":
        ops += line(3.5, 4.5, 12.5, 4.5) + line(8, 12.5, 8, 8) + fill("white") + arrow_head(8, 5.5, "up", 2.5)
    else:
        ops += line(3.5, 11.5, 12.5, 11.5) + line(8, 3.5, 8, 8) + fill("white") + arrow_head(8, 10.5, "down", 2.5)
    return ops


# --- generator (wave pictures 32 x 26, sweep 28 x 16, gate 16 x 16) -------

def wave(kind):
    axis = stroke("#c0c0c0", 1) + line(1, 13, 31, 13)
    ink = stroke(INK, 2)
    if kind == "sine":
        return axis + ink + polyline(sine(2, 30, 13, 9, 1))
    if kind == "triangle":
        return axis + ink + polyline([(2, 13), (9, 4), (23, 22), (30, 13)])
    if kind == "square":
        return axis + ink + polyline([(2, 22), (2, 4), (16, 4), (16, 22), (30, 22), (30, 4)])
    if kind == "expo":
        return axis + ink + polyline(curve(lambda x: 22 - 18 * (1 - math.exp(-(x - 2) / 5)), 2, 30))
    rng = random.Random(7)
    return axis + ink + polyline([(2 + i * 1.4, 13 + rng.uniform(-9, 9)) for i in range(21)])


def sweep(kind):
    ops = stroke(INK, 1.5)
    if kind == "rising":
        return ops + polyline([(2, 14), (22, 3)]) + fill(INK) + arrow_head(26, 1, "right", 2.5)
    if kind == "falling":
        return ops + polyline([(2, 2), (22, 13)]) + fill(INK) + arrow_head(26, 15, "right", 2.5)
    return ops + polyline([(2, 14), (14, 2), (26, 14)])


def gate(kind):
    ops = stroke(INK, 1.5)
    if kind == "period":
        ops += polyline([(0, 14), (3, 14), (3, 7), (8, 7), (8, 14), (13, 14), (13, 7), (16, 7)])
        ops += stroke(BLUE, 1) + line(3, 3, 13, 3) + line(3, 1, 3, 5) + line(13, 1, 13, 5)
    else:
        ops += polyline([(0, 14), (5, 14), (5, 7), (11, 7), (11, 14), (16, 14)])
        ops += stroke(BLUE, 1) + line(5, 3, 11, 3) + line(5, 1, 5, 5) + line(11, 1, 11, 5)
    return ops


# --- multimeter display range indicators ----------------------------------

def range_arrow(n, over):
    w = 2 * n
    top, bottom = 0.15 * n, 0.85 * n
    tip, base = (top, bottom) if over else (bottom, top)
    return fill(RED) + polygon([(w / 2, tip), (w / 2 - 0.45 * n, base), (w / 2 + 0.45 * n, base)])


def range_in():
    return fill(GREEN) + roundrect(224, 152, 544, 232, 40)


def main():
    os.makedirs(ICONS, exist_ok=True)
    save("ico48.png", 48, 48, app_icon(48))
    save("ico_gimp.png", 64, 64, app_icon(64))
    save("app-name.png", 72, 48, app_name())

    save("item_oscilloscope.png", 32, 32, item_oscilloscope())
    save("item_multimeter.png", 32, 32, item_multimeter())
    save("item_global.png", 32, 32, item_global())
    save("item_console.png", 32, 32, item_console())
    save("item_unknown.png", 32, 32, item_unknown())

    save("menu_settings.png", 16, 16, menu_settings())
    save("menu_openfile.png", 16, 16, menu_openfile())
    save("menu_clear.png", 16, 16, menu_clear())
    save("menu_console.png", 16, 16, menu_console())
    save("menu_exit.png", 16, 16, menu_exit())
    save("ico-save.png", 16, 16, ico_save())
    save("ico-screenshot.png", 16, 16, ico_screenshot())
    save("ico-record.png", 16, 16, ico_record(False))
    save("ico-record-active.png", 16, 16, ico_record(True))
    save("led-on.png", 16, 16, led(True))
    save("led-off.png", 16, 16, led(False))
    save("fold.png", 16, 16, fold(False))
    save("unfold.png", 16, 16, fold(True))

    for kind in ("rising", "falling", "dual"):
        save(kind + ".png", 16, 16, edge(kind))
    save("slopepositive.png", 16, 16, slope(True))
    save("slopenegative.png", 16, 16, slope(False))
    save("window.png", 16, 16, window_trigger())
    save("xy.png", 16, 16, xy_mode())
    save("roll.png", 16, 16, roll_mode())
    save("elastic.png", 16, 16, elastic_mode())
    save("lowintense.png", 16, 16, intensity(False))
    save("veryintense.png", 16, 16, intensity(True))
    save("shortdecay.png", 16, 16, decay(False))
    save("longdecay.png", 16, 16, decay(True))
    save("colorgradient.png", 16, 16, color_gradient())
    save("wave-big.png", 24, 16, wave_width(True))
    save("wave-small.png", 24, 16, wave_width(False))

    save("HcursorCA.png", 16, 12, tab_right(BLUE, "A"))
    save("HcursorCB.png", 16, 12, tab_right(BLUE, "B"))
    save("VcursorC.png", 12, 16, tab_down(RED, ""))
    save("chan1-zero.png", 16, 12, tab_right(ORANGE, "1", SCREEN))
    save("chan2-zero.png", 16, 12, tab_right(ORANGE, "2", SCREEN))
    save("chanL-zero.png", 16, 12, tab_right(ORANGE, "L", SCREEN))
    save("chan1v-zero.png", 12, 16, tab_down(ORANGE, "1", SCREEN))
    for name in TRIGGER_MARKERS:
        save(name + "g.png", 16, 16, trigger_marker(name, GREEN))
        save(name + "r.png", 16, 16, trigger_marker(name, RED))

    for kind in ("sine", "triangle", "expo", "square", "noise"):
        save(kind + ".png", 32, 26, wave(kind))
    save("sweeprising.png", 28, 16, sweep("rising"))
    save("sweeppong.png", 28, 16, sweep("pong"))
    save("sweepfalling.png", 28, 16, sweep("falling"))
    save("period.png", 16, 16, gate("period"))
    save("pulse.png", 16, 16, gate("pulse"))

    for n in RANGE_SIZES:
        save("mmd_rangeover_%d.png" % n, 2 * n, n, range_arrow(n, True))
        save("mmd_rangebelow_%d.png" % n, 2 * n, n, range_arrow(n, False))
    save("mmd_rangein.png", 768, 384, range_in())


if __name__ == "__main__":
    sys.exit(main())
