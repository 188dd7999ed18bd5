#!/usr/bin/env python3
"""Writes the tables of who a character is as a C++ source file.

Usage: make_character_tables.py UNICODE_DATA_DIR CMAP_DIR OUTPUT.cpp

UNICODE_DATA_DIR holds Debian's unicode-data files (UnicodeData.txt,
CJKRadicals.txt and the Unihan database, bz2-compressed, plain or zipped);
CMAP_DIR holds poppler-data's Adobe-Japan1 CMaps (UniJIS2004-UTF32-H,
UniJIS-UTF32-H). Unihan fields are found by name in whichever file holds them,
since they move between files from one Unicode version to the next. JIS X 0213
positions and code page 932 bytes come from Python's codecs, JIS X 0208 kanji
from Unihan's kJis0; the program works out Shift_JIS-2004 bytes from the
positions, so only single bytes and characters without a position are kept.
"""
import itertools
import pathlib
import re
import sys

# The Unihan files are found and read as the coverage sets' generator reads them.
sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "fonts" / "report"))
from make_unicode_tables import unihan_lines  # noqa: E402

UNIHAN_FIELDS = {"kJapaneseOn", "kJapaneseKun", "kRSUnicode", "kTotalStrokes", "kJis0"}
RANGE_KINDS = [("CJK Ideograph", 0), ("Tangut Ideograph", 1), ("Hangul Syllable", 2)]

# Hepburn and Kunrei spellings as Unihan writes them, longest first when matched.
KANA_ROWS = {
    "": "あいうえお", "K": "かきくけこ", "S": "さしすせそ", "T": "たちつてと", "N": "なにぬねの",
    "H": "はひふへほ", "M": "まみむめも", "Y": "や\0ゆ\0よ", "R": "らりるれろ", "W": "わゐ\0ゑを",
    "G": "がぎぐげご", "Z": "ざじずぜぞ", "D": "だぢづでど", "B": "ばびぶべぼ", "P": "ぱぴぷぺぽ",
}
EXTRA_SYLLABLES = {"SHI": "し", "CHI": "ち", "TSU": "つ", "FU": "ふ", "JI": "じ", "DZU": "づ", "DJI": "ぢ",
                   "FA": "ふぁ", "FI": "ふぃ", "FE": "ふぇ", "FO": "ふぉ"}
YOON = {"KY": "き", "SH": "し", "CH": "ち", "NY": "に", "HY": "ひ", "MY": "み", "RY": "り", "GY": "ぎ",
        "J": "じ", "CHY": "ち", "SHY": "し", "BY": "び", "PY": "ぴ", "SY": "し", "TY": "ち", "ZY": "じ", "DY": "ぢ", "KW": "く", "GW": "ぐ"}
SMALL = {"A": "ゃ", "U": "ゅ", "O": "ょ"}


def syllables():
    table = dict(EXTRA_SYLLABLES)
    for consonant, row in KANA_ROWS.items():
        for vowel, kana in zip("AIUEO", row):
            if kana != "\0":
                table[consonant + vowel] = kana
    for onset, kana in YOON.items():
        for vowel, small in SMALL.items():
            table.setdefault(onset + vowel, kana + small)
        if onset in ("KW", "GW"):
            table[onset + "A"] = kana + "ゎ"
    return table


SYLLABLES = syllables()
LONGEST = max(map(len, SYLLABLES))


def to_hiragana(romaji):
    """The word in hiragana, or None when a part of it spells no kana."""
    out, at = [], 0
    while at < len(romaji):
        rest = romaji[at:]
        if rest[0] == "N" and (len(rest) == 1 or rest[1] not in "AIUEOY"):
            out.append("ん")
            at += 1
            continue
        if len(rest) > 1 and rest[0] == rest[1] and rest[0] in "KSTPGZDBHCFJMR":
            out.append("っ")
            at += 1
            continue
        if rest.startswith("TCH"):
            out.append("っ")
            at += 1
            continue
        for size in range(min(LONGEST, len(rest)), 0, -1):
            if rest[:size] in SYLLABLES:
                out.append(SYLLABLES[rest[:size]])
                at += size
                break
        else:
            return None
    return "".join(out)


def read_unihan(folder):
    fields = {name: {} for name in UNIHAN_FIELDS}
    for line in unihan_lines(folder):
        parts = line.rstrip("\n").split("\t")
        if len(parts) == 3 and parts[1] in fields and parts[0].startswith("U+"):
            fields[parts[1]][int(parts[0][2:], 16)] = parts[2].split()
    return fields


def read_names(folder):
    """Explicit names by code point, and the ranges named by rule."""
    names, ranges, first = {}, [], None
    for line in (folder / "UnicodeData.txt").open(encoding="utf-8"):
        fields = line.split(";")
        code, name = int(fields[0], 16), fields[1]
        if name.startswith("<"):
            if name.endswith(", First>"):
                first = code
            elif name.endswith(", Last>"):
                kind = next((k for prefix, k in RANGE_KINDS if name[1:].startswith(prefix)), None)
                if kind is not None:
                    ranges.append((first, code, kind))
            continue
        names[code] = name
    return names, ranges


def read_radicals(folder):
    radicals = []
    for line in (folder / "CJKRadicals.txt").open(encoding="utf-8"):
        line = line.split("#")[0].strip()
        if not line:
            continue
        number, radical, _ = (part.strip() for part in line.split(";"))
        radicals.append((int(number.rstrip("'")), number.count("'"), int(radical, 16)))
    return sorted(radicals)


def read_cmap(path):
    """Unicode to CID from a UTF-32 CMap's cidrange and cidchar sections."""
    cids, section = {}, None
    for line in path.open(encoding="latin-1"):
        words = line.split()
        if words and words[-1] in ("begincidrange", "begincidchar", "endcidrange", "endcidchar"):
            section = words[-1] if words[-1].startswith("begin") else None
            continue
        hexes = re.findall(r"<([0-9a-fA-F]+)>", line)
        if section == "begincidrange" and len(hexes) == 2:
            first, last = int(hexes[0], 16), int(hexes[1], 16)
            for offset in range(last - first + 1):
                cids[first + offset] = int(words[-1]) + offset
        elif section == "begincidchar" and len(hexes) == 1:
            cids[int(hexes[0], 16)] = int(words[-1])
    if len(cids) < 10000:
        sys.exit("make_character_tables: %s maps only %d characters; is it a UTF-32 CMap?" % (path, len(cids)))
    return cids


def encoded(code, codec):
    try:
        return chr(code).encode(codec)
    except UnicodeEncodeError:
        return None


def jis_tables():
    """JIS X 0213 positions; the Shift_JIS-2004 bytes of characters outside ASCII without a position (the
    rest are worked out from the position); code page 932 bytes outside ASCII; JIS X 0208 row and cell."""
    positions, sjis_extra, cp932, x0208 = {}, {}, {}, {}
    codes = itertools.chain(range(0x80), range(0x80, 0xD800), range(0xE000, 0x10000), range(0x20000, 0x30000))
    for code in codes:
        sjis, euc = encoded(code, "shift_jis_2004"), encoded(code, "euc_jis_2004")
        if sjis and euc and len(sjis) == 2 and euc[0] >= 0xA1:
            positions[code] = (1, euc[0] - 0xA0, euc[1] - 0xA0)
        elif sjis and euc and len(sjis) == 2 and euc[0] == 0x8F:
            positions[code] = (2, euc[1] - 0xA0, euc[2] - 0xA0)
        if sjis and (len(sjis) == 1 or code not in positions) and not (code < 0x80 and sjis[0] == code):
            sjis_extra[code] = int(sjis.hex(), 16)
        windows = encoded(code, "cp932")
        if windows and not (code < 0x80 and windows[0] == code):
            cp932[code] = int(windows.hex(), 16)
        iso = encoded(code, "iso2022_jp")
        if iso and iso.startswith(b"\x1b$B") and iso[3] <= 0x28:
            x0208[code] = (iso[3] - 0x20, iso[4] - 0x20)
    return positions, sjis_extra, cp932, x0208


def name_tables(names):
    """Names as word numbers: the commonest 128 words in one byte, the rest in two."""
    counts = {}
    for name in names.values():
        for word in name.split(" "):
            counts[word] = counts.get(word, 0) + 1
    words = sorted(counts, key=lambda w: (-counts[w], w))
    if len(words) > 128 + 0x7F00:
        sys.exit("make_character_tables: %d distinct words in names are too many" % len(words))
    number = {word: index for index, word in enumerate(words)}
    codes, starts, stream = sorted(names), [], bytearray()
    for code in codes:
        starts.append(len(stream))
        for word in names[code].split(" "):
            n = number[word]
            stream += bytes([n]) if n < 128 else bytes([0x80 | (n - 128) >> 8, (n - 128) & 0xFF])
    starts.append(len(stream))
    return words, codes, starts, stream


def reading_table(unihan):
    """Per character its on readings (as hiragana; the program writes them in katakana) and kun readings."""
    entries, pool, missed = [], bytearray(), []
    for code in sorted(set(unihan["kJapaneseOn"]) | set(unihan["kJapaneseKun"])):
        parts = []
        for field in ("kJapaneseOn", "kJapaneseKun"):
            kana = [to_hiragana(word) for word in unihan[field].get(code, [])]
            missed += [w for w, k in zip(unihan[field].get(code, []), kana) if k is None]
            parts.append(" ".join(k for k in kana if k))
        on, kun = (bytes(ord(c) - 0x3000 for c in part.replace(" ", "\u3020")) for part in parts)
        entries.append((code, len(pool), len(on), len(kun)))
        pool += on + kun
    if len(missed) > 20:
        sys.exit("make_character_tables: %d readings spell no kana, such as %s" % (len(missed), missed[:10]))
    return entries, pool


def stroke_table(unihan, radicals):
    """Runs of consecutive ideographs, each with radical, simplification, residual and total strokes packed."""
    known = {(number, marks) for number, marks, _ in radicals}
    packed = {}
    for code, values in unihan["kRSUnicode"].items():
        match = re.fullmatch(r"(\d+)('*)\.(-?\d+)", values[0])
        total = unihan["kTotalStrokes"].get(code, ["0"])[0]
        if not match or (int(match[1]), len(match[2])) not in known:
            continue
        residual = min(max(int(match[3]), -3), 124) + 3
        packed[code] = int(match[1]) | min(len(match[2]), 3) << 8 | residual << 10 | min(int(total), 255) << 17
    runs, values = [], []
    for code in sorted(packed):
        if runs and runs[-1][0] + runs[-1][1] == code:
            runs[-1][1] += 1
        else:
            runs.append([code, 1, len(values)])
        values.append(packed[code])
    return runs, values


def array(ctype, name, items, per_line=12):
    rows = [", ".join(items[i:i + per_line]) for i in range(0, len(items), per_line)]
    return "const %s %s[] = {\n    %s\n};\n" % (ctype, name, ",\n    ".join(rows) if rows else "{}")


def cid_ranges(cids):
    ranges = []
    for code in sorted(cids):
        run = ranges[-1] if ranges else None
        if run and run[1] + 1 == code and run[2] + code - run[0] == cids[code] and code - run[0] < 0xFFFF:
            ranges[-1][1] = code
        else:
            ranges.append([code, code, cids[code]])
    return ranges


def main():
    folder, cmaps, output = (pathlib.Path(arg) for arg in sys.argv[1:4])
    unihan = read_unihan(folder)
    names, named_ranges = read_names(folder)
    radicals = read_radicals(folder)
    words, name_codes, name_starts, name_stream = name_tables(names)
    positions, sjis_extra, cp932, x0208 = jis_tables()
    cid2004, cid90 = read_cmap(cmaps / "UniJIS2004-UTF32-H"), read_cmap(cmaps / "UniJIS-UTF32-H")
    jis90 = {code: cid for code, cid in cid90.items() if cid2004.get(code) != cid}
    readings, reading_pool = reading_table(unihan)
    runs, strokes = stroke_table(unihan, radicals)
    kanji0208 = {code: (int(v[0][:2]), int(v[0][2:4])) for code, v in unihan["kJis0"].items()}
    x0208.update(kanji0208)

    word_text = "".join(words).encode("ascii")
    word_starts = list(itertools.accumulate((len(w) for w in words), initial=0))
    hexes = lambda values: ["0x%X" % v for v in values]
    out = ["// Made at build time by chars/make_character_tables.py from %s and %s; not to be edited.\n" % (folder, cmaps),
           '#include "character_tables.h"\n\nnamespace tavrel::character_tables {\n\n']
    out.append(array("NamedRange", "kNamedRanges", ["{0x%X, 0x%X, %d}" % r for r in named_ranges], 4))
    out.append(array("char32_t", "kNamedCodePoints", hexes(name_codes)))
    out.append(array("std::uint32_t", "kNameStarts", [str(s) for s in name_starts]))
    out.append(array("std::uint8_t", "kNameWords", [str(b) for b in name_stream], 24))
    out.append(array("std::uint32_t", "kWordStarts", [str(s) for s in word_starts]))
    out.append("const char kWordText[] = \"%s\";\n" % word_text.decode("ascii"))
    out.append(array("CodeValue", "kJisX0213", ["{0x%X, 0x%X}" % (c, p << 14 | r << 7 | k)
                                                for c, (p, r, k) in sorted(positions.items())], 6))
    out.append(array("CodeValue", "kShiftJisExtra", ["{0x%X, 0x%X}" % i for i in sorted(sjis_extra.items())], 6))
    out.append(array("CodeValue", "kCp932", ["{0x%X, 0x%X}" % i for i in sorted(cp932.items())], 6))
    out.append(array("CodeValue", "kJisX0208", ["{0x%X, 0x%X}" % (c, r << 7 | k) for c, (r, k) in sorted(x0208.items())], 6))
    out.append(array("CidRange", "kCidsJis2004", ["{0x%X, %d, %d}" % (a, b - a + 1, c) for a, b, c in cid_ranges(cid2004)], 4))
    out.append(array("CodeValue", "kCidsJis90", ["{0x%X, %d}" % i for i in sorted(jis90.items())], 6))
    out.append(array("ReadingEntry", "kReadings", ["{0x%X, %d, %d, %d}" % e for e in readings], 4))
    out.append(array("std::uint8_t", "kReadingKana", [str(b) for b in reading_pool], 24))
    out.append(array("RadicalEntry", "kRadicals", ["{%d, %d, 0x%X}" % r for r in radicals], 4))
    out.append(array("StrokeRun", "kStrokeRuns", ["{0x%X, %d, %d}" % tuple(r) for r in runs], 4))
    out.append(array("std::uint32_t", "kStrokes", hexes(strokes)))
    spans = ["kNamedRanges", "kNamedCodePoints", "kNameStarts", "kNameWords", "kWordStarts", "kJisX0213",
             "kShiftJisExtra", "kCp932", "kJisX0208", "kCidsJis2004", "kCidsJis90", "kReadings", "kReadingKana",
             "kRadicals", "kStrokeRuns", "kStrokes"]
    out.append("\nconst Tables kTables = {\n%s    std::string_view(kWordText, sizeof kWordText - 1),\n};\n" %
               "".join("    %s,\n" % name for name in spans))
    out.append("\n}  // namespace tavrel::character_tables\n")
    output.write_text("".join(out), encoding="utf-8")


if __name__ == "__main__":
    main()
