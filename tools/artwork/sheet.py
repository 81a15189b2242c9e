"""The contact sheet: every image of both amplifiers with its id, size and
frame count, film strips shown as a row of sample frames."""

import cairo

from materials import text


def contact_sheet(entries, path):
    """entries: list of (title, [(id, surface, frames), ...]) sections."""
    width = 1760
    pad = 16
    # Lay out first to know the height.
    placements = []
    y = pad
    for title, images in entries:
        placements.append(("title", title, pad, y))
        y += 26
        x = pad
        row_h = 0
        for rid, surface, frames in images:
            fw, fh = surface.get_width(), surface.get_height() // frames
            shown = min(frames, 9)
            scale = 1.0 if fw <= 200 else 0.75
            label_w = 6.2 * (len(rid) if isinstance(rid, str) else
                             len("%d  %dx%d  %d frames of %dx%d" % (rid, fw, fh * frames, frames, fw, fh)))
            cell_w = int(max(fw * scale * (1 if frames == 1 else shown) + 8 * (shown - 1), label_w)) + 8
            cell_h = int(fh * scale) + 30
            if x + cell_w > width - pad:
                x = pad
                y += row_h + 12
                row_h = 0
            placements.append(("image", (rid, surface, frames, shown, scale), x, y))
            x += cell_w + 14
            row_h = max(row_h, cell_h)
        y += row_h + 24
    height = y + pad

    out = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(out)
    ctx.set_source_rgb(0.16, 0.16, 0.17)
    ctx.paint()
    for kind, what, x, y in placements:
        if kind == "title":
            text(ctx, what, x, y + 17, 16, (0.92, 0.92, 0.9, 1), align="left")
            continue
        rid, surface, frames, shown, scale = what
        fw, fh = surface.get_width(), surface.get_height() // frames
        picks = [round(i * (frames - 1) / (shown - 1)) for i in range(shown)] if shown > 1 else [0]
        for i, k in enumerate(picks):
            fx = x + i * (fw * scale + 8)
            # A checkerboard shows transparency.
            ctx.save()
            ctx.rectangle(fx, y, fw * scale, fh * scale)
            ctx.clip()
            ctx.set_source_rgb(0.30, 0.30, 0.31)
            ctx.paint()
            ctx.set_source_rgb(0.36, 0.36, 0.37)
            step = 6
            for cy in range(0, int(fh * scale) + step, step):
                for cx in range(0, int(fw * scale) + step, step):
                    if (cx // step + cy // step) % 2:
                        ctx.rectangle(fx + cx, y + cy, step, step)
            ctx.fill()
            ctx.translate(fx, y)
            ctx.scale(scale, scale)
            ctx.set_source_surface(surface, 0, -k * fh)
            ctx.paint()
            ctx.restore()
        if isinstance(rid, str):
            label = rid
        else:
            label = "%d  %dx%d" % (rid, surface.get_width(), surface.get_height())
        if frames > 1:
            label += "  %d frames of %dx%d" % (frames, fw, fh)
        text(ctx, label, x, y + fh * scale + 16, 11, (0.8, 0.8, 0.78, 1), align="left", bold=False)
    out.write_to_png(path)
