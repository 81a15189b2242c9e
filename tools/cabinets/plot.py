"""The magnitude responses of the built-in cabinets on one chart (cairo)."""

import math

import cairo
import numpy as np

COLOURS = [(0.85, 0.33, 0.10), (0.00, 0.45, 0.74), (0.47, 0.67, 0.19), (0.49, 0.18, 0.56),
           (0.64, 0.08, 0.18)]
F_LO, F_HI = 20.0, 20000.0
DB_LO, DB_HI = -40.0, 15.0


def _smoothed_db(ir, fs, freqs):
    n = 65536
    h = np.abs(np.fft.rfft(ir, n)) ** 2
    f = np.arange(len(h)) * fs / n
    out = []
    for fc in freqs:  # 1/12-octave power average
        band = (f >= fc * 2 ** (-1 / 24)) & (f <= fc * 2 ** (1 / 24))
        p = np.mean(h[band]) if np.any(band) else np.interp(fc, f, h)
        out.append(10 * math.log10(max(p, 1e-12)))
    return out


def plot_responses(curves, fs, path, width=960, height=480):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(surface)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    left, right, top, bottom = 60, width - 170, 40, height - 45

    def px(f):
        return left + (right - left) * math.log(f / F_LO) / math.log(F_HI / F_LO)

    def py(db):
        db = min(max(db, DB_LO), DB_HI)
        return bottom - (bottom - top) * (db - DB_LO) / (DB_HI - DB_LO)

    ctx.select_font_face("Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(12)
    ctx.set_line_width(1)
    for f in [20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000]:
        ctx.set_source_rgb(0.85, 0.85, 0.85)
        ctx.move_to(px(f), top)
        ctx.line_to(px(f), bottom)
        ctx.stroke()
        ctx.set_source_rgb(0.2, 0.2, 0.2)
        label = f"{f // 1000}k" if f >= 1000 else str(f)
        ext = ctx.text_extents(label)
        ctx.move_to(px(f) - ext.width / 2, bottom + 16)
        ctx.show_text(label)
    for db in range(int(DB_LO), int(DB_HI) + 1, 10):
        ctx.set_source_rgb(0.85, 0.85, 0.85)
        ctx.move_to(left, py(db))
        ctx.line_to(right, py(db))
        ctx.stroke()
        ctx.set_source_rgb(0.2, 0.2, 0.2)
        ctx.move_to(left - 34, py(db) + 4)
        ctx.show_text(f"{db:+d}" if db else "0")
    # The loudness band.
    ctx.set_source_rgba(1.0, 0.85, 0.3, 0.18)
    ctx.rectangle(px(200), top, px(5000) - px(200), bottom - top)
    ctx.fill()
    ctx.set_source_rgb(0.2, 0.2, 0.2)
    ctx.move_to(left, top - 14)
    ctx.show_text("Built-in cabinets: magnitude response (dB, 1/12 octave), "
                  "normalised to equal energy in 200 Hz..5 kHz (shaded)")
    ctx.move_to((left + right) / 2 - 30, height - 8)
    ctx.show_text("frequency (Hz)")

    freqs = np.geomspace(F_LO, min(F_HI, fs / 2 * 0.999), 400)
    ctx.set_line_width(2)
    for k, (name, ir) in enumerate(curves):
        ctx.set_source_rgb(*COLOURS[k % len(COLOURS)])
        for i, (f, db) in enumerate(zip(freqs, _smoothed_db(ir, fs, freqs))):
            (ctx.move_to if i == 0 else ctx.line_to)(px(f), py(db))
        ctx.stroke()
        y = top + 20 + 22 * k
        ctx.move_to(right + 15, y)
        ctx.line_to(right + 40, y)
        ctx.stroke()
        ctx.move_to(right + 48, y + 4)
        ctx.show_text(name)
    surface.write_to_png(path)
