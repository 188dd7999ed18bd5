#!/usr/bin/python3
"""tavrel-cli info --json on real fonts, Inter's variable roman among them, must
say what fontTools reads, down to the characters each feature changes; IPA Gothic's kanji coverage must equal what its cmap
and Unihan give; what is not a regular file is refused."""
import bz2
import glob
import json
import os
import sys
import tempfile
from pathlib import Path

from fontTools.ttLib import TTFont

sys.path.insert(0, str(Path(__file__).parent))
from helpers import run  # noqa: E402

NOTO = "/usr/share/fonts/opentype/noto/"
INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"
CMAP_ORDER = [(3, 10), (0, 6), (0, 4), (3, 1), (0, 3), (0, 2), (0, 1), (0, 0)]
NAME_KEYS = dict(family=1, subfamily=2, typographicFamily=16, typographicSubfamily=17, postScriptName=6,
                 version=5, copyright=0, trademark=7, manufacturer=8, designer=9, description=10,
                 vendorUrl=11, designerUrl=12, license=13, licenseUrl=14)


def name(font, name_id):
    """Windows Japanese, else the last Windows English record, whole."""
    found = None
    for r in font["name"].names:
        if r.nameID == name_id and r.platformID == 3 and r.langID in (0x409, 0x411):
            if r.langID == 0x411:
                return r.toUnicode()
            found = r.toUnicode()
    return found


def changed_glyphs(kind, lookup_type, subtable):
    """The glyphs a subtable replaces by another glyph (GSUB 1, 3's first
    alternate) or moves (GPOS 1 with a placement or advance not zero)."""
    if kind == "GSUB" and lookup_type == 1:
        return {g for g, s in subtable.mapping.items() if g != s}
    if kind == "GSUB" and lookup_type == 3:
        return {g for g, alternates in subtable.alternates.items() if alternates and alternates[0] != g}
    if kind == "GSUB" or lookup_type != 1:
        return set()
    values = [subtable.Value] * len(subtable.Coverage.glyphs) if subtable.Format == 1 else subtable.Value
    moves = [v is not None and any(getattr(v, f, 0) for f in ("XPlacement", "YPlacement", "XAdvance", "YAdvance")) for v in values]
    return {g for g, m in zip(subtable.Coverage.glyphs, moves) if m}


def feature_changes(font):
    """Each feature tag with the characters of the best cmap whose glyph one of its lookups changes."""
    glyphs = {}
    for kind in ("GSUB", "GPOS"):
        table = font[kind].table if kind in font else None
        lookups = table.LookupList.Lookup if table and table.LookupList else []
        for record in table.FeatureList.FeatureRecord if table and table.FeatureList else []:
            changed = glyphs.setdefault(record.FeatureTag, set())
            for lookup in (lookups[i] for i in record.Feature.LookupListIndex if i < len(lookups)):
                for subtable in lookup.SubTable:
                    extension = lookup.LookupType == (7 if kind == "GSUB" else 9)
                    changed |= changed_glyphs(kind, subtable.ExtensionLookupType, subtable.ExtSubTable) if extension else \
                        changed_glyphs(kind, lookup.LookupType, subtable)
    cmap = font.getBestCmap()
    return {tag: sum(g in changed for g in cmap.values()) for tag, changed in glyphs.items()}


def variation_sequences(font):
    sequences = {s: len(bases) for t in font["cmap"].tables if t.format == 14 for s, bases in t.uvsDict.items()}
    return dict(total=sum(sequences.values()), standardized=sum(n for s, n in sequences.items() if 0xFE00 <= s <= 0xFE0F),
                ideographic=sum(n for s, n in sequences.items() if 0xE0100 <= s <= 0xE01EF))


def expected(font):
    best = next(t for key in CMAP_ORDER for t in font["cmap"].tables if (t.platformID, t.platEncID) == key)
    notdef, os2, post = font.getGlyphOrder()[0], font["OS/2"], font["post"]
    fvar = font["fvar"] if "fvar" in font else None
    return dict(
        {key: name(font, i) for key, i in NAME_KEYS.items()},
        outlines="CFF" if "CFF " in font else "TrueType", unitsPerEm=font["head"].unitsPerEm,
        glyphCount=font["maxp"].numGlyphs, codePoints=sum(g != notdef for g in best.cmap.values()),
        weightClass=os2.usWeightClass, widthClass=os2.usWidthClass, fsType=os2.fsType, vendorId=os2.achVendID,
        italicAngle=post.italicAngle, fixedPitch=post.isFixedPitch != 0,
        axes=[dict(tag=a.axisTag, min=a.minValue, default=a.defaultValue, max=a.maxValue, name=name(font, a.axisNameID))
              for a in (fvar.axes if fvar else [])],
        instances=[dict(name=name(font, i.subfamilyNameID), coordinates=i.coordinates)
                   for i in (fvar.instances if fvar else [])],
        features=sorted({f.FeatureTag for t in ("GSUB", "GPOS") if t in font and font[t].table.FeatureList
                         for f in font[t].table.FeatureList.FeatureRecord}),
        featureChanges=feature_changes(font), variationSequences=variation_sequences(font),
        verticalMetrics="vhea" in font and "vmtx" in font, verticalOrigins="VORG" in font)


def joyo_and_jis():
    sets = {"joyo": set(), "jis-level-1": set(), "jis-level-2": set()}
    for path in glob.glob("/usr/share/unicode/Unihan_*.txt.bz2"):
        for line in bz2.open(path, "rt", encoding="utf-8"):
            fields = line.split("\t")
            if len(fields) == 3 and fields[1] == "kJoyoKanji" and fields[2].strip() == "2010":
                sets["joyo"].add(int(fields[0][2:], 16))
            elif len(fields) == 3 and fields[1] == "kJis0":
                row = int(fields[2]) // 100
                if 16 <= row <= 84:
                    sets["jis-level-1" if row <= 47 else "jis-level-2"].add(int(fields[0][2:], 16))
    return sets


def main():
    command, faults = sys.argv[1:], []
    scratch = tempfile.mkdtemp()
    cases = [("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", None), ("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", None),
             ("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", None),
             ("/usr/share/fonts/opentype/font-awesome/FontAwesome.otf", None), (INTER, None)]
    cases += [(NOTO + f, m) for f, m in [("NotoSansCJK-Regular.ttc", 0), ("NotoSansCJK-Regular.ttc", 1), ("NotoSansCJK-Bold.ttc", 3),
                                         ("NotoSerifCJK-Regular.ttc", 2), ("NotoSerifCJK-Bold.ttc", 4)]]
    for path, member in cases:
        args = ["info", "--json", path] + (["--member", str(member)] if member is not None else [])
        status, out, err = run(command, *args, "--text", "Aあ\U0001F600")
        report = json.loads(out)[0] if status == 0 else {}
        font = TTFont(path, fontNumber=member or 0, lazy=True)
        members = font.reader.numFonts if member is not None else None
        want = dict(expected(font), member=member, members=members)
        faults += ["%s: %s is %r, fontTools reads %r" % (path, k, report.get(k), v) for k, v in want.items()
                   if report.get(k) != v]
        missing = [f"U+{c:04X}" for c in (0x41, 0x3042, 0x1F600) if c not in font.getBestCmap()]
        if status != 0 or report["text"]["missing"] != missing:
            faults.append("%s: status %d, text %r, not missing %r %s" % (path, status, report.get("text"), missing, err))
    ipa = TTFont(cases[1][0]).getBestCmap()
    coverage = {c["set"]: (c["covered"], c["total"]) for c in json.loads(run(command, "info", cases[1][0], "--json")[1])[0]["coverage"]}
    want = {set_id: (len(points & ipa.keys()), len(points)) for set_id, points in joyo_and_jis().items()}
    if any(coverage.get(set_id) != pair for set_id, pair in want.items()):
        faults.append("IPA Gothic coverage %r; fontTools and Unihan give %r" % (coverage, want))
    os.mkdir(os.path.join(scratch, "folder.ttf"))
    os.mkfifo(os.path.join(scratch, "pipe.ttf"))
    usage = " (see tavrel-cli --help)\n"
    refusals = [(["info", "folder.ttf"], 1, "no font files"), (["info", "pipe.ttf"], 1, "FIFO"),
                (["info", INTER, "--member", "0"], 1, "collection"),
                (["info", NOTO + "NotoSansCJK-Regular.ttc", "--member", "10"], 1, "no member 10"),
                (["names", "folder.ttf", "/nonexistent"], 1, "/nonexistent: no such file or folder"),
                (["info", "--json"], 2, "tavrel-cli: info: needs PATH" + usage),
                (["shape", INTER, "x", "--features", "bogus!!"], 2, "tavrel-cli: --features: cannot read 'bogus!!'" + usage),
                (["glyph", INTER, "x", "--member"], 2, "tavrel-cli: --member: needs a value" + usage),
                (["find", "x", "/", "--json", "--json"], 2, "tavrel-cli: --json: given twice" + usage),
                (["find", "--set", "joyo,gb2312", "/"], 2, "tavrel-cli: --set: cannot read 'gb2312'" + usage),
                (["decode", "a", "b", "c"], 2, "tavrel-cli: decode: one argument too many, 'c'" + usage)]
    for args, status, reason in refusals:
        args = [os.path.join(scratch, a) if a in ("folder.ttf", "pipe.ttf") else a for a in args]
        got, _, err = run(command, *args)
        err = err.replace("\r\n", "\n")
        if got != status or reason not in err or (status == 2 and err != reason):
            faults.append("%s: status %d, %r; expected %d and %r" % (" ".join(args), got, err.strip(), status, reason))
    print("\n".join(faults) or "info matches fontTools on %d faces; refusals hold" % len(cases))
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
