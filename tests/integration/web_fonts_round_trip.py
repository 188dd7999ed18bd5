#!/usr/bin/python3
"""Web fonts made from real Debian fonts by encoders nobody here wrote must
decode, through tavrel-cli, to exactly the bytes the peer decoders give:
WOFF files from sfnt2woff and from fontTools to woff2sfnt's, WOFF2 files
from woff2_compress to woff2_decompress's. The web fonts fonts-font-awesome
ships open under their names and hold the tables fontTools reads.

usage: web_fonts_round_trip.py WORKDIR [EMULATOR...] TAVREL_CLI
Encoded files are kept in WORKDIR and made again only when missing."""
import atexit
import os
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

from fontTools.ttLib import TTCollection, TTFont
from fontTools.ttLib.sfnt import SFNTReader, SFNTWriter

sys.path.insert(0, str(Path(__file__).parent))
from helpers import full_name, run  # noqa: E402

FONTS = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/opentype/font-awesome/FontAwesome.otf",  # CFF outlines
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",  # 6 MB of CJK glyphs
]
PAIR = ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"]
AWESOME = "/usr/share/fonts-font-awesome/fonts/fontawesome-webfont"
WORK, CLI = Path(sys.argv[1]), sys.argv[2:]
SCRATCH = Path(tempfile.mkdtemp())
atexit.register(shutil.rmtree, SCRATCH)
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED:", message)
    return condition


def decode(source, member=None):
    target = SCRATCH / "decoded"
    target.unlink(missing_ok=True)
    status, _, errors = run(CLI, "decode", source, target, *(["--member", member] if member is not None else []))
    if not check(status == 0 and target.exists(), "decode %s: status %d %s" % (source, status, errors.strip())):
        return b""
    return target.read_bytes()


def names(*files):
    status, out, errors = run(CLI, "names", *files)
    check(status == 0, "names %s: status %d %s" % (files, status, errors.strip()))
    return out.decode("utf-8").splitlines()


def made_once(folder, source, tool, suffix):
    """What tool (a function of source and target, or an encoder that writes
    beside its input) makes of source, made once and kept in WORK/folder."""
    target = WORK / folder / (Path(source).stem + suffix)
    if not target.exists():
        target.parent.mkdir(parents=True, exist_ok=True)
        with tempfile.TemporaryDirectory(dir=target.parent) as scratch:
            made = Path(scratch, target.name)
            if callable(tool):
                tool(source, made)
            else:
                subprocess.run([tool, shutil.copy(source, scratch)], check=True, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
            os.replace(made, target)
    return target


def fonttools_woff(source, target):
    """fontTools' WOFF writer fed the original's raw tables."""
    with open(source, "rb") as f, open(target, "wb") as out:
        reader = SFNTReader(f)
        writer = SFNTWriter(out, len(reader.keys()), reader.sfntVersion, flavor="woff")
        for tag in reader.keys():
            writer[tag] = reader[tag]
        writer.close()


def make_pair(_, target):
    collection = TTCollection()
    collection.fonts = [TTFont(path) for path in PAIR]
    collection.save(str(target))


def check_woff(name, woff):
    sfnt = subprocess.run(["woff2sfnt", str(woff)], check=True, capture_output=True).stdout
    check(decode(woff) == sfnt, name + ": not the bytes woff2sfnt gives")


def check_woff2(name, woff2_path, reference=None):
    reference = reference or made_once("reference", woff2_path, "woff2_decompress", ".ttf")
    check(decode(woff2_path) == reference.read_bytes(), name + ": not the bytes woff2_decompress gives")


def main():
    for source in FONTS:
        stem = Path(source).stem
        woffs = [made_once("sfnt2woff", source, "sfnt2woff", ".woff"), made_once("fonttools", source, fonttools_woff, ".woff")]
        for maker, woff in zip(("sfnt2woff", "fontTools"), woffs):
            check_woff(stem + " by " + maker, woff)
        woff2 = made_once("woff2", source, "woff2_compress", ".woff2")
        check_woff2(stem + " by woff2_compress", woff2)
        expected = [full_name(TTFont(source, lazy=True))]
        listed = names(*woffs, woff2)
        check(listed == expected, "%s: names %r, not %r" % (stem, listed, expected))
    # A header that misstates the decoded size changes nothing: the output
    # grows as needed and ends where the font does, even past a 30 MiB claim.
    small = WORK / "woff2" / "DejaVuSans.woff2"
    for total in (0, 40 << 20):
        (SCRATCH / "misstated.woff2").write_bytes(small.read_bytes()[:16] + struct.pack(">I", total) + small.read_bytes()[20:])
        check_woff2("DejaVuSans claiming %d bytes" % total, SCRATCH / "misstated.woff2",
                    made_once("reference", small, "woff2_decompress", ".ttf"))

    # A .woff2 wrapping a collection lists its members as the .ttc does.
    pair_woff2 = made_once("woff2", made_once("woff2", "pair.ttc", make_pair, ".ttc"), "woff2_compress", ".woff2")
    check_woff2("pair.woff2", pair_woff2)
    expected = [full_name(TTFont(path, lazy=True)) for path in PAIR]
    listed = names(pair_woff2)
    check(listed == expected, "pair.woff2 names %r, not %r" % (listed, expected))
    reference_ttc = Path(shutil.copy(made_once("reference", pair_woff2, "woff2_decompress", ".ttf"), SCRATCH / "pair.ttc"))
    for member in (0, 1):
        check(decode(pair_woff2, member) == decode(reference_ttc, member),
              "pair.woff2 member %d differs from woff2_decompress's" % member)

    woff, woff2 = Path(AWESOME + ".woff"), Path(AWESOME + ".woff2")
    check(names(woff, woff2) == [full_name(TTFont(str(woff), lazy=True))], "font-awesome web fonts' names")
    # woff2sfnt corrects a checksum this file misstates; tavrel keeps the stated one.
    with open(woff, "rb") as f:
        reader = SFNTReader(f)
        original = {tag.encode("latin-1"): reader[tag] for tag in reader.keys()}
    image = decode(woff)
    records = [struct.unpack(">4sIII", image[12 + 16 * i:28 + 16 * i]) for i in range(struct.unpack(">H", image[4:6])[0])]
    check({tag: image[offset:offset + length] for tag, _, offset, length in records} == original,
          "font-awesome .woff: the tables are not the ones fontTools reads")
    check_woff2("font-awesome .woff2", woff2)
    # A damaged web font is reported the way names reports a refused file.
    for source in (woff, woff2):
        cut = SCRATCH / ("cut" + source.suffix)
        cut.write_bytes(source.read_bytes()[:-100])
        for args in (["names", cut], ["decode", cut, SCRATCH / "never"]):
            status, out, errors = run(CLI, *args)
            check(status == 1 and not out and errors.startswith("tavrel-cli: %s: " % cut),
                  "%s of a cut %s file: status %d, %r" % (args[0], source.suffix, status, errors))
        check(not (SCRATCH / "never").exists(), "decode wrote a file it refused")
    if failures:
        sys.exit("%d checks failed" % len(failures))
    print("web fonts by sfnt2woff, fontTools and woff2_compress decode as woff2sfnt and woff2_decompress do")


if __name__ == "__main__":
    main()
