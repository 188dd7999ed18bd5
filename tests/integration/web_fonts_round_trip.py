#!/usr/bin/python3
"""Web fonts made from real Debian fonts by encoders nobody here wrote must
decode, through tavrel-cli, to what those fonts hold: WOFF files from
sfnt2woff and from fontTools to the original tables byte for byte, in the sfnt
layout tavrel writes; WOFF2 files from woff2_compress to exactly the bytes
woff2_decompress gives. The web fonts fonts-font-awesome ships open under
their names.

usage: web_fonts_round_trip.py WORKDIR [EMULATOR...] TAVREL_CLI
Encoded files are kept in WORKDIR and made again only when missing."""
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
from names_match_fonttools import full_name  # noqa: E402

FONTS = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/opentype/font-awesome/FontAwesome.otf",  # CFF outlines
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",  # 6 MB of CJK glyphs
]
PAIR = ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"]
AWESOME = "/usr/share/fonts-font-awesome/fonts/fontawesome-webfont"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED:", message)
    return condition


class Cli:
    def __init__(self, command, scratch):
        self.command, self.scratch = command, scratch

    def run(self, *args):
        """Exit status and standard error; Wine is given files, never pipes."""
        out, err = self.scratch / "out", self.scratch / "err"
        with open(out, "wb") as o, open(err, "wb") as e:
            status = subprocess.call(self.command + list(args), stdout=o, stderr=e, stdin=subprocess.DEVNULL)
        return status, out.read_bytes(), err.read_text(errors="replace")

    def decode(self, source, member=None):
        target = self.scratch / "decoded"
        target.unlink(missing_ok=True)
        chosen = ["--member", str(member)] if member is not None else []
        status, _, errors = self.run("decode", str(source), str(target), *chosen)
        if not check(status == 0 and target.exists(), "decode %s: status %d %s" % (source, status, errors.strip())):
            return b""
        return target.read_bytes()

    def names(self, *files):
        status, out, errors = self.run("names", *map(str, files))
        check(status == 0, "names %s: status %d %s" % (files, status, errors.strip()))
        return out.decode("utf-8").splitlines()


def made_once(target, make):
    """Runs make(scratch_dir) -> path of a new file, and keeps it as target."""
    if not target.exists():
        target.parent.mkdir(parents=True, exist_ok=True)
        with tempfile.TemporaryDirectory(dir=target.parent) as scratch:
            os.replace(make(Path(scratch)), target)
    return target


def beside_copy(scratch, source, tool, suffix):
    """Runs an encoder that writes its output beside its input, on a copy."""
    copy = Path(shutil.copy(source, scratch))
    subprocess.run([tool, str(copy)], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return copy.with_suffix(suffix)


def fonttools_woff(scratch, source):
    """fontTools' WOFF writer fed the original's raw tables."""
    target = scratch / (Path(source).stem + ".woff")
    with open(source, "rb") as f, open(target, "wb") as out:
        reader = SFNTReader(f)
        writer = SFNTWriter(out, len(reader.keys()), reader.sfntVersion, flavor="woff")
        for tag in reader.keys():
            writer[tag] = reader[tag]
        writer.close()
    return target


def sfnt_tables(image):
    """Records of an sfnt image: tag -> (checksum, offset, length)."""
    count = struct.unpack(">H", image[4:6])[0]
    return [struct.unpack(">4sIII", image[12 + 16 * i:28 + 16 * i]) for i in range(count)]


def woff_directory(woff):
    count, total = struct.unpack(">H", woff[12:14])[0], struct.unpack(">I", woff[16:20])[0]
    entries = [struct.unpack(">4sIIII", woff[44 + 20 * i:64 + 20 * i]) for i in range(count)]
    return woff[4:8], total, {tag: checksum for tag, _, _, _, checksum in entries}


def check_layout(name, image, woff):
    """Offset table, records in tag order and tables at 4-byte boundaries with
    zero padding, as the WOFF directory describes them."""
    flavor, total, checksums = woff_directory(woff)
    records = sfnt_tables(image)
    n = len(records)
    power = 1 << (n.bit_length() - 1)
    check(image[:4] == flavor, name + ": sfntVersion is not the flavor")
    check(struct.unpack(">HHHH", image[4:12]) == (n, power * 16, power.bit_length() - 1, n * 16 - power * 16),
          name + ": offset table fields")
    check([r[0] for r in records] == sorted(checksums), name + ": records are not the directory's tags in order")
    at = 12 + 16 * n
    for tag, checksum, offset, length in records:
        check(checksum == checksums[tag], "%s: %s checksum" % (name, tag))
        check(offset == at, "%s: %s at %d, not %d" % (name, tag, offset, at))
        at = offset + length + (-length % 4)
        check(image[offset + length:at] == bytes(at - offset - length), "%s: %s padding" % (name, tag))
    check(len(image) == at == total, "%s: %d bytes, tables end at %d, totalSfntSize %d" % (name, len(image), at, total))


def original_tables(path):
    with open(path, "rb") as f:
        reader = SFNTReader(f)
        return {tag: reader[tag] for tag in reader.keys()}


def check_woff(cli, name, woff_path, original):
    image = cli.decode(woff_path)
    if not image:
        return
    check_layout(name, image, woff_path.read_bytes())
    decoded = {tag.decode("latin-1"): image[offset:offset + length] for tag, _, offset, length in sfnt_tables(image)}
    check(sorted(decoded) == sorted(original), name + ": the tables are not the original's")
    for tag, data in original.items():
        check(decoded.get(tag) == data, "%s: table %s differs from the original" % (name, tag))


def check_woff2(cli, name, woff2_path, reference):
    check(cli.decode(woff2_path) == reference.read_bytes(), name + ": not the bytes woff2_decompress gives")


def woff2_reference(work, woff2_path):
    """woff2_decompress's output for a .woff2 file."""
    return made_once(work / "reference" / (woff2_path.stem + ".ttf"),
                     lambda scratch: beside_copy(scratch, woff2_path, "woff2_decompress", ".ttf"))


def with_total_sfnt_size(scratch, woff2_path, total):
    data = bytearray(woff2_path.read_bytes())
    data[16:20] = struct.pack(">I", total)
    target = scratch / ("total-%d.woff2" % total)
    target.write_bytes(bytes(data))
    return target


def check_real_fonts(cli, work, scratch):
    for source in FONTS:
        stem = Path(source).stem
        original = original_tables(source)
        expected_name = full_name(TTFont(source, lazy=True))
        by_sfnt2woff = made_once(work / "sfnt2woff" / (stem + ".woff"),
                                 lambda s: beside_copy(s, source, "sfnt2woff", ".woff"))
        by_fonttools = made_once(work / "fonttools" / (stem + ".woff"), lambda s: fonttools_woff(s, source))
        by_woff2 = made_once(work / "woff2" / (stem + ".woff2"),
                             lambda s: beside_copy(s, source, "woff2_compress", ".woff2"))
        check_woff(cli, stem + " by sfnt2woff", by_sfnt2woff, original)
        check_woff(cli, stem + " by fontTools", by_fonttools, original)
        reference = woff2_reference(work, by_woff2)
        check_woff2(cli, stem + " by woff2_compress", by_woff2, reference)
        names = cli.names(by_sfnt2woff, by_woff2)
        check(names == [expected_name], "%s: names %r, not %r" % (stem, names, expected_name))
    # A header that misstates the decoded size changes nothing: the output
    # grows as needed and ends where the font does, even past a 30 MiB claim.
    small = work / "woff2" / "DejaVuSans.woff2"
    for total in (0, 40 << 20):
        check_woff2(cli, "DejaVuSans claiming %d bytes" % total, with_total_sfnt_size(scratch, small, total),
                    woff2_reference(work, small))


def make_pair(scratch):
    collection = TTCollection()
    collection.fonts = [TTFont(path) for path in PAIR]
    target = scratch / "pair.ttc"
    collection.save(str(target))
    return target


def check_collection(cli, work, scratch):
    """A .woff2 wrapping a collection lists its members as the .ttc does."""
    pair = made_once(work / "woff2" / "pair.ttc", make_pair)
    pair_woff2 = made_once(work / "woff2" / "pair.woff2", lambda s: beside_copy(s, pair, "woff2_compress", ".woff2"))
    reference = woff2_reference(work, pair_woff2)
    check_woff2(cli, "pair.woff2", pair_woff2, reference)
    expected = [full_name(TTFont(path, lazy=True)) for path in PAIR]
    check(cli.names(pair_woff2) == expected, "pair.woff2 names %r, not %r" % (cli.names(pair_woff2), expected))
    reference_ttc = Path(shutil.copy(reference, scratch / "reference.ttc"))
    for member in (0, 1):
        check(cli.decode(pair_woff2, member) == cli.decode(reference_ttc, member),
              "pair.woff2 member %d differs from woff2_decompress's" % member)


def check_font_awesome(cli, work, scratch):
    woff, woff2 = Path(AWESOME + ".woff"), Path(AWESOME + ".woff2")
    expected = full_name(TTFont(str(woff), lazy=True))
    check(cli.names(woff) == [expected], "font-awesome .woff names")
    check(cli.names(woff2) == [expected], "font-awesome .woff2 names")
    check_woff(cli, "font-awesome .woff", woff, original_tables(woff))
    check_woff2(cli, "font-awesome .woff2", woff2, woff2_reference(work, woff2))


def check_refusals(cli, scratch):
    """A damaged web font is reported the way names reports a refused file."""
    for source, suffix in ((Path(AWESOME + ".woff"), ".woff"), (Path(AWESOME + ".woff2"), ".woff2")):
        cut = scratch / ("cut" + suffix)
        cut.write_bytes(source.read_bytes()[:-100])
        for args in (["names", str(cut)], ["decode", str(cut), str(scratch / "never")]):
            status, out, errors = cli.run(*args)
            check(status == 1 and not out and errors.startswith("tavrel-cli: %s: " % cut),
                  "%s of a cut %s file: status %d, %r" % (args[0], suffix, status, errors))
        check(not (scratch / "never").exists(), "decode wrote a file it refused")


def main():
    work, command = Path(sys.argv[1]), sys.argv[2:]
    with tempfile.TemporaryDirectory() as scratch:
        cli = Cli(command, Path(scratch))
        check_real_fonts(cli, work, Path(scratch))
        check_collection(cli, work, Path(scratch))
        check_font_awesome(cli, work, Path(scratch))
        check_refusals(cli, Path(scratch))
    if failures:
        sys.exit("%d checks failed" % len(failures))
    print("web fonts by sfnt2woff, fontTools and woff2_compress decode to the original fonts")


if __name__ == "__main__":
    main()
