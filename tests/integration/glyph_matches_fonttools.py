#!/usr/bin/python3
"""tavrel-cli glyph --json at a variable font's instances must give the advance
and the control-point bounds fontTools gives at the same location: Inter's named
instances, and a CFF2 variable font made here from two masters."""
import json
import sys
import tempfile
from pathlib import Path

from fontTools import varLib
from fontTools.designspaceLib import AxisDescriptor, DesignSpaceDocument, SourceDescriptor
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.boundsPen import ControlBoundsPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.ttLib import TTFont

sys.path.insert(0, str(Path(__file__).parent))
from helpers import run  # noqa: E402

INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"


def cff_master(path, stem):
    fb = FontBuilder(1000, isTTF=False)
    fb.setupGlyphOrder([".notdef", "A"])
    fb.setupCharacterMap({0x41: "A"})
    pen = T2CharStringPen(600, None)
    pen.moveTo((50, 0)), pen.lineTo((50 + stem, 0)), pen.curveTo((300, 200), (300 + stem, 500), (300, 700))
    pen.closePath()
    fb.setupCFF("Var", {"FullName": "Var"}, {".notdef": T2CharStringPen(600, None).getCharString(),
                                             "A": pen.getCharString()}, {})
    fb.setupHorizontalMetrics({".notdef": (600, 0), "A": (600 + stem, 50)})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Var", "styleName": "Regular"})
    fb.setupOS2(), fb.setupPost()
    fb.save(path)


def cff2_font(folder):
    doc = DesignSpaceDocument()
    axis = AxisDescriptor()
    axis.tag, axis.name, axis.minimum, axis.default, axis.maximum = "wght", "Weight", 100, 100, 900
    doc.addAxis(axis)
    for name, stem, weight in [("light", 100, 100), ("bold", 300, 900)]:
        cff_master(f"{folder}/{name}.otf", stem)
        source = SourceDescriptor()
        source.path, source.location = f"{folder}/{name}.otf", {"Weight": weight}
        doc.addSource(source)
    font = varLib.build(doc)[0]
    font.save(f"{folder}/var-cff2.otf")
    return f"{folder}/var-cff2.otf"


def expected(font, location, char):
    glyphs = font.getGlyphSet(location=location)
    glyph = glyphs[font.getBestCmap()[ord(char)]]
    pen = ControlBoundsPen(glyphs)
    glyph.draw(pen)
    return glyph.width, pen.bounds


def main():
    cli = sys.argv[1:]
    failures = checked = 0
    with tempfile.TemporaryDirectory() as folder:
        inter = TTFont(INTER)
        cases = [(INTER, inter, i.coordinates) for i in inter["fvar"].instances]
        cff2 = cff2_font(folder)
        cases += [(cff2, TTFont(cff2), {"wght": w}) for w in (100, 500, 900)]
        for path, font, location in cases:
            for char in "Ag&" if path == INTER else "A":
                variations = ",".join(f"{tag}={value:g}" for tag, value in location.items())
                status, out, err = run(cli, "glyph", path, char, "--json", "--variations", variations)
                advance, bounds = expected(font, location, char)
                got = json.loads(out) if status == 0 else {}
                checked += 1
                if (status != 0 or abs(got["advance"] - advance) > 1 or
                        any(abs(a - b) > 1 for a, b in zip(got["bounds"], bounds))):
                    failures += 1
                    print(f"{Path(path).name} {variations} {char}: exit {status} {err} ours {got}, "
                          f"fontTools {advance} {bounds}")
    print(f"{checked} glyphs compared with fontTools, {failures} differ")
    sys.exit(1 if failures or checked < 20 else 0)


if __name__ == "__main__":
    main()
