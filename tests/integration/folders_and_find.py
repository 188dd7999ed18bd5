#!/usr/bin/python3
"""tavrel-cli on folders: names, info and find read the font files under a
folder in Explorer's order; find lists the faces whose best cmap, as fontTools
reads it, maps every character of the text or passes a filter; whatever in a folder cannot be
read is refused with its reason and the rest is read on."""
import json
import os
import sys
import tempfile
from pathlib import Path

from fontTools.ttLib import TTCollection, TTFont

sys.path.insert(0, str(Path(__file__).parent))
from helpers import full_name, run  # noqa: E402

FONTS = "/usr/share/fonts/"
DEEP = "/".join(["long-folder-name-that-takes-the-path-past-two-hundred-and-sixty"] * 5)
# Explorer's order: digit runs by value and before other characters, letters
# without regard to case, a subfolder's files where its name falls. A name
# outside any ANSI code page opens like any other; a face listed already
# is not named again.
TREE = [("emoji.ttf", "truetype/noto/NotoColorEmoji.ttf"), ("F1.ttf", "truetype/dejavu/DejaVuSans.ttf"), ("f2.TTF", "opentype/ipafont-gothic/ipag.ttf"),
        ("f10.ttf", "truetype/dejavu/DejaVuSerif.ttf"), (DEEP + "/deep.ttf", "opentype/ipafont-gothic/ipagp.ttf"),
        ("noto/cjk.ttc", "opentype/noto/NotoSansCJK-Bold.ttc"), ("sub/a.otf", "opentype/font-awesome/FontAwesome.otf"),
        ("sub/inter.ttf", "truetype/inter-vf/Inter-roman.var.ttf"),
        ("sub2.ttf", "truetype/dejavu/DejaVuSans-Bold.ttf"), ("sub 2.ttf", "truetype/dejavu/DejaVuSerif-BoldItalic.ttf"),
        ("ゴシック.ttf", "truetype/dejavu/DejaVuSans.ttf"), ("フォント ü.TTF", "truetype/dejavu/DejaVuSansMono.ttf")]
REFUSED = [("empty.ttf", "too short"), ("sub/loop", "link leads back"), ("locked", "cannot read the folder"),
           ("pipe.woff", "FIFO|not a regular file")]
# Root reads any folder; without these capabilities it is held to the folder's mode.
AS_OWNER = ["setpriv", "--bounding-set=-dac_override,-dac_read_search"] if os.geteuid() == 0 else []


def listed_faces():
    """(file, member, full name, font) of every face the window would list, file by file."""
    faces = []
    for rel, source in TREE:
        if not source.endswith(".ttc"):
            faces.append((rel, None, full_name(TTFont(FONTS + source, lazy=True)), TTFont(FONTS + source, lazy=True)))
            continue
        names = []
        for member, font in enumerate(TTCollection(FONTS + source, lazy=True).fonts[:10]):
            if full_name(font) not in names:
                names.append(full_name(font))
                faces.append((rel, member, names[-1], font))
    return faces


def maps_all(font, text):
    cmap = font.getBestCmap() or {}
    return all(ord(c) in cmap and font.getGlyphID(cmap[ord(c)]) != 0 for c in text if ord(c) >= 0x20)


def tags(font):
    return {r.FeatureTag for t in ("GSUB", "GPOS") if t in font and font[t].table.FeatureList
            for r in font[t].table.FeatureList.FeatureRecord}


JIS1 = "".join(bytes([0xA0 + row, 0xA0 + cell]).decode("euc_jp", "ignore") for row in range(16, 48) for cell in range(1, 95))
FILTERS = [(["--features", "vert,palt"], lambda f: "palt" in tags(f) and tags(f) & {"vert", "vrt2"}),
           (["--variable"], lambda f: "fvar" in f and f["fvar"].axes),
           (["--color"], lambda f: any(t in f for t in ("COLR", "CBDT", "sbix", "SVG "))),
           (["--set", "jis-level-1"], lambda f: maps_all(f, JIS1))]  # JIS X 0208 rows 16 to 47 by Python's EUC-JP codec


def main():
    with tempfile.TemporaryDirectory() as scratch:
        faults = check(AS_OWNER + sys.argv[1:], Path(scratch, "library"), Path(scratch, "many"))
    print("\n".join(faults) or "folders listed, found and refused as expected")
    sys.exit(1 if faults else 0)


def check(command, root, many):
    faults = []
    for rel, source in reversed(TREE):
        (root / rel).parent.mkdir(parents=True, exist_ok=True)
        (root / rel).symlink_to(FONTS + source)
    (root / "empty.ttf").touch()
    (root / "notes.txt").touch()
    os.mkfifo(root / "pipe.woff")
    (root / "sub/loop").symlink_to("..")
    (root / "locked").mkdir()
    (root / "locked/x.ttf").symlink_to(FONTS + TREE[0][1])
    (root / "locked").chmod(0)
    many.mkdir()
    for i in range(10000):
        (many / ("%d.ttf" % i)).touch()
    relative = lambda path: os.path.relpath(path.replace("\\", "/"), root)  # noqa: E731
    faces = listed_faces()

    status, out, err = run(command, "names", root, root / TREE[-1][0], many)
    want = list(dict.fromkeys(name for _, _, name, _ in faces))
    refused = err.count("too short")
    if status != 1 or out.decode().splitlines() != want or refused != 10001:
        faults.append("names: status %d, %r, %d empty files refused" % (status, out.decode().splitlines(), refused))
    for path, reason in REFUSED:
        if not any(relative(line.split(": ")[1]) == path and any(r in line for r in reason.split("|"))
                   for line in err.splitlines() if line.count(": ") >= 2):
            faults.append("%s is not refused with %r" % (path, reason))
    status, out, _ = run(command, "info", "--json", root)
    got = [(relative(face["file"]), face["member"], face["fullName"]) for face in json.loads(out)]
    if status != 1 or got != [face[:3] for face in faces]:
        faults.append("info: status %d, %r" % (status, got))
    for args, oracle in [([t], lambda f, t=t: maps_all(f, t)) for t in ["永遠", "A\u9ad9", "Hello\n", "\U00020bb7"]] + FILTERS:
        status, out, _ = run(command, "find", *args, root, "--json")
        got = [(relative(face["file"]), face["member"], face["fullName"]) for face in json.loads(out)]
        want = [face[:3] for face in faces if oracle(face[3])]
        if status != 1 or got != want:
            faults.append("find %r: status %d\n  found:     %r\n  fontTools: %r" % (args, status, got, want))
    (root / "locked").chmod(0o700)
    return faults


if __name__ == "__main__":
    main()
