#!/usr/bin/python3
"""Writes a generated font library: COUNT small TrueType faces, each named
"Tavrel Library NNNNN" (full, family and PostScript names), made from DejaVu
Sans cut to its printable ASCII glyphs (about 40 KB a file, as a library of
text faces runs), in folders of 500 files each.

The font is made once with fontTools; each file is that font with its digits
written into the name records, so ten thousand files take seconds.

usage: bench/make_library.py OUTDIR COUNT"""
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

DEJAVU_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
PLACEHOLDER = "Tavrel Library 00000"
PER_FOLDER = 500


def template():
    font = TTFont(DEJAVU_SANS)
    options = subset.Options()
    options.name_IDs = [1, 2, 3, 4, 6]
    options.name_languages = [0x409]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(chr(c) for c in range(0x20, 0x7F)))
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in (1, 3, 4):
            record.string = PLACEHOLDER
        elif record.nameID == 6:
            record.string = PLACEHOLDER.replace(" ", "-")
    path = Path("/tmp") / "tavrel-library-template.ttf"
    font.save(path)
    return path.read_bytes()


def numbered(data, number):
    digits = "%05d" % number
    for encode in (lambda s: s.encode("utf-16-be"), lambda s: s.encode("latin-1")):
        for text in (PLACEHOLDER, PLACEHOLDER.replace(" ", "-")):
            data = data.replace(encode(text), encode(text[:-5] + digits))
    return data


def main():
    out, count = Path(sys.argv[1]), int(sys.argv[2])
    data = template()
    for number in range(count):
        folder = out / ("part %02d" % (number // PER_FOLDER))
        folder.mkdir(parents=True, exist_ok=True)
        (folder / ("library-%05d.ttf" % number)).write_bytes(numbered(data, number))


if __name__ == "__main__":
    main()
