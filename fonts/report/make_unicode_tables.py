#!/usr/bin/env python3
"""Writes the character sets and the Unicode block names as a C++ source file.

Usage: make_unicode_tables.py UNICODE_DATA_DIR OUTPUT.cpp

UNICODE_DATA_DIR holds Debian's unicode-data files: Blocks.txt,
UnicodeData.txt and the Unihan database (Unihan_*.txt, bz2-compressed or
plain, or Unihan.zip). A set whose stated total does not come out fails.
"""
import bz2
import io
import pathlib
import sys
import zipfile

# id, total it must come to (None: as the data gives it).
SETS = [
    ("joyo", 2136), ("jis-level-1", 2965), ("jis-level-2", 3390), ("gb2312", 6763),
    ("tongyong", 8105), ("big5", None), ("ksx1001-hanja", None), ("kana", None), ("latin-1", 191),
]
UNIHAN_FIELDS = {"kJoyoKanji", "kJis0", "kGB0", "kTGH", "kBigFive", "kKSC0"}
KANA_BLOCKS = {"Hiragana", "Katakana"}


def unihan_lines(folder):
    plain = sorted(folder.glob("Unihan_*.txt"))
    packed = sorted(folder.glob("Unihan_*.txt.bz2"))
    if plain or packed:
        for path in plain:
            yield from path.open(encoding="utf-8")
        for path in packed:
            yield from bz2.open(path, "rt", encoding="utf-8")
        return
    with zipfile.ZipFile(folder / "Unihan.zip") as archive:
        for name in archive.namelist():
            yield from io.TextIOWrapper(archive.open(name), encoding="utf-8")


def read_unihan(folder):
    fields = {name: {} for name in UNIHAN_FIELDS}
    for line in unihan_lines(folder):
        if line.startswith("#") or "\t" not in line:
            continue
        code, field, value = line.rstrip("\n").split("\t", 2)
        if field in fields:
            fields[field][int(code[2:], 16)] = value.split()
    return fields


def read_blocks(folder):
    blocks = []
    for line in (folder / "Blocks.txt").open(encoding="utf-8"):
        line = line.split("#")[0].strip()
        if not line:
            continue
        span, name = (part.strip() for part in line.split(";"))
        first, last = (int(end, 16) for end in span.split(".."))
        blocks.append((first, last, name))
    return blocks


def assigned(folder):
    codes = set()
    for line in (folder / "UnicodeData.txt").open(encoding="utf-8"):
        codes.add(int(line.split(";")[0], 16))
    return codes


def jis_rows(values, first, last):
    return {code for code, (kuten, *_) in values.items() if first <= int(kuten[:2]) <= last}


def make_sets(folder):
    unihan = read_unihan(folder)
    blocks = read_blocks(folder)
    kana_ranges = [(first, last) for first, last, name in blocks if name in KANA_BLOCKS]
    kana = {c for c in assigned(folder) if any(first <= c <= last for first, last in kana_ranges)}
    return blocks, {
        # The 2010 list itself; entries of the form U+XXXX name a variant of a listed character.
        "joyo": {code for code, values in unihan["kJoyoKanji"].items() if "2010" in values},
        "jis-level-1": jis_rows(unihan["kJis0"], 16, 47),
        "jis-level-2": jis_rows(unihan["kJis0"], 48, 84),
        "gb2312": set(unihan["kGB0"]),
        "tongyong": set(unihan["kTGH"]),
        "big5": set(unihan["kBigFive"]),
        "ksx1001-hanja": set(unihan["kKSC0"]),
        "kana": kana,
        "latin-1": set(range(0x20, 0x7F)) | set(range(0xA0, 0x100)),
    }


def cpp_array(name, codes):
    rows = [", ".join("0x%X" % c for c in codes[i:i + 12]) for i in range(0, len(codes), 12)]
    return "constexpr char32_t %s[] = {\n    %s,\n};\n" % (name, ",\n    ".join(rows))


def main():
    folder, output = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    blocks, sets = make_sets(folder)
    out = ["// Made at build time by fonts/report/make_unicode_tables.py from %s; not to be edited.\n" % folder,
           '#include "coverage.h"\n#include "unicode_blocks.h"\n\nnamespace tavrel {\n\nnamespace {\n\n']
    for index, (set_id, total) in enumerate(SETS):
        codes = sorted(sets[set_id])
        if not codes or (total is not None and len(codes) != total):
            sys.exit("make_unicode_tables: set %s has %d code points, not %s" % (set_id, len(codes), total))
        out.append(cpp_array("kSet%d" % index, codes))
    out.append("\nconstexpr CharacterSet kSets[] = {\n")
    out += ['    {"%s", kSet%d},\n' % (set_id, index) for index, (set_id, _) in enumerate(SETS)]
    out.append("};\n\nconstexpr UnicodeBlock kBlocks[] = {\n")
    out += ['    {0x%X, 0x%X, "%s"},\n' % block for block in blocks]
    out.append("};\n\n}  // namespace\n\n")
    out.append("std::span<const CharacterSet> CharacterSets() { return kSets; }\n")
    out.append("std::span<const UnicodeBlock> UnicodeBlocks() { return kBlocks; }\n\n}  // namespace tavrel\n")
    output.write_text("".join(out), encoding="utf-8")


if __name__ == "__main__":
    main()
