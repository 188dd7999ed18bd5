#!/usr/bin/python3
"""tavrel-cli char --json against what nobody here wrote: Python's codecs for
every character they map (Shift_JIS-2004, EUC-JIS-2004 positions, cp932,
ISO-2022-JP for JIS X 0208), unicodedata for names, and over every character
of Noto Sans CJK JP: Unihan's readings, radicals and strokes and Adobe's CMaps
read here, and fontTools for the glyph, its CID, the ROS and the sequences."""
import bz2
import json
import re
import sys
import tempfile
import unicodedata
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

sys.path.insert(0, str(Path(__file__).parent))
from helpers import run  # noqa: E402

NOTO = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
UNICODE, CMAPS = Path("/usr/share/unicode"), Path("/usr/share/poppler/cMap/Adobe-Japan1")
SELECTORS = {*range(0xFE00, 0xFE10), *range(0xE0100, 0xE01F0), *range(0x180B, 0x1810)}


def encode(c, codec):
    try:
        return chr(c).encode(codec)
    except UnicodeEncodeError:
        return None


def expected_codes(c):
    sjis, euc, cp, iso = (encode(c, k) for k in ("shift_jis_2004", "euc_jis_2004", "cp932", "iso2022_jp"))
    x0213 = None
    if sjis and len(sjis) == 2 and euc and len(euc) >= 2 and euc[0] >= 0xA1:
        x0213 = "1-%d-%d" % (euc[0] - 0xA0, euc[1] - 0xA0)
    elif sjis and len(sjis) == 2 and euc and euc[0] == 0x8F:
        x0213 = "2-%d-%d" % (euc[1] - 0xA0, euc[2] - 0xA0)
    x0208 = (iso[3] - 0x20, iso[4] - 0x20) if iso and iso[:3] == b"\x1b$B" else None
    jis = {"x0213": x0213, "x0208": x0208 and "%d-%d" % x0208,
           "x0208Level": x0208 and ("non-kanji" if x0208[0] < 16 else "level-1" if x0208[0] < 48 else "level-2")}
    return {"shiftJis": sjis and sjis.hex().upper(), "cp932": cp and cp.hex().upper(),
            "jis": jis if x0213 or x0208 else None}


def unihan():
    fields = {}
    for path in UNICODE.glob("Unihan_*.txt.bz2"):
        for line in bz2.open(path, "rt", encoding="utf-8"):
            parts = line.rstrip("\n").split("\t")
            if len(parts) == 3 and parts[1] in ("kJapaneseOn", "kJapaneseKun", "kRSUnicode", "kTotalStrokes"):
                fields.setdefault(int(parts[0][2:], 16), {})[parts[1]] = parts[2].split()
    return fields


def cmap(name):
    cids, section = {}, ""
    for line in (CMAPS / name).open(encoding="latin-1"):
        section = line.split()[-1] if re.search(r"(begin|end)\w+$", line.strip()) else section
        m = re.fullmatch(r"<(\w+)>\s*(?:<(\w+)>\s*)?(\d+)\s*", line)
        if m and section in ("begincidrange", "begincidchar"):
            first = int(m[1], 16)
            for c in range(first, int(m[2] or m[1], 16) + 1):
                cids[c] = int(m[3]) + c - first
    return cids


def kunrei(word):
    """Hepburn as Unihan writes it, spelled as Unicode names kana (SI, TI, TU, HU, ZI, SYA...)."""
    for a, b in [("TCH", "TTY"), ("SH", "SY"), ("CH", "TY"), ("TS", "T"), ("F", "H"), ("J", "ZY"), ("DZ", "Z"),
                 ("DY", "ZY"), ("DI", "ZI"), ("DU", "ZU"), ("YY", "Y")]:
        word = word.replace(a, b)
    return re.sub(r"([SZT])YI", r"\1I", word)


def romaji(kana):
    """Kana spelled by their Unicode names: small ya/yu/yo join the syllable before, a small tu doubles."""
    out, double = "", False
    for k in kana:
        syllable = unicodedata.name(k).split()[-1]
        if "SMALL" in unicodedata.name(k) and syllable in ("YA", "YU", "YO", "WA"):
            out = out[:-1] + ("" if syllable == "WA" else "Y") + syllable[-1] if syllable != "WA" else out[:-1] + "WA"
        elif "SMALL" in unicodedata.name(k) and syllable in ("A", "I", "U", "E", "O"):
            out = out[:-1] + syllable
        elif syllable == "TU" and "SMALL" in unicodedata.name(k):
            double = True
            continue
        else:
            out += (syllable[0] if double else "") + syllable
        double = False
    return kunrei(out.replace("DI", "ZI").replace("DU", "ZU"))


def expected_unihan(entry, cid2004, cid90, c):
    rs = re.fullmatch(r"(\d+)('?)\.(-?\d+)", entry.get("kRSUnicode", ["."])[0])
    return {"on": [kunrei(w) for w in entry.get("kJapaneseOn", [])] or None,
            "kun": [kunrei(w) for w in entry.get("kJapaneseKun", [])] or None,
            "radical": rs and (int(rs[1]), rs[2] == "'", int(rs[3])),
            "strokes": int(entry["kTotalStrokes"][0]) if "kTotalStrokes" in entry else None,
            "aj1Cid": cid2004.get(c), "aj1CidJis90": cid90.get(c) if cid90.get(c) != cid2004.get(c) else None}


def ours(cli, chars):
    entries = {}
    for at in range(0, len(chars), 3000):
        status, out, err = run(cli, "char", NOTO, "".join(map(chr, chars[at:at + 3000])), "--json")
        if status != 0:
            sys.exit(f"tavrel-cli char: exit {status} {err}")
        entries.update((int(e["codePoint"][2:], 16), e) for e in json.loads(out))
    return entries


def subset_cids(cli, text="葛永あ漢"):
    """A subset keeps its glyphs' CIDs, so its charset is no longer the identity."""
    font, subsetter = TTFont(NOTO, fontNumber=0), subset.Subsetter(subset.Options(layout_features=[]))
    subsetter.populate(text=text)
    subsetter.subset(font)
    with tempfile.TemporaryDirectory() as folder:
        font.save(f"{folder}/subset.otf")
        status, out, err = run(cli, "char", f"{folder}/subset.otf", text, "--json")
    order = font.getGlyphOrder()
    return [f"subset {e['character']}: cid {e['cid']}, fontTools {order[e['glyph']]}" for e in json.loads(out)
            if e["cid"] != int(order[e["glyph"]][3:])] if status == 0 else [f"subset: exit {status} {err}"]


def main():
    cli = sys.argv[1:]
    font = TTFont(NOTO, fontNumber=0)
    best, order = font.getBestCmap(), font.getGlyphOrder()
    sequences = {}
    for selector, items in font["cmap"].getcmap(0, 5).uvsDict.items():
        for base, name in items:
            sequences.setdefault(base, []).append({"selector": "U+%04X" % selector, "glyph": font.getGlyphID(name or best[base])})
    codec_chars = [c for c in range(0x20, 0x30000) if (c < 0xD800 or c > 0xDFFF) and c != 0x7F and
                   any(encode(c, k) for k in ("shift_jis_2004", "cp932", "iso2022_jp"))]
    chars = sorted((set(codec_chars) | set(best)) - SELECTORS - set(range(0x20)))
    got, data = ours(cli, chars), unihan()
    cid2004, cid90 = cmap("UniJIS2004-UTF32-H"), cmap("UniJIS-UTF32-H")
    failures = []
    for c in chars:
        e, name = got[c], unicodedata.name(chr(c), None)
        want = expected_codes(c)
        if c in best:
            gid = font.getGlyphID(best[c])
            want |= {"glyph": gid, "cid": int(order[gid][3:]) if order[gid].startswith("cid") else gid,
                     "variationSequences": sorted(sequences[c], key=lambda s: int(s["selector"][2:], 16)) if c in sequences else None}
            want |= expected_unihan(data.get(c, {}), cid2004, cid90, c)
            e = e | {"on": e["on"] and [romaji(k) for k in e["on"]], "kun": e["kun"] and [romaji(k) for k in e["kun"]],
                     "radical": e["radical"] and (e["radical"]["number"], e["radical"]["simplified"],
                                                  e["radical"]["residualStrokes"])}
        if name or unicodedata.category(chr(c)) != "Cn" and not (e["name"] or "").startswith("TANGUT"):
            want["name"] = name
        wrong = {k: (e[k], v) for k, v in want.items() if e[k] != v}
        if wrong:
            failures.append("U+%04X %s" % (c, wrong))
    status, out, err = run(cli, "info", NOTO, "--member", "0", "--json")
    ros = "-".join(map(str, font["CFF "].cff.topDictIndex[0].ROS))
    if status != 0 or json.loads(out)[0]["ros"] != ros:
        failures.append(f"info ros: {out[:200]} {err}, fontTools {ros}")
    failures += subset_cids(cli)
    print("\n".join(failures[:30]))
    print(f"{len(chars)} characters, {len(failures)} wrong")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
