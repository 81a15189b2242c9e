"""Assembled editor views for the contact sheet: the background with every
control placed at its editor position and frame, as a user would see it."""

import cairo


def frame_of(surface, frames, k):
    fh = surface.get_height() // frames
    return surface, fh, k * fh


def assemble(size, background, placements):
    """placements: (surface, frames, frame_index, x, y) drawn in order."""
    w, h = size
    out = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(out)
    ctx.set_source_surface(background, 0, 0)
    ctx.paint()
    for surface, frames, k, x, y in placements:
        fh = surface.get_height() // frames
        ctx.save()
        ctx.rectangle(x, y, surface.get_width(), fh)
        ctx.clip()
        ctx.set_source_surface(surface, x, y - k * fh)
        ctx.paint()
        ctx.restore()
    return out
