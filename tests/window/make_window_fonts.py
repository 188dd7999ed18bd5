#!/usr/bin/python3
"""Writes the fonts the window tests draw that no Debian package has as such:
Inter's variable roman under a name of its own (Debian's Inter is installed
where Wine finds it, so GDI would draw that copy for the name "Inter"), and a
font whose 'A' is two COLR version 0 layers in two CPAL colours.

Usage: make_window_fonts.py OUTDIR"""
import sys
from pathlib import Path

from fontTools.ttLib import TTFont

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from make_font_samples import colr_layers  # noqa: E402

INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"


def renamed_inter(path):
    font = TTFont(INTER)
    for record in font["name"].names:
        if record.nameID in (1, 4, 16):
            record.string = "Tavrel Test Variable"
        elif record.nameID == 6:
            record.string = "TavrelTestVariable"
    font.save(path)


if __name__ == "__main__":
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    renamed_inter(out / "TavrelTestVariable.ttf")
    colr_layers("Tavrel Test Colour").save(out / "TavrelTestColour.ttf")
