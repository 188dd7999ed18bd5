#!/usr/bin/python3
"""Writes small valid fonts of every format, made from real fonts of Debian's
packages, into OUTDIR, with OUTDIR/samples.tsv listing each file's loader kind,
path and the full names fontTools reads from it (UTF-16 code units in hex).

Subsets keep each font's own name table and table layout but only a handful of
glyphs, so hostile-file sweeps and fuzz seeds stay small. Two whole fonts are
listed in place. WOFF files come from fontTools and from sfnt2woff, WOFF2 files
from woff2_compress. Faces drawn from variation and colour tables (a subset of
a variable TrueType font and of a CBDT emoji font, a CFF2 variable font and a
font of COLR layers built here) have no WOFF copies: WOFF stores those tables
like any other."""
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from fontTools import subset
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, TTFont, newTable

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "integration"))
from glyph_matches_fonttools import cff2_font  # noqa: E402
from helpers import full_name  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
NOTO = "/usr/share/fonts/opentype/noto/"
IPA = "/usr/share/fonts/opentype/ipafont-gothic/"
AWESOME_OTF = "/usr/share/fonts/opentype/font-awesome/FontAwesome.otf"
AWESOME_TTF = "/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf"
INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"
EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
TEXT = "Hello, tavrel! ゴシック体 \U0001F600\U0001F389"


def subset_font(path, number=0):
    font = TTFont(path, fontNumber=number, recalcTimestamp=False)
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=TEXT)
    subsetter.subset(font)
    return font


def names_of(path):
    if path.suffix == ".ttc":
        return [full_name(font) for font in TTCollection(str(path)).fonts[:10]]
    return [full_name(TTFont(str(path), lazy=True))]


def hex_units(name):
    return name.encode("utf-16-be").hex().upper()


SINGLES = {
    "dejavu-serif-bold-italic.ttf": (DEJAVU + "DejaVuSerif-BoldItalic.ttf", 0),
    "dejavu-sans.ttf": (DEJAVU + "DejaVuSans.ttf", 0),
    "ipa-gothic.ttf": (IPA + "ipag.ttf", 0),
    "fontawesome-webfont.ttf": (AWESOME_TTF, 0),
    "noto-sans-cjk-jp.otf": (NOTO + "NotoSansCJK-Regular.ttc", 0),
    "noto-serif-cjk-kr.otf": (NOTO + "NotoSerifCJK-Bold.ttc", 1),
    "fontawesome.otf": (AWESOME_OTF, 0),
}
COLLECTIONS = {
    "noto-sans-cjk.ttc": [(NOTO + "NotoSansCJK-Regular.ttc", i) for i in range(4)],
    # Twelve members: only the first ten are listed.
    "noto-twelve.ttc": [(NOTO + "NotoSansCJK-Regular.ttc", i) for i in range(6)]
    + [(NOTO + "NotoSerifCJK-Bold.ttc", i) for i in range(5)] + [(NOTO + "NotoSerifCJK-Regular.ttc", 0)],
    "dejavu-three.ttc": [(DEJAVU + f, 0) for f in ("DejaVuSans.ttf", "DejaVuSerif.ttf", "DejaVuSansMono.ttf")],
    "ipa-pair.ttc": [(IPA + "ipag.ttf", 0), (IPA + "ipagp.ttf", 0)],
    "fontawesome-single.ttc": [(AWESOME_TTF, 0)],
}


def variable_cff2():
    """Two CFF2 masters along wght, with an avar that bends the axis."""
    with tempfile.TemporaryDirectory() as masters:
        font = TTFont(cff2_font(masters), lazy=False)
    font["avar"] = newTable("avar")
    font["avar"].segments = {"wght": {-1.0: -1.0, 0.0: 0.0, 0.5: 0.7, 1.0: 1.0}}
    font["name"].setName("Var CFF2", 4, 3, 1, 0x409)
    return font


def colr_layers(name="Layers Regular"):
    """'A' drawn as two COLR version 0 layers in the two colours of a CPAL palette."""
    boxes = {".notdef": (50, 0, 550, 700), "A": (100, 0, 500, 700), "A.back": (100, 0, 500, 700),
             "A.front": (200, 100, 400, 600)}
    glyphs = {}
    for name, (x0, y0, x1, y1) in boxes.items():
        pen = TTGlyphPen(None)
        pen.moveTo((x0, y0)), pen.lineTo((x0, y1)), pen.lineTo((x1, y1)), pen.lineTo((x1, y0)), pen.closePath()
        glyphs[name] = pen.glyph()
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(list(boxes))
    fb.setupCharacterMap({0x41: "A"})
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({name: (600, box[0]) for name, box in boxes.items()})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": name, "styleName": "Regular", "fullName": name})
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200), fb.setupPost()
    fb.setupCPAL([[(1, 0, 0, 1), (0, 0, 1, 1)]])
    fb.setupCOLR({"A": [("A.back", 0), ("A.front", 1)]}, version=0)
    return fb.font


def main():
    out = Path(sys.argv[1])
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    made = []  # (kind, path) of the subsets
    for name, (source, number) in SINGLES.items():
        subset_font(source, number).save(str(out / name))
        made.append(("sfnt", out / name))
    for name, members in COLLECTIONS.items():
        collection = TTCollection()
        collection.fonts = [subset_font(source, number) for source, number in members]
        collection.save(str(out / name))
        made.append(("ttc", out / name))

    listed = [(kind, path, path) for kind, path in made if kind == "sfnt"]  # (kind, path, the font it holds)
    listed += [("sfnt", Path(path), Path(path)) for path in (DEJAVU + "DejaVuSansMono.ttf", AWESOME_OTF)]
    listed += [(kind, path, path) for kind, path in made if kind == "ttc"]
    for path in (path for kind, path in made if kind == "sfnt"):
        font = TTFont(str(path))
        font.flavor = "woff"
        font.save(str(out / (path.stem + "-fonttools.woff")))
        subprocess.run(["sfnt2woff", str(path)], check=True, stdout=subprocess.DEVNULL)
        path.with_suffix(".woff").rename(out / (path.stem + "-sfnt2woff.woff"))
        listed += [("woff", out / (path.stem + maker + ".woff"), path) for maker in ("-fonttools", "-sfnt2woff")]
    drawn = {"inter-variable.ttf": subset_font(INTER), "noto-color-emoji.ttf": subset_font(EMOJI),
             "variable-cff2.otf": variable_cff2(), "colr-layers.ttf": colr_layers()}
    for name, font in drawn.items():
        font.save(str(out / name))
        made.append(("sfnt", out / name))
        listed.append(("sfnt", out / name, out / name))
    for kind, path in made:
        subprocess.run(["woff2_compress", str(path)], check=True, stdout=subprocess.DEVNULL)
        listed.append(("woff2", path.with_suffix(".woff2"), path))

    with open(out / "samples.tsv", "w") as manifest:
        for kind, path, source in listed:
            names = dict.fromkeys(names_of(source))  # each once, in order
            manifest.write("\t".join([kind, str(path)] + [hex_units(n) for n in names]) + "\n")


if __name__ == "__main__":
    main()
