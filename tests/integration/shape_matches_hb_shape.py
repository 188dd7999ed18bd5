#!/usr/bin/python3
"""tavrel-cli shape --json must print what Debian's hb-shape prints for the same
face, text, features, direction and language: a collection member, a font
decoded from WOFF2 (hb-shape reads the decode), lines set down, and the JP
member of Noto Sans CJK told another language (its 直骨次化羽 take other glyphs)."""
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from helpers import run  # noqa: E402

NOTO = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
IPAP = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
INTER = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"
TEXT = "「永遠」の𠮷野家、office ﬁ 2024年 直骨次化羽"
# font, face index, extra options in hb-shape's spelling
CASES = [
    (NOTO, 0, []), (NOTO, 0, ["--direction=ttb"]), (NOTO, 0, ["--features=palt,-liga,jp90=1"]),
    (NOTO, 0, ["--language=zh-Hans"]), (NOTO, 0, ["--language=ko"]),
    (NOTO, 1, ["--direction=ttb", "--features=vpal"]), (IPAP, 0, ["--direction=ttb", "--script=Jpan", "--language=ja"]),
    (DEJAVU, 0, ["--features=-kern,smcp"]), ("woff2", 0, ["--direction=ttb"]),
    (INTER, 0, ["--variations=wght=900"]), (INTER, 0, ["--variations=wght=150,slnt=-10", "--features=-kern"]),
]


def main():
    cli = sys.argv[1:]
    with tempfile.TemporaryDirectory() as folder:
        woff2 = Path(folder) / "ipagp.woff2"
        shutil.copy(IPAP, Path(folder) / "ipagp.ttf")
        subprocess.run(["woff2_compress", str(Path(folder) / "ipagp.ttf")], check=True, capture_output=True)
        failures = 0
        for font, index, options in CASES:
            ours = [str(woff2) if font == "woff2" else font, TEXT, "--json"]
            ours += ["--member", str(index)] if font.endswith("ttc") else []
            for option in options:
                ours += option.split("=", 1)
            status, out, err = run(cli, "shape", *ours)
            reference = subprocess.run(["hb-shape", "--output-format=json", "--no-glyph-names",
                                        f"--face-index={index}", *options, IPAP if font == "woff2" else font, TEXT],
                                       capture_output=True, check=True).stdout
            if status != 0 or out.strip() != reference.strip():
                failures += 1
                print(f"{font} {index} {options}: exit {status} {err}\n ours   {out[:300]}\n hb-shape {reference[:300]}")
        status, _, err = run(cli, "shape", DEJAVU, "x" * 4097)
        if status != 1 or "longer" not in err:
            failures += 1
            print(f"a text past the bound: exit {status}, {err}")
        print(f"{len(CASES)} shapings compared with hb-shape, {failures} differ")
        sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
