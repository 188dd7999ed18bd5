#!/usr/bin/python3
"""tavrel-cli names on real fonts from Debian's packages must print the names
fontTools finds for name ID 4 under the same preference: first Windows
Japanese, else the last Macintosh Japanese, the last Windows English, the last
Macintosh English. The other integration scripts share run() and full_name()."""
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


def run(command, *args):
    """Exit status, standard output (bytes) and standard error of command + args. Wine is
    given files, never pipes: a wineserver it starts would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.call(list(command) + [str(a) for a in args], stdout=out, stderr=err,
                                 stdin=subprocess.DEVNULL, timeout=300)
        out.seek(0), err.seek(0)
        return status, out.read(), err.read().decode(errors="replace")


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


def main():
    with tempfile.TemporaryDirectory() as scratch:
        # A path outside any ANSI code page, with the extension in capitals,
        # opens like any other; the same file twice lists nothing new.
        renamed = Path(scratch, "フォント ü.TTF")
        renamed.write_bytes(Path(FONTS[0]).read_bytes())
        files = [str(renamed)] + FONTS[1:] + [FONTS[0]]
        status, out, errors = run(sys.argv[1:], "names", *files)
        faces = [font for path in files
                 for font in (TTCollection(path).fonts[:10] if path.endswith(".ttc") else [TTFont(path, lazy=True)])]
        expected = list(dict.fromkeys(full_name(font) for font in faces))
    printed = out.decode("utf-8").splitlines()
    if printed != expected or status != 0:
        sys.exit("status %d, stderr %s\nprinted:   %r\nfontTools: %r" % (status, errors, printed, expected))
    print("%d names match fontTools, among them %s" % (len(expected), ", ".join(expected[:3])))


if __name__ == "__main__":
    main()
