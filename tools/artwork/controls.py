"""Film-strip controls: knobs whose pointer turns through 300 degrees from the
first to the last frame, two-state switches and buttons, lamps. Shading is
fixed to the light from the upper left; only the pointer and the parts that
belong to the knob body's markings rotate."""

import math

import cairo

from materials import led, led_halo, rounded_rect


def _shadow_disc(ctx, cx, cy, r, alpha=0.55):
    shadow = cairo.RadialGradient(cx + r * 0.12, cy + r * 0.18, r * 0.6, cx + r * 0.12,
                                  cy + r * 0.18, r * 1.18)
    shadow.add_color_stop_rgba(0.0, 0, 0, 0, alpha)
    shadow.add_color_stop_rgba(1.0, 0, 0, 0, 0.0)
    ctx.arc(cx + r * 0.12, cy + r * 0.18, r * 1.18, 0, 2 * math.pi)
    ctx.set_source(shadow)
    ctx.fill()


def chicken_head_knob(ctx, cx, cy, r, angle, body=(0.07, 0.07, 0.075), line=(0.96, 0.94, 0.88)):
    """A black bakelite pointer knob: round skirt, a tapered bar across it with
    a white line along the bar towards the pointed end."""
    _shadow_disc(ctx, cx, cy, r)
    # Skirt: dark disc with a knurled edge lit from the upper left.
    skirt = cairo.LinearGradient(cx - r, cy - r, cx + r, cy + r)
    skirt.add_color_stop_rgb(0.0, body[0] + 0.22, body[1] + 0.22, body[2] + 0.22)
    skirt.add_color_stop_rgb(0.5, *body)
    skirt.add_color_stop_rgb(1.0, body[0] * 0.4, body[1] * 0.4, body[2] * 0.4)
    ctx.arc(cx, cy, r * 0.78, 0, 2 * math.pi)
    ctx.set_source(skirt)
    ctx.fill()
    rim = cairo.LinearGradient(cx - r, cy - r, cx + r, cy + r)
    rim.add_color_stop_rgba(0.0, 1, 1, 1, 0.55)
    rim.add_color_stop_rgba(0.5, 1, 1, 1, 0.08)
    rim.add_color_stop_rgba(1.0, 0, 0, 0, 0.6)
    ctx.arc(cx, cy, r * 0.78 - 0.6, 0, 2 * math.pi)
    ctx.set_source(rim)
    ctx.set_line_width(1.2)
    ctx.stroke()
    ctx.save()
    ctx.set_line_width(0.8)
    for i in range(48):
        a = angle + i * 2 * math.pi / 48
        lum = 0.5 + 0.5 * math.cos(a - math.radians(-45 - 90))  # brighter facing the light
        ctx.set_source_rgba(1, 1, 1, 0.05 + 0.12 * lum)
        ctx.move_to(cx + math.sin(a) * r * 0.70, cy - math.cos(a) * r * 0.70)
        ctx.line_to(cx + math.sin(a) * r * 0.78, cy - math.cos(a) * r * 0.78)
        ctx.stroke()
    ctx.restore()

    # The head: a tapered bar, pointed towards the pointer angle.
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    def head_path():
        ctx.new_path()
        ctx.move_to(0, -r * 1.0)                   # point
        ctx.curve_to(r * 0.20, -r * 0.80, r * 0.36, -r * 0.2, r * 0.34, r * 0.34)
        ctx.arc(0, r * 0.34, r * 0.34, 0, math.pi)  # round tail
        ctx.curve_to(-r * 0.36, -r * 0.2, -r * 0.20, -r * 0.80, 0, -r * 1.0)
        ctx.close_path()
    ctx.save()
    ctx.rotate(-angle)
    ctx.translate(r * 0.10, r * 0.14)
    ctx.rotate(angle)
    head_path()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.fill()
    ctx.restore()
    head_path()
    # Fixed light on a rotating body: express the light direction in the knob's frame.
    lx, ly = -math.cos(angle + math.pi / 4), -math.sin(angle + math.pi / 4)
    grad = cairo.LinearGradient(lx * r * 0.5, ly * r * 0.5, -lx * r * 0.5, -ly * r * 0.5)
    grad.add_color_stop_rgb(0.0, body[0] + 0.34, body[1] + 0.34, body[2] + 0.35)
    grad.add_color_stop_rgb(0.45, body[0] + 0.06, body[1] + 0.06, body[2] + 0.06)
    grad.add_color_stop_rgb(1.0, body[0] * 0.5, body[1] * 0.5, body[2] * 0.5)
    ctx.set_source(grad)
    ctx.fill_preserve()
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.set_line_width(0.8)
    ctx.stroke()
    # Pointer line.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(max(1.4, r * 0.075))
    ctx.move_to(0, -r * 0.90)
    ctx.line_to(0, -r * 0.12)
    ctx.set_source_rgb(*line)
    ctx.stroke()
    ctx.restore()
    # A soft gloss spot from the upper left (does not turn).
    gloss = cairo.RadialGradient(cx - r * 0.3, cy - r * 0.35, 0, cx - r * 0.3, cy - r * 0.35, r * 0.55)
    gloss.add_color_stop_rgba(0.0, 1, 1, 1, 0.16)
    gloss.add_color_stop_rgba(1.0, 1, 1, 1, 0.0)
    ctx.arc(cx, cy, r * 0.78, 0, 2 * math.pi)
    ctx.set_source(gloss)
    ctx.fill()


def skirted_knob(ctx, cx, cy, r, angle, cap=(0.78, 0.79, 0.80), body=(0.09, 0.09, 0.10),
                 pointer=(0.98, 0.98, 0.98), skirt_marks=True):
    """A black knob with a wide skirt, a white pointer on the skirt and a
    brushed metal cap."""
    _shadow_disc(ctx, cx, cy, r)
    skirt = cairo.LinearGradient(cx - r, cy - r, cx + r, cy + r)
    skirt.add_color_stop_rgb(0.0, body[0] + 0.25, body[1] + 0.25, body[2] + 0.26)
    skirt.add_color_stop_rgb(0.55, *body)
    skirt.add_color_stop_rgb(1.0, body[0] * 0.4, body[1] * 0.4, body[2] * 0.4)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(skirt)
    ctx.fill()
    ctx.arc(cx, cy, r - 0.5, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.set_line_width(1.0)
    ctx.stroke()
    # Knob body (raised).
    rb = r * 0.72
    ctx.arc(cx, cy, rb + 0.8, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.fill()
    ctx.save()
    for i in range(36):  # knurling, fixed shading, turning with the knob
        a = angle + i * 2 * math.pi / 36
        lum = 0.5 + 0.5 * math.cos(a + math.radians(45))
        ctx.move_to(cx + math.sin(a) * rb * 0.86, cy - math.cos(a) * rb * 0.86)
        ctx.line_to(cx + math.sin(a) * rb, cy - math.cos(a) * rb)
        ctx.set_source_rgba(1, 1, 1, 0.04 + 0.14 * lum)
        ctx.set_line_width(1.0)
        ctx.stroke()
    ctx.restore()
    side = cairo.LinearGradient(cx - rb, cy - rb, cx + rb, cy + rb)
    side.add_color_stop_rgb(0.0, body[0] + 0.30, body[1] + 0.30, body[2] + 0.31)
    side.add_color_stop_rgb(1.0, body[0] * 0.5, body[1] * 0.5, body[2] * 0.5)
    ctx.arc(cx, cy, rb * 0.86, 0, 2 * math.pi)
    ctx.set_source(side)
    ctx.fill()
    # Metal cap with concentric brushing.
    rc = rb * 0.66
    capg = cairo.LinearGradient(cx - rc, cy - rc, cx + rc, cy + rc)
    capg.add_color_stop_rgb(0.0, min(1, cap[0] + 0.2), min(1, cap[1] + 0.2), min(1, cap[2] + 0.2))
    capg.add_color_stop_rgb(0.5, *cap)
    capg.add_color_stop_rgb(1.0, cap[0] * 0.55, cap[1] * 0.55, cap[2] * 0.55)
    ctx.arc(cx, cy, rc, 0, 2 * math.pi)
    ctx.set_source(capg)
    ctx.fill()
    ctx.save()
    ctx.set_line_width(0.5)
    for i in range(1, 6):
        ctx.arc(cx, cy, rc * i / 6.0, 0, 2 * math.pi)
        ctx.set_source_rgba(1, 1, 1, 0.07 if i % 2 else 0.0)
        ctx.stroke()
    ctx.restore()
    sheen = cairo.LinearGradient(cx - rc, cy, cx + rc, cy)
    sheen.add_color_stop_rgba(0.0, 1, 1, 1, 0.0)
    sheen.add_color_stop_rgba(0.35, 1, 1, 1, 0.22)
    sheen.add_color_stop_rgba(0.5, 1, 1, 1, 0.0)
    ctx.arc(cx, cy, rc, 0, 2 * math.pi)
    ctx.set_source(sheen)
    ctx.fill()
    # Pointer: on the skirt and across the body.
    ctx.save()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    sa, ca = math.sin(angle), -math.cos(angle)
    ctx.set_line_width(max(1.5, r * 0.08))
    ctx.move_to(cx + sa * r * 0.93, cy + ca * r * 0.93)
    ctx.line_to(cx + sa * rb * 1.02, cy + ca * rb * 1.02)
    ctx.set_source_rgb(*pointer)
    ctx.stroke()
    ctx.set_line_width(max(1.2, r * 0.06))
    ctx.move_to(cx + sa * rb * 0.84, cy + ca * rb * 0.84)
    ctx.line_to(cx + sa * rc * 1.04, cy + ca * rc * 1.04)
    ctx.set_source_rgba(*pointer, 0.85)
    ctx.stroke()
    ctx.restore()


def toggle_button(ctx, x, y, w, h, on, cap=(0.92, 0.91, 0.88)):
    """A square push button in a dark well; pressed in (darker, smaller
    highlight) when on."""
    r = min(w, h) * 0.18
    rounded_rect(ctx, x + 0.5, y + 0.5, w - 1, h - 1, r)
    ctx.set_source_rgba(0.02, 0.02, 0.02, 0.95)
    ctx.fill()
    inset = max(2.0, min(w, h) * 0.14) + (1.0 if on else 0.0)
    bx, by, bw, bh = x + inset, y + inset, w - 2 * inset, h - 2 * inset
    shade = 0.80 if on else 1.0
    grad = cairo.LinearGradient(bx, by, bx + bw * 0.4, by + bh)
    grad.add_color_stop_rgb(0.0, min(1, cap[0] * shade + 0.08), min(1, cap[1] * shade + 0.08),
                            min(1, cap[2] * shade + 0.08))
    grad.add_color_stop_rgb(1.0, cap[0] * shade * 0.62, cap[1] * shade * 0.62, cap[2] * shade * 0.62)
    if not on:  # raised: a shadow below-right
        rounded_rect(ctx, bx + 0.8, by + 1.0, bw, bh, r * 0.8)
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.fill()
    rounded_rect(ctx, bx, by, bw, bh, r * 0.8)
    ctx.set_source(grad)
    ctx.fill()
    rounded_rect(ctx, bx + 0.5, by + 0.5, bw - 1, bh - 1, r * 0.8)
    ctx.set_source_rgba(1, 1, 1, 0.25 if on else 0.55)
    ctx.set_line_width(0.8)
    ctx.stroke()


def lamp_frames(w, h, colour, halo=True):
    """Two frames (unlit, lit) of a round lamp filling w x h."""
    def draw(ctx, k):
        cx, cy = w / 2.0, h / 2.0
        r = min(w, h) / 2.0 - 1.2
        if k == 1 and halo:
            led_halo(ctx, cx, cy, r, colour)
        led(ctx, cx, cy, r * 0.92, colour, lit=(k == 1))
    return draw
