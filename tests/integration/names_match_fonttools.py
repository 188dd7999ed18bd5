#!/usr/bin/python3
"""tavrel-cli names on real fonts from Debian's packages must print the names
fontTools finds for name ID 4 under the same preference: first Windows
Japanese, else the last Macintosh Japanese, the last Windows English, the last
Macintosh English."""
import subprocess
import sys
import tempfile
from pathlib import Path

from fontTools.ttLib import TTCollection, TTFont

FONTS = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc",
]


def full_name(font):
    candidates = {"mac_ja": "", "win_en": "", "mac_en": ""}
    for record in font["name"].names:
        if record.nameID != 4:
            continue
        p, e, lang = record.platformID, record.platEncID, record.langID
        if p == 3 and lang in (0x409, 0x411) and e in (0, 1, 2):
            text = record.string.decode("utf-16-be", "replace")
            text = text.split("\0")[0].split("\r")[0].split("\n")[0][:259]
            if lang == 0x411:
                return text
            candidates["win_en"] = text
        elif p == 1 and lang in (0, 11, 0x409, 0x411) and e in (0, 1):
            text = record.string.split(b"\0")[0].decode("cp1252", "replace")[:259]
            candidates["mac_ja" if lang in (11, 0x411) else "mac_en"] = text
    return next((c for c in candidates.values() if c), "")


def expected_names(paths):
    listed = []
    for path in paths:
        if path.endswith(".ttc"):
            fonts = TTCollection(path).fonts[:10]
        else:
            fonts = [TTFont(path, lazy=True)]
        for font in fonts:
            name = full_name(font)
            if name not in listed:
                listed.append(name)
    return listed


def main():
    command = sys.argv[1:]
    fonts = [f for f in FONTS if Path(f).exists()]
    if len(fonts) != len(FONTS):
        sys.exit("missing fonts: %s" % sorted(set(FONTS) - set(fonts)))
    with tempfile.TemporaryDirectory() as scratch:
        # A path outside any ANSI code page, with the extension in capitals,
        # opens like any other; the same file twice lists nothing new.
        renamed = Path(scratch, "フォント ü.TTF")
        renamed.write_bytes(Path(fonts[0]).read_bytes())
        files = [str(renamed)] + fonts[1:] + [fonts[0]]
        out, err = Path(scratch, "out"), Path(scratch, "err")
        # Wine is given files, never pipes: a wineserver it starts would hold a pipe open.
        with open(out, "wb") as o, open(err, "wb") as e:
            status = subprocess.call(command + ["names"] + files, stdout=o, stderr=e, stdin=subprocess.DEVNULL)
        printed = out.read_bytes().decode("utf-8").splitlines()
        errors = err.read_text(errors="replace")
        expected = expected_names(files)
    if printed != expected or status != 0:
        print("status", status, "stderr:", errors)
        for a, b in zip(printed + [""] * len(expected), expected + [""] * len(printed)):
            print(("  " if a == b else "! ") + repr(a) + " / " + repr(b))
        sys.exit(1)
    print("%d names match fontTools, among them %s" % (len(expected), ", ".join(expected[:3])))


if __name__ == "__main__":
    main()
