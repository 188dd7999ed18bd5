#!/usr/bin/python3
"""Writes the fonts the window tests draw that no Debian package has as such:
Inter's variable roman under a name of its own (Debian's Inter is installed
where Wine finds it, so GDI would draw that copy for the name "Inter"), and a
font whose 'A' is two COLR version 0 layers in two CPAL colours.

Usage: make_window_fonts.py OUTDIR"""
import sys
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"


def renamed_inter(path):
    font = TTFont(INTER)
    for record in font["name"].names:
        if record.nameID in (1, 4, 16):
            record.string = "Tavrel Test Variable"
        elif record.nameID == 6:
            record.string = "TavrelTestVariable"
    font.save(path)


def box(x0, y0, x1, y1):
    pen = TTGlyphPen(None)
    pen.moveTo((x0, y0)), pen.lineTo((x0, y1)), pen.lineTo((x1, y1)), pen.lineTo((x1, y0)), pen.closePath()
    return pen.glyph()


def colr_font(path):
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder([".notdef", "A", "left", "right"])
    fb.setupCharacterMap({0x41: "A"})
    fb.setupGlyf({".notdef": box(50, 0, 450, 700), "A": box(50, 0, 950, 700), "left": box(50, 0, 500, 700),
                  "right": box(500, 0, 950, 700)})
    fb.setupHorizontalMetrics({".notdef": (1000, 50), "A": (1000, 50), "left": (1000, 50), "right": (1000, 500)})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Tavrel Test Colour", "styleName": "Regular", "fullName": "Tavrel Test Colour"})
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    fb.setupPost()
    fb.setupCOLR({"A": [("left", 0), ("right", 1)]})
    fb.setupCPAL([[(0.9, 0.1, 0.1, 1.0), (0.1, 0.2, 0.9, 1.0)]])
    fb.save(path)


if __name__ == "__main__":
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    renamed_inter(out / "TavrelTestVariable.ttf")
    colr_font(out / "TavrelTestColour.ttf")
