#!/usr/bin/python3
"""Writes small valid fonts of every format, made from real fonts of Debian's
packages, into OUTDIR, with OUTDIR/samples.tsv listing each file's loader kind,
path and the full names fontTools reads from it (UTF-16 code units in hex).

Subsets keep each font's own name table and table layout but only a handful of
glyphs, so hostile-file sweeps and fuzz seeds stay small. Two whole fonts are
listed in place. WOFF files come from fontTools and from sfnt2woff, WOFF2 files
from woff2_compress."""
import shutil
import subprocess
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "integration"))
from names_match_fonttools import full_name  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
NOTO = "/usr/share/fonts/opentype/noto/"
IPA = "/usr/share/fonts/opentype/ipafont-gothic/"
AWESOME_OTF = "/usr/share/fonts/opentype/font-awesome/FontAwesome.otf"
AWESOME_TTF = "/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf"
TEXT = "Hello, tavrel! ゴシック体"


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
    data = name.encode("utf-16-be")
    return "".join("%02X%02X" % (data[i], data[i + 1]) for i in range(0, len(data), 2))


def main():
    out = Path(sys.argv[1])
    if out.exists():
        shutil.rmtree(out)
    out.mkdir(parents=True)
    listed = []  # (kind, path)

    singles = {
        "dejavu-serif-bold-italic.ttf": (DEJAVU + "DejaVuSerif-BoldItalic.ttf", 0),
        "dejavu-sans.ttf": (DEJAVU + "DejaVuSans.ttf", 0),
        "ipa-gothic.ttf": (IPA + "ipag.ttf", 0),
        "fontawesome-webfont.ttf": (AWESOME_TTF, 0),
        "noto-sans-cjk-jp.otf": (NOTO + "NotoSansCJK-Regular.ttc", 0),
        "noto-serif-cjk-kr.otf": (NOTO + "NotoSerifCJK-Bold.ttc", 1),
        "fontawesome.otf": (AWESOME_OTF, 0),
    }
    for name, (source, number) in singles.items():
        subset_font(source, number).save(str(out / name))
        listed.append(("sfnt", out / name))
    listed.append(("sfnt", Path(DEJAVU + "DejaVuSansMono.ttf")))
    listed.append(("sfnt", Path(AWESOME_OTF)))

    collections = {
        "noto-sans-cjk.ttc": [(NOTO + "NotoSansCJK-Regular.ttc", i) for i in range(4)],
        # Twelve members: only the first ten are listed.
        "noto-twelve.ttc": [(NOTO + "NotoSansCJK-Regular.ttc", i) for i in range(6)]
        + [(NOTO + "NotoSerifCJK-Bold.ttc", i) for i in range(5)] + [(NOTO + "NotoSerifCJK-Regular.ttc", 0)],
        "dejavu-three.ttc": [(DEJAVU + f, 0) for f in ("DejaVuSans.ttf", "DejaVuSerif.ttf", "DejaVuSansMono.ttf")],
        "ipa-pair.ttc": [(IPA + "ipag.ttf", 0), (IPA + "ipagp.ttf", 0)],
        "fontawesome-single.ttc": [(AWESOME_TTF, 0)],
    }
    for name, members in collections.items():
        collection = TTCollection()
        collection.fonts = [subset_font(source, number) for source, number in members]
        collection.save(str(out / name))
        listed.append(("ttc", out / name))

    for kind, path in list(listed):
        if kind != "sfnt" or path.parent != out:
            continue
        stem = path.stem
        font = TTFont(str(path))
        font.flavor = "woff"
        font.save(str(out / (stem + "-fonttools.woff")))
        listed.append(("woff", out / (stem + "-fonttools.woff")))
        subprocess.run(["sfnt2woff", str(path)], check=True, stdout=subprocess.DEVNULL)
        path.with_suffix(".woff").rename(out / (stem + "-sfnt2woff.woff"))
        listed.append(("woff", out / (stem + "-sfnt2woff.woff")))
    for kind, path in list(listed):
        if kind not in ("sfnt", "ttc") or path.parent != out:
            continue
        subprocess.run(["woff2_compress", str(path)], check=True, stdout=subprocess.DEVNULL)
        listed.append(("woff2", path.with_suffix(".woff2")))

    with open(out / "samples.tsv", "w") as manifest:
        for kind, path in listed:
            source = path
            if kind in ("woff", "woff2"):
                source = next(p for k, p in listed if k in ("sfnt", "ttc") and p.parent == out
                              and path.stem.split("-fonttools")[0].split("-sfnt2woff")[0] == p.stem)
            names = []
            for name in names_of(source):
                if name not in names:
                    names.append(name)
            manifest.write("\t".join([kind, str(path)] + [hex_units(n) for n in names]) + "\n")


if __name__ == "__main__":
    main()
