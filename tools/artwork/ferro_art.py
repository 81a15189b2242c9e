"""Images of the Ferro editor (834 x 278): a black tolex head with a charcoal
grille, a brushed dark-steel control plate with chicken-head knobs, and a
fold-out brushed aluminium settings panel."""

import math

import cairo

import controls
from materials import (bevel, brushed_metal, film_strip, grille_cloth, knob_angle,
                       paint_surface, rounded_rect, scale_ticks, screw, text, tolex)

CREAM = (0.93, 0.90, 0.80, 1.0)
INK = (0.10, 0.10, 0.11, 1.0)
ENGRAVE = (0.0, 0.0, 0.0, 0.55)
GREEN = (0.18, 0.95, 0.30)
RED = (1.0, 0.16, 0.10)
AMBER = (1.0, 0.62, 0.12)

# Knob top-left corners (74 x 74 frames) and their labels.
KNOBS = [((46, 156), "INPUT"), ((115, 156), "OUTPUT"), ((228, 153), "PRE GAIN"),
         ((322, 154), "BASS"), ((392, 154), "MID"), ((460, 154), "TREBLE"),
         ((533, 154), "POST GAIN"), ((606, 155), "LOW END"), ((674, 155), "PRESENCE")]

PANEL_ORIGIN = (184, 8)  # where the settings panel sits in the editor


def knob_strip():
    """101: 81 frames of 74 x 74."""
    def draw(ctx, k):
        controls.chicken_head_knob(ctx, 37, 37, 24.5, knob_angle(k, 81))
    return film_strip(74, 74, 81, draw)


def bias_knob_strip():
    """114: 61 frames of 24 x 24."""
    def draw(ctx, k):
        controls.skirted_knob(ctx, 12, 12, 10.2, knob_angle(k, 61), cap=(0.70, 0.71, 0.72))
    return film_strip(24, 24, 61, draw)


def white_button():
    """100: 2 frames of 24 x 24, off and on (pressed in, amber dot)."""
    def draw(ctx, k):
        controls.toggle_button(ctx, 1, 1, 22, 22, on=(k == 1))
        if k == 1:
            grad = cairo.RadialGradient(12, 12, 0, 12, 12, 3.2)
            grad.add_color_stop_rgba(0.0, 1.0, 0.85, 0.5, 1.0)
            grad.add_color_stop_rgba(0.6, *AMBER, 0.95)
            grad.add_color_stop_rgba(1.0, *AMBER, 0.0)
            ctx.arc(12, 12, 3.2, 0, 2 * math.pi)
            ctx.set_source(grad)
            ctx.fill()
    return film_strip(24, 24, 2, draw)


def small_button():
    """112: 2 frames of 12 x 12, off and on (lit amber)."""
    def draw(ctx, k):
        rounded_rect(ctx, 0.5, 0.5, 11, 11, 2)
        ctx.set_source_rgba(0.05, 0.05, 0.05, 1)
        ctx.fill()
        if k == 1:
            grad = cairo.RadialGradient(5.2, 5.0, 0.5, 6, 6, 6)
            grad.add_color_stop_rgb(0.0, 1.0, 0.90, 0.60)
            grad.add_color_stop_rgb(0.5, *AMBER)
            grad.add_color_stop_rgb(1.0, 0.55, 0.28, 0.02)
        else:
            grad = cairo.LinearGradient(2, 2, 8, 11)
            grad.add_color_stop_rgb(0.0, 0.50, 0.50, 0.48)
            grad.add_color_stop_rgb(1.0, 0.20, 0.20, 0.19)
        rounded_rect(ctx, 2, 2, 8, 8, 1.5)
        ctx.set_source(grad)
        ctx.fill()
        rounded_rect(ctx, 2.5, 2.5, 7, 7, 1.2)
        ctx.set_source_rgba(1, 1, 1, 0.45 if k == 1 else 0.3)
        ctx.set_line_width(0.6)
        ctx.stroke()
    return film_strip(12, 12, 2, draw)


def arrow_button():
    """111: 2 frames of 60 x 10: the tab that opens (arrow down) and closes
    (arrow up) the settings panel."""
    def draw(ctx, k):
        ctx.new_path()
        ctx.move_to(0.5, 0)
        ctx.line_to(59.5, 0)
        ctx.line_to(59.5, 6)
        ctx.arc(55.5, 6, 3.5, 0, math.pi / 2)
        ctx.line_to(4.5, 9.5)
        ctx.arc(4.5, 6, 3.5, math.pi / 2, math.pi)
        ctx.close_path()
        grad = cairo.LinearGradient(0, 0, 0, 10)
        grad.add_color_stop_rgb(0.0, 0.30, 0.30, 0.31)
        grad.add_color_stop_rgb(1.0, 0.12, 0.12, 0.13)
        ctx.set_source(grad)
        ctx.fill_preserve()
        ctx.set_source_rgba(0.75, 0.75, 0.72, 0.9)
        ctx.set_line_width(1.0)
        ctx.stroke()
        ctx.new_path()
        if k == 0:
            ctx.move_to(25, 2.5), ctx.line_to(35, 2.5), ctx.line_to(30, 7.5)
        else:
            ctx.move_to(25, 7.5), ctx.line_to(35, 7.5), ctx.line_to(30, 2.5)
        ctx.close_path()
        ctx.set_source_rgba(*CREAM)
        ctx.fill()
        for x in (12, 42):
            text(ctx, "SET", x + 3, 7.6, 6.5, (0.85, 0.83, 0.75, 0.9))
    return film_strip(60, 10, 2, draw)


def lamp(colour):
    return film_strip(20, 20, 2, controls.lamp_frames(20, 20, colour))


def background():
    """103: the whole 834 x 278 head."""
    w, h = 834, 278
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(surface)
    paint_surface(ctx, tolex(w, h, (0.085, 0.085, 0.09), seed=3), 0, 0)
    # Outer edge: the rounded head with a light top edge.
    bevel(ctx, 0, 0, w, h, 8, width=2.0, light=0.18, dark=0.6)

    # Grille with white piping.
    gx, gy, gw, gh = 14, 14, 806, 124
    ctx.save()
    rounded_rect(ctx, gx, gy, gw, gh, 6)
    ctx.clip()
    paint_surface(ctx, grille_cloth(gw, gh, (0.26, 0.245, 0.23), seed=5), gx, gy)
    vignette = cairo.RadialGradient(w / 2, gy + gh * 0.35, 40, w / 2, gy + gh / 2, w * 0.55)
    vignette.add_color_stop_rgba(0.0, 0, 0, 0, 0.0)
    vignette.add_color_stop_rgba(1.0, 0, 0, 0, 0.55)
    ctx.set_source(vignette)
    ctx.paint()
    ctx.restore()
    rounded_rect(ctx, gx - 1.5, gy - 1.5, gw + 3, gh + 3, 7)
    ctx.set_source_rgba(0.86, 0.84, 0.78, 1)
    ctx.set_line_width(2.2)
    ctx.stroke()
    rounded_rect(ctx, gx - 3, gy - 3, gw + 6, gh + 6, 8)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.set_line_width(1.0)
    ctx.stroke()

    # Logo: chrome script-weight lettering on the grille.
    logo_y = 94
    ctx.save()
    ctx.select_font_face("Liberation Sans", cairo.FONT_SLANT_ITALIC, cairo.FONT_WEIGHT_BOLD)
    ctx.set_font_size(46)
    ext = ctx.text_extents("Ferro")
    lx = w / 2 - ext.x_advance / 2
    ctx.move_to(lx + 2, logo_y + 3)
    ctx.text_path("Ferro")
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.fill()
    ctx.move_to(lx, logo_y)
    ctx.text_path("Ferro")
    chrome = cairo.LinearGradient(0, logo_y - 34, 0, logo_y + 4)
    chrome.add_color_stop_rgb(0.0, 0.98, 0.98, 0.98)
    chrome.add_color_stop_rgb(0.48, 0.70, 0.71, 0.73)
    chrome.add_color_stop_rgb(0.52, 0.36, 0.37, 0.39)
    chrome.add_color_stop_rgb(1.0, 0.85, 0.86, 0.88)
    ctx.set_source(chrome)
    ctx.fill_preserve()
    ctx.set_source_rgba(0.15, 0.15, 0.16, 1)
    ctx.set_line_width(0.8)
    ctx.stroke()
    ctx.restore()
    text(ctx, "OSTRA AUDIO", w / 2, logo_y + 22, 9, (0.85, 0.83, 0.77, 0.9), spacing=2.5)
    # Corner badges on the grille.
    text(ctx, "B3", 790, 128, 11, (0.85, 0.83, 0.77, 0.75), spacing=1)
    text(ctx, "TWO CHANNEL VALVE HEAD", 40, 128, 7, (0.85, 0.83, 0.77, 0.6), align="left",
         spacing=1.2)

    # Control plate.
    px, py, pw, ph = 10, 146, 814, 124
    ctx.save()
    rounded_rect(ctx, px, py, pw, ph, 5)
    ctx.clip()
    paint_surface(ctx, brushed_metal(pw, ph, (0.21, 0.215, 0.225), seed=11), px, py)
    ctx.restore()
    bevel(ctx, px, py, pw, ph, 5, width=1.5, light=0.35, dark=0.7)
    for sx, sy in ((px + 9, py + 9), (px + pw - 9, py + 9), (px + 9, py + ph - 9),
                   (px + pw - 9, py + ph - 9)):
        screw(ctx, sx, sy, 4.2, slot_angle=0.4 + sx * 0.01)

    # Knob scales and labels.
    for (kx, ky), label in KNOBS:
        cx, cy = kx + 37, ky + 37
        scale_ticks(ctx, cx, cy, 27.0, 31.0, 11, (0.90, 0.88, 0.80, 0.85), width=1.1)
        text(ctx, label, cx, ky + 86, 9, CREAM, spacing=0.6, shadow=(0, 1, ENGRAVE))

    # Switch and lamp legends.
    small = 7
    text(ctx, "CHANNEL", 194, 163, small, CREAM, spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "STEREO", 194, 224, small, CREAM, spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "GREEN", 220, 194, 6.5, (0.62, 0.92, 0.62, 1), spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "RED", 222, 231, 6.5, (0.98, 0.55, 0.50, 1), spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "BRIGHT", 308, 163, small, CREAM, spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "CRUNCH", 308, 222, small, CREAM, spacing=0.3, shadow=(0, 1, ENGRAVE))
    text(ctx, "POWER", 766, 190, small, CREAM, spacing=0.3, shadow=(0, 1, ENGRAVE))
    # Maker's plate at the right end.
    rounded_rect(ctx, 752, 204, 56, 40, 3)
    ctx.set_source_rgba(0.08, 0.08, 0.085, 0.9)
    ctx.fill()
    bevel(ctx, 752, 204, 56, 40, 3, inset=True, light=0.3, dark=0.5)
    text(ctx, "OSTRA", 780, 221, 9, CREAM, spacing=1.2)
    text(ctx, "FERRO B3", 780, 235, 7, (0.80, 0.78, 0.70, 1), spacing=0.8)
    return surface


def settings_panel():
    """107: the fold-out settings panel, 484 x 138."""
    w, h = 484, 138
    ox, oy = PANEL_ORIGIN
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(surface)
    ctx.save()
    rounded_rect(ctx, 0, 0, w, h, 6)
    ctx.clip()
    paint_surface(ctx, brushed_metal(w, h, (0.70, 0.71, 0.72), seed=21, streak=0.04), 0, 0)
    ctx.restore()
    bevel(ctx, 0, 0, w, h, 6, width=2.0, light=0.6, dark=0.55)
    for sx, sy in ((7, 7), (w - 7, 7), (7, h - 7), (w - 7, h - 7)):
        screw(ctx, sx, sy, 3.4, slot_angle=1.0 + sx * 0.02)

    def local(x, y):  # editor coordinates -> panel coordinates
        return x - ox, y - oy

    def legend(s, x, y, size=7.5, align="left", bold=True):
        lx, ly = local(x, y)
        text(ctx, s, lx, ly, size, INK, align=align, bold=bold, spacing=0.2,
             shadow=(0, 0.8, (1, 1, 1, 0.45)))

    # Engraved dividers between the groups.
    for x in (305, 393, 484):
        lx, _ = local(x, 0)
        ctx.move_to(lx + 0.5, 12)
        ctx.line_to(lx + 0.5, h - 12)
        ctx.set_source_rgba(0, 0, 0, 0.35)
        ctx.set_line_width(1.0)
        ctx.stroke()
        ctx.move_to(lx + 1.5, 12)
        ctx.line_to(lx + 1.5, h - 12)
        ctx.set_source_rgba(1, 1, 1, 0.35)
        ctx.stroke()

    # Bias plot screen: the plot draws at (201, 26), 98 x 56.
    sx, sy = local(199, 24)
    rounded_rect(ctx, sx, sy, 102, 60, 2.5)
    ctx.set_source_rgb(0.03, 0.04, 0.04)
    ctx.fill()
    ctx.save()
    ctx.set_line_width(0.5)
    ctx.set_source_rgba(0.35, 0.55, 0.45, 0.35)
    for i in range(1, 5):
        ctx.move_to(sx + 2 + i * 98 / 5.0, sy + 2)
        ctx.line_to(sx + 2 + i * 98 / 5.0, sy + 58)
    for i in range(1, 4):
        ctx.move_to(sx + 2, sy + 2 + i * 56 / 4.0)
        ctx.line_to(sx + 100, sy + 2 + i * 56 / 4.0)
    ctx.stroke()
    ctx.restore()
    bevel(ctx, sx, sy, 102, 60, 2.5, inset=True, light=0.6, dark=0.5)
    legend("BIAS PLOT", 200, 21)
    legend("0 V", 299, 21, size=6.5, align="right", bold=False)

    # Power tubes: four buttons at x = 202, 230, 258, 286 (y 111..123).
    legend("POWER TUBES", 200, 106)
    for i, name in enumerate(("6L6GC", "EL34", "6550", "KT88")):
        legend(name, 202 + 28 * i + 6, 132, size=6.5, align="center")

    # Middle column: Disable PA, Bias, Lead Mod.
    legend("Disable PA", 327, 40, size=8)
    legend("BIAS", 327, 60, align="center")
    cx, cy = local(327, 76)
    scale_ticks(ctx, cx, cy, 13.0, 15.5, 9, (0.1, 0.1, 0.1, 0.8), width=0.9)
    # Read-out window for the bias value (text drawn at 358..372, 70..80).
    rx, ry = local(346, 67)
    rounded_rect(ctx, rx, ry, 38, 17, 2)
    grad = cairo.LinearGradient(0, ry, 0, ry + 17)
    grad.add_color_stop_rgb(0.0, 0.80, 0.84, 0.72)
    grad.add_color_stop_rgb(1.0, 0.88, 0.91, 0.80)
    ctx.set_source(grad)
    ctx.fill()
    bevel(ctx, rx, ry, 38, 17, 2, inset=True, light=0.6, dark=0.5)
    legend("VOLTS", 365, 93, size=6, align="center", bold=False)
    legend("MODS", 312, 106)
    legend("Lead Mod", 330, 121, size=8)

    # Right column: HIFI and the quality buttons (x 397..409, y 86/102/118).
    legend("HIFI", 413, 40, size=8)
    legend("QUALITY", 397, 80)
    for i, name in enumerate(("LOW", "HIGH", "AUTO")):
        legend(name, 413, 95 + 16 * i, size=7)

    # Help display: the text is drawn in black at (490, 32), 162 x 104.
    dx, dy = local(486, 22)
    rounded_rect(ctx, dx, dy, 172, 118, 3)
    grad = cairo.LinearGradient(0, dy, 0, dy + 118)
    grad.add_color_stop_rgb(0.0, 0.90, 0.89, 0.83)
    grad.add_color_stop_rgb(1.0, 0.96, 0.95, 0.90)
    ctx.set_source(grad)
    ctx.fill()
    bevel(ctx, dx, dy, 172, 118, 3, width=1.5, inset=True, light=0.6, dark=0.55)
    legend("INFO", 486, 18)
    return surface


# Images the library carries but the editor never loads: a large knob, a
# three-way and a four-way selector, a nine-step selector and an amber lamp.
def large_knob_strip():
    """108: 61 frames of 50 x 50."""
    def draw(ctx, k):
        controls.chicken_head_knob(ctx, 25, 25, 17.0, knob_angle(k, 61))
    return film_strip(50, 50, 61, draw)


def selector_strip(frames, fw, fh, sweep):
    def draw(ctx, k):
        cx, cy = fw / 2.0, fh / 2.0
        scale_ticks(ctx, cx, cy, fw * 0.36, fw * 0.44, frames, (0.90, 0.88, 0.80, 0.9),
                    width=1.2, sweep_degrees=sweep)
        controls.chicken_head_knob(ctx, cx, cy, fw * 0.30, knob_angle(k, frames, sweep))
    return film_strip(fw, fh, frames, draw)


def images():
    """(id, surface, frames) of every Ferro image."""
    return [
        (100, white_button(), 2),
        (101, knob_strip(), 81),
        (103, background(), 1),
        (105, lamp(GREEN), 2),
        (106, lamp(RED), 2),
        (107, settings_panel(), 1),
        (108, large_knob_strip(), 61),
        (109, selector_strip(3, 50, 50, 90.0), 3),
        (110, selector_strip(4, 50, 50, 135.0), 4),
        (111, arrow_button(), 2),
        (112, small_button(), 2),
        (113, selector_strip(9, 75, 80, 240.0), 9),
        (114, bias_knob_strip(), 61),
        (115, lamp(AMBER), 2),
    ]


def assembled(items, panel_open):
    """The editor as shown: RED channel selected, knobs at assorted settings."""
    from assemble import assemble
    by_id = {rid: (s, n) for rid, s, n in items}
    knob, nk = by_id[101]
    places = []
    for i, ((x, y), _) in enumerate(KNOBS):
        places.append((knob, nk, (i * 23 + 17) % nk, x, y))
    btn, _ = by_id[100]
    places += [(btn, 2, 1, 182, 167), (btn, 2, 0, 296, 167), (btn, 2, 0, 296, 189),
               (btn, 2, 1, 182, 191)]
    places += [(by_id[105][0], 2, 0, 213, 165), (by_id[106][0], 2, 1, 213, 202),
               (by_id[106][0], 2, 1, 756, 159)]
    if panel_open:
        small = by_id[112][0]
        places += [(by_id[107][0], 1, 0, 184, 8), (by_id[114][0], 61, 29, 315, 64)]
        for i, x in enumerate((202, 230, 258, 286)):
            places.append((small, 2, 1 if i == 0 else 0, x, 111))
        for i, y in enumerate((86, 102, 118)):
            places.append((small, 2, 1 if i == 2 else 0, 397, y))
        places += [(small, 2, 0, 311, 30), (small, 2, 1, 397, 30), (small, 2, 1, 314, 111)]
    places.append((by_id[111][0], 2, 1 if panel_open else 0, 392, 0))
    return assemble((834, 278), by_id[103][0], places)
