"""Surfaces and small parts shared by both amplifiers' artwork: brushed
metal, tolex, grille cloth, screws, engraved labels and the light direction
(every highlight falls from the upper left)."""

import math

import cairo
import numpy as np

SANS = "Liberation Sans"
LIGHT = (-0.6, -0.8)  # direction the light comes from (upper left), unit vector


def _surface_from_rgb(rgb):
    """numpy float array (h, w, 3) in 0..1 -> opaque cairo ImageSurface."""
    h, w, _ = rgb.shape
    px = np.clip(rgb * 255.0 + 0.5, 0, 255).astype(np.uint32)
    argb = (0xFF << 24) | (px[:, :, 0] << 16) | (px[:, :, 1] << 8) | px[:, :, 2]
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    stride = surface.get_stride()
    buf = np.ndarray(shape=(h, stride // 4), dtype=np.uint32, buffer=surface.get_data())
    buf[:, :w] = argb
    surface.mark_dirty()
    return surface


def brushed_metal(w, h, base, seed, streak=0.06, grain=0.025):
    """Horizontal brushing: long streaks of slightly varying brightness."""
    rng = np.random.default_rng(seed)
    rows = rng.normal(0.0, 1.0, (h, 1))
    streaks = rng.normal(0.0, 1.0, (h, w))
    # Smear the noise along x so it reads as brushing.
    kernel = np.ones(41) / 41.0
    smeared = np.apply_along_axis(lambda r: np.convolve(r, kernel, mode="same"), 1, streaks)
    shade = 1.0 + streak * rows * 0.5 + streak * smeared * 3.0 + grain * rng.normal(0.0, 1.0, (h, w))
    # A soft vertical gradient: brighter towards the light.
    shade *= (1.06 - 0.12 * np.linspace(0.0, 1.0, h))[:, None]
    rgb = np.empty((h, w, 3))
    for c in range(3):
        rgb[:, :, c] = base[c] * shade
    return _surface_from_rgb(rgb)


def tolex(w, h, base, seed):
    """Pebbled vinyl covering: fine blotchy noise with a light sheen."""
    rng = np.random.default_rng(seed)
    n = rng.normal(0.0, 1.0, (h + 4, w + 4))
    blur = (n[:-4, :-4] + n[2:-2, 2:-2] * 2 + n[4:, 4:] + n[:-4, 4:] + n[4:, :-4]) / 6.0
    pebble = 1.0 + 0.10 * blur + 0.04 * rng.normal(0.0, 1.0, (h, w))
    yy = np.linspace(0.0, 1.0, h)[:, None]
    xx = np.linspace(0.0, 1.0, w)[None, :]
    sheen = 1.0 + 0.10 * np.exp(-((xx - 0.3) ** 2 * 4 + (yy - 0.15) ** 2 * 6))
    rgb = np.empty((h, w, 3))
    for c in range(3):
        rgb[:, :, c] = base[c] * pebble * sheen
    return _surface_from_rgb(rgb)


def grille_cloth(w, h, base, seed, pitch=4):
    """Basket-woven speaker cloth: alternating diagonal threads."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:h, 0:w]
    u = ((x + y) // pitch) % 2
    v = ((x - y) // pitch) % 2
    weave = np.where(u == v, 1.0, 0.72)
    phase = ((x + y) % pitch) / pitch
    thread = 0.85 + 0.3 * np.sin(phase * math.pi)
    shade = weave * thread * (1.0 + 0.06 * rng.normal(0.0, 1.0, (h, w)))
    rgb = np.empty((h, w, 3))
    for c in range(3):
        rgb[:, :, c] = base[c] * shade
    return _surface_from_rgb(rgb)


def paint_surface(ctx, surface, x, y):
    ctx.save()
    ctx.set_source_surface(surface, x, y)
    ctx.paint()
    ctx.restore()


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def bevel(ctx, x, y, w, h, r, width=1.0, light=0.35, dark=0.45, inset=False):
    """A light upper-left edge and a dark lower-right edge (swapped when inset)."""
    hi = (1, 1, 1, light)
    lo = (0, 0, 0, dark)
    if inset:
        hi, lo = lo, hi
    grad = cairo.LinearGradient(x, y, x + w * 0.3, y + h)
    grad.add_color_stop_rgba(0.0, *hi)
    grad.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    grad.add_color_stop_rgba(1.0, *lo)
    rounded_rect(ctx, x + width / 2, y + width / 2, w - width, h - width, r)
    ctx.set_source(grad)
    ctx.set_line_width(width)
    ctx.stroke()


def drop_shadow(ctx, path_fn, dx=1.5, dy=2.0, alpha=0.45, spread=3):
    """A soft shadow cast down and right, built from a few offset fills."""
    for i in range(spread, 0, -1):
        ctx.save()
        ctx.translate(dx * i / spread, dy * i / spread)
        path_fn(ctx, i * 0.6)
        ctx.set_source_rgba(0, 0, 0, alpha / spread)
        ctx.fill()
        ctx.restore()


def screw(ctx, cx, cy, r=4.5, slot_angle=0.6):
    """A chrome pan-head screw with a slot."""
    ctx.save()
    ctx.arc(cx + 0.8, cy + 1.0, r + 0.6, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.fill()
    grad = cairo.RadialGradient(cx - r * 0.4, cy - r * 0.4, r * 0.1, cx, cy, r)
    grad.add_color_stop_rgb(0.0, 0.95, 0.95, 0.95)
    grad.add_color_stop_rgb(0.6, 0.62, 0.63, 0.65)
    grad.add_color_stop_rgb(1.0, 0.30, 0.31, 0.33)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(grad)
    ctx.fill()
    ctx.set_line_width(max(1.0, r * 0.28))
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    dx, dy = math.cos(slot_angle) * r * 0.7, math.sin(slot_angle) * r * 0.7
    ctx.move_to(cx - dx, cy - dy)
    ctx.line_to(cx + dx, cy + dy)
    ctx.set_source_rgba(0.12, 0.12, 0.13, 0.9)
    ctx.stroke()
    ctx.restore()


def text(ctx, s, x, y, size, rgba, align="center", bold=True, italic=False, spacing=0.0,
         shadow=None):
    """Draws s with its baseline at y; align is relative to x. Returns the width.
    shadow=(dx, dy, rgba) adds an engraved or embossed second copy first."""
    ctx.save()
    ctx.select_font_face(SANS, cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    widths = [ctx.text_extents(ch).x_advance for ch in s]
    width = sum(widths) + spacing * max(len(s) - 1, 0)
    start = x if align == "left" else x - width / 2 if align == "center" else x - width
    passes = []
    if shadow is not None:
        passes.append((shadow[0], shadow[1], shadow[2]))
    passes.append((0.0, 0.0, rgba))
    for dx, dy, colour in passes:
        pen = start + dx
        ctx.set_source_rgba(*colour)
        for ch, adv in zip(s, widths):
            ctx.move_to(pen, y + dy)
            ctx.show_text(ch)
            pen += adv + spacing
    ctx.restore()
    return width


def led(ctx, cx, cy, r, colour, lit):
    """A domed lamp in a chrome bezel; lit lamps glow past the bezel."""
    ctx.save()
    # Bezel.
    bezel = cairo.LinearGradient(cx - r, cy - r, cx + r, cy + r)
    bezel.add_color_stop_rgb(0.0, 0.92, 0.92, 0.93)
    bezel.add_color_stop_rgb(0.5, 0.50, 0.51, 0.53)
    bezel.add_color_stop_rgb(1.0, 0.18, 0.18, 0.20)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(bezel)
    ctx.fill()
    inner = r * 0.72
    ctx.arc(cx, cy, inner + 0.6, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.fill()
    cr, cg, cb = colour
    if lit:
        glow = cairo.RadialGradient(cx, cy, 0, cx, cy, inner)
        glow.add_color_stop_rgb(0.0, min(1, cr * 0.6 + 0.6), min(1, cg * 0.6 + 0.6), min(1, cb * 0.6 + 0.6))
        glow.add_color_stop_rgb(0.45, cr, cg, cb)
        glow.add_color_stop_rgb(1.0, cr * 0.55, cg * 0.55, cb * 0.55)
    else:
        glow = cairo.RadialGradient(cx, cy, 0, cx, cy, inner)
        glow.add_color_stop_rgb(0.0, cr * 0.32, cg * 0.32, cb * 0.32)
        glow.add_color_stop_rgb(1.0, cr * 0.12, cg * 0.12, cb * 0.12)
    ctx.arc(cx, cy, inner, 0, 2 * math.pi)
    ctx.set_source(glow)
    ctx.fill()
    # Specular highlight from the upper left.
    specular = cairo.RadialGradient(cx - inner * 0.35, cy - inner * 0.4, 0, cx - inner * 0.35,
                                cy - inner * 0.4, inner * 0.6)
    specular.add_color_stop_rgba(0.0, 1, 1, 1, 0.85 if lit else 0.45)
    specular.add_color_stop_rgba(1.0, 1, 1, 1, 0.0)
    ctx.arc(cx, cy, inner, 0, 2 * math.pi)
    ctx.set_source(specular)
    ctx.fill()
    ctx.restore()


def led_halo(ctx, cx, cy, r, colour):
    """Light spilling from a lit lamp onto what is around it."""
    halo = cairo.RadialGradient(cx, cy, r * 0.5, cx, cy, r * 1.45)
    halo.add_color_stop_rgba(0.0, *colour, 0.55)
    halo.add_color_stop_rgba(1.0, *colour, 0.0)
    ctx.arc(cx, cy, r * 1.45, 0, 2 * math.pi)
    ctx.set_source(halo)
    ctx.fill()


def film_strip(w, h, frames, draw_frame):
    """A vertical strip of frames; draw_frame(ctx, k) draws frame k (0-based)
    into a w x h area at the origin."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h * frames)
    ctx = cairo.Context(surface)
    for k in range(frames):
        ctx.save()
        ctx.rectangle(0, k * h, w, h)
        ctx.clip()
        ctx.translate(0, k * h)
        draw_frame(ctx, k)
        ctx.restore()
    return surface


def knob_angle(k, frames, sweep_degrees=300.0):
    """Pointer angle of frame k in radians, clockwise from 12 o'clock:
    the first frame at -sweep/2 (about 7 o'clock), the last at +sweep/2."""
    t = k / (frames - 1) if frames > 1 else 0.0
    return math.radians(-sweep_degrees / 2 + sweep_degrees * t)


def scale_ticks(ctx, cx, cy, r_in, r_out, count, rgba, width=1.2, numbers=None, r_num=None,
                num_size=7.0, sweep_degrees=300.0):
    """The printed scale around a knob: count ticks over the sweep, optional numbers."""
    ctx.save()
    ctx.set_source_rgba(*rgba)
    ctx.set_line_width(width)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for i in range(count):
        a = knob_angle(i, count, sweep_degrees)
        major = numbers is not None or i % 2 == 0
        ri = r_in if major else r_in + (r_out - r_in) * 0.45
        ctx.move_to(cx + math.sin(a) * ri, cy - math.cos(a) * ri)
        ctx.line_to(cx + math.sin(a) * r_out, cy - math.cos(a) * r_out)
        ctx.stroke()
    if numbers:
        for i, label in enumerate(numbers):
            a = knob_angle(i, len(numbers), sweep_degrees)
            x = cx + math.sin(a) * r_num
            y = cy - math.cos(a) * r_num + num_size * 0.36
            text(ctx, label, x, y, num_size, rgba, bold=False)
    ctx.restore()
