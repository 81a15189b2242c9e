#!/usr/bin/python3
"""Draws every editor image of both amplifiers and a contact sheet.

Run by hand from the repository root when the artwork changes:
    /usr/bin/python3 tools/artwork/make_artwork.py
Writes resources/ferro/<id>.png, resources/vortan/<id>.png and
resources/contact_sheet.png (the sheet is not embedded in any library).
Needs Debian's python3-cairo and python3-numpy and the Liberation fonts."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import ferro_art  # noqa: E402
import vortan_art  # noqa: E402
from sheet import contact_sheet  # noqa: E402


def write(folder, items):
    os.makedirs(folder, exist_ok=True)
    for rid, surface, frames in items:
        h = surface.get_height()
        assert h % frames == 0, (rid, h, frames)
        surface.write_to_png(os.path.join(folder, "%d.png" % rid))


def main():
    root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
    out = os.path.join(root, "resources")
    only = sys.argv[1:] or ["ferro", "vortan"]
    sections = []
    if "ferro" in only:
        ferro = ferro_art.images()
        write(os.path.join(out, "ferro"), ferro)
        sections.append(("Ostra Ferro B3", ferro))
    if "vortan" in only:
        vortan = vortan_art.images()
        write(os.path.join(out, "vortan"), vortan)
        sections.append(("Vortan v1.1", vortan))
    if len(sections) == 2:
        views = [("Ferro editor, settings closed", ferro_art.assembled(ferro, False), 1),
                 ("Ferro editor, settings open", ferro_art.assembled(ferro, True), 1),
                 ("Vortan editor", vortan_art.assembled(vortan), 1)]
        sections.insert(0, ("Assembled editors (controls at their positions)", views))
        contact_sheet(sections, os.path.join(out, "contact_sheet.png"))


if __name__ == "__main__":
    main()
