"""Images of the Vortan editor (800 x 312): a black tolex cabinet with a
blue-grey grille and a chrome name badge above an anodised, brushed
blue-steel face with skirted knobs, push buttons and indicator lamps."""

import math

import cairo

import controls
from materials import (bevel, brushed_metal, film_strip, grille_cloth, knob_angle, led, led_halo,
                       paint_surface, rounded_rect, scale_ticks, screw, text, tolex)

WHITE = (0.94, 0.94, 0.92, 1.0)
DIM = (0.72, 0.76, 0.82, 1.0)
ENGRAVE = (0.0, 0.0, 0.0, 0.6)
GREEN = (0.20, 0.95, 0.35)
RED = (1.0, 0.18, 0.12)
AMBER = (1.0, 0.60, 0.10)
BLUE = (0.25, 0.60, 1.0)

KNOB_R = 20.0
# Knob rectangles' top-left corners (62 x 62) with the legend under or between rows.
ROW_B = 153
ROW_A = 215
TONE_X = [(192, "DRIVE"), (320, "LOW"), (373, "MID"), (426, "HIGH"), (479, "CONTOUR")]
SWITCH_X = [(547, "FOCUS"), (579, "BOTTOM"), (611, "BRIGHT")]


def knob_strip(size=62, frames=151, r=KNOB_R):
    """2: 151 frames of 62 x 62."""
    def draw(ctx, k):
        c = size / 2.0
        controls.skirted_knob(ctx, c, c, r, knob_angle(k, frames), cap=(0.80, 0.81, 0.83))
    return film_strip(size, size, frames, draw)


def switch():
    """4: 15 x 18 off (above) and on (below)."""
    def draw(ctx, k):
        controls.toggle_button(ctx, 0.5, 2, 14, 14, on=(k == 1), cap=(0.84, 0.85, 0.87))
    return film_strip(15, 18, 2, draw)


def two_lamp(w, h, y_top, y_bottom, colour, r):
    """Two lamps in one image: the lower one lit when off, the upper one when
    on. What lies between them stays transparent."""
    def draw(ctx, k):
        for lit, cy in ((k == 1, y_top), (k == 0, y_bottom)):
            if lit:
                led_halo(ctx, w / 2.0, cy, r, colour)
            led(ctx, w / 2.0, cy, r * 0.92, colour, lit)
    return film_strip(w, h, 2, draw)


def small_lamp(colour):
    """9: 16 x 16, unlit and lit."""
    return film_strip(16, 16, 2, controls.lamp_frames(16, 16, colour))


def single(colour, lit):
    """5 and 6: one 16 x 16 lamp picture."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, 16, 16)
    ctx = cairo.Context(surface)
    controls.lamp_frames(16, 16, colour)(ctx, 1 if lit else 0)
    return surface


def background():
    """1: the 800 x 312 panel."""
    w, h = 800, 312
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(surface)
    paint_surface(ctx, tolex(w, h, (0.075, 0.075, 0.08), seed=7), 0, 0)
    bevel(ctx, 0, 0, w, h, 10, width=2.0, light=0.18, dark=0.6)

    # Grille band with a chrome frame.
    gx, gy, gw, gh = 18, 16, 764, 110
    ctx.save()
    rounded_rect(ctx, gx, gy, gw, gh, 8)
    ctx.clip()
    paint_surface(ctx, grille_cloth(gw, gh, (0.20, 0.23, 0.28), seed=9, pitch=3), gx, gy)
    vignette = cairo.RadialGradient(w / 2, gy + gh * 0.3, 60, w / 2, gy + gh / 2, w * 0.55)
    vignette.add_color_stop_rgba(0.0, 0, 0, 0, 0.0)
    vignette.add_color_stop_rgba(1.0, 0, 0, 0, 0.6)
    ctx.set_source(vignette)
    ctx.paint()
    ctx.restore()
    rounded_rect(ctx, gx - 2, gy - 2, gw + 4, gh + 4, 9)
    chrome = cairo.LinearGradient(0, gy - 2, 0, gy + gh + 2)
    chrome.add_color_stop_rgb(0.0, 0.92, 0.92, 0.93)
    chrome.add_color_stop_rgb(0.5, 0.45, 0.46, 0.48)
    chrome.add_color_stop_rgb(1.0, 0.80, 0.80, 0.82)
    ctx.set_source(chrome)
    ctx.set_line_width(2.5)
    ctx.stroke()

    # Name badge: brushed aluminium plate, black inlay lettering.
    bw, bh = 230, 46
    bx, by = (w - bw) / 2.0, gy + (gh - bh) / 2.0
    ctx.save()
    rounded_rect(ctx, bx + 2, by + 3, bw, bh, 6)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    rounded_rect(ctx, bx, by, bw, bh, 6)
    ctx.clip()
    paint_surface(ctx, brushed_metal(bw, bh, (0.78, 0.79, 0.80), seed=31, streak=0.05), bx, by)
    ctx.restore()
    bevel(ctx, bx, by, bw, bh, 6, width=1.5, light=0.7, dark=0.6)
    text(ctx, "VORTAN", w / 2, by + 33, 28, (0.08, 0.09, 0.11, 1), spacing=7,
         shadow=(0, 1, (1, 1, 1, 0.5)))
    for sx in (bx + 10, bx + bw - 10):
        screw(ctx, sx, by + bh / 2, 3.0, slot_angle=0.9)
    text(ctx, "v1.1", gx + gw - 16, gy + gh - 10, 9, (0.80, 0.82, 0.86, 0.75), align="right")

    # Face plate.
    fx, fy, fw, fh = 14, 136, 772, 162
    ctx.save()
    rounded_rect(ctx, fx, fy, fw, fh, 6)
    ctx.clip()
    paint_surface(ctx, brushed_metal(fw, fh, (0.17, 0.205, 0.26), seed=13), fx, fy)
    ctx.restore()
    bevel(ctx, fx, fy, fw, fh, 6, width=1.5, light=0.35, dark=0.7)
    for sx, sy in ((fx + 9, fy + 9), (fx + fw - 9, fy + 9), (fx + 9, fy + fh - 9),
                   (fx + fw - 9, fy + fh - 9)):
        screw(ctx, sx, sy, 4.0, slot_angle=0.3 + sx * 0.013)

    def legend(s, x, y, size=7.0, align="center", colour=WHITE, spacing=0.4):
        text(ctx, s, x, y, size, colour, align=align, spacing=spacing, shadow=(0, 1, ENGRAVE))

    def ticks(cx, cy):
        scale_ticks(ctx, cx, cy, KNOB_R + 2.5, KNOB_R + 5.5, 11, (0.90, 0.92, 0.95, 0.8), width=1.0)

    # Channel rows: B above, A below; shared legends between them.
    for x, name in TONE_X:
        ticks(x + 31, ROW_B + 31)
        ticks(x + 31, ROW_A + 31)
        legend(name, x + 31, 218.5, size=7.5)
    for x, name in SWITCH_X:
        legend(name, x + 7.5, 219.5, size=6.3, spacing=0.2)
    # Row headers.
    legend("CHANNEL B", 192, 150, size=7.5, align="left", colour=DIM, spacing=1.2)
    legend("LOW / HIGH GAIN", 300, 150, size=6.5, align="left", colour=DIM, spacing=0.8)
    legend("CHANNEL A", 192, 289, size=7.5, align="left", colour=DIM, spacing=1.2)
    legend("CLEAN / CRUNCH", 300, 289, size=6.5, align="left", colour=DIM, spacing=0.8)
    # Input and volume.
    ticks(80, 216)
    legend("INPUT", 80, 262, size=8)
    ticks(663, 216)
    legend("VOLUME", 663, 262, size=8)

    # Channel selector: lamp B at 184..200, lamp A at 230..246 beside x 162..178.
    legend("B", 155, 195, size=8, colour=DIM)
    legend("A", 155, 241, size=8, colour=DIM)
    legend("CHANNEL", 170, 259, size=6.3, spacing=0.2)
    # Gain mode, clean/crunch, mono/stereo and quality lamps: upper = on.
    legend("HIGH", 288, 182, size=6.5, align="left")
    legend("LOW", 288, 198, size=6.5, align="left")
    legend("CRUNCH", 288, 244, size=6.5, align="left")
    legend("CLEAN", 288, 260, size=6.5, align="left")
    legend("STEREO", 727, 182, size=6.5, align="left")
    legend("MONO", 727, 198, size=6.5, align="left")
    legend("HIGH Q", 727, 244, size=6.5, align="left")
    legend("LOW Q", 727, 260, size=6.5, align="left")
    return surface


def images():
    """(id, surface, frames) of every Vortan image."""
    return [
        (1, background(), 1),
        (2, knob_strip(), 151),
        (3, knob_strip(33, 101, 11.5), 101),
        (4, switch(), 2),
        (5, single(RED, False), 1),
        (6, single(RED, True), 1),
        (7, two_lamp(16, 62, 8, 54, GREEN, 7.5), 2),
        (8, two_lamp(16, 32, 8, 24, RED, 7.5), 2),
        (9, small_lamp(AMBER), 2),
        (10, two_lamp(16, 32, 8, 24, BLUE, 7.5), 2),
    ]


# Control rectangles (left, top) with image id, for the assembled view.
CONTROLS = [
    (2, 49, 185), (4, 162, 208), (7, 162, 184), (4, 253, 238), (8, 268, 231),
    (2, 192, 215), (2, 320, 215), (2, 373, 215), (2, 426, 215), (2, 479, 215),
    (4, 547, 228), (4, 579, 228), (4, 611, 228), (9, 547, 245), (9, 579, 245), (9, 611, 245),
    (4, 253, 177), (8, 268, 169),
    (2, 192, 153), (2, 320, 153), (2, 373, 153), (2, 426, 153), (2, 479, 153),
    (4, 547, 188), (4, 579, 188), (4, 611, 188), (9, 547, 168), (9, 579, 168), (9, 611, 168),
    (2, 632, 185), (4, 693, 238), (10, 708, 231), (4, 693, 176), (8, 708, 169),
]


def assembled(items):
    from assemble import assemble
    by_id = {rid: (s, n) for rid, s, n in items}
    places = []
    for i, (rid, x, y) in enumerate(CONTROLS):
        surface, frames = by_id[rid]
        k = (i * 37 + 20) % frames if frames > 2 else (i * 7 // 3) % 2
        places.append((surface, frames, k, x, y))
    return assemble((800, 312), by_id[1][0], places)
