#!/usr/bin/env python3
"""Writes the ranges of characters set sideways in a vertical line as C++.

Usage: make_vertical_orientation.py VerticalOrientation.txt OUTPUT.cpp

A character whose Vertical_Orientation is R (rotated) is turned sideways;
U, Tu and Tr stand upright. Characters the file does not list are R, as the
file's own @missing line says.
"""
import sys


def upright_ranges(path):
    """The ranges that are not R, merged, ascending."""
    ranges = []
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        span, value = (part.strip() for part in line.split(";"))
        if value == "R":
            continue
        first, _, last = span.partition("..")
        start, end = int(first, 16), int(last or first, 16)
        if ranges and ranges[-1][1] + 1 == start:
            ranges[-1][1] = end
        else:
            ranges.append([start, end])
    ranges.sort()
    if len(ranges) < 50:
        sys.exit(f"{path}: only {len(ranges)} upright ranges; is this VerticalOrientation.txt?")
    return ranges


def main():
    source, output = sys.argv[1:3]
    ranges = upright_ranges(source)
    rows = "\n".join(f"    {{0x{a:X}, 0x{b:X}}}," for a, b in ranges)
    with open(output, "w", encoding="utf-8") as out:
        out.write(f"""// Made by make_vertical_orientation.py from Unicode's VerticalOrientation.txt.
#include <algorithm>
#include <iterator>

#include "vertical_orientation.h"

namespace tavrel {{

namespace {{

struct Range {{
    char32_t first, last;
}};

// Every character of these stands upright (U, Tu, Tr); the rest are R.
constexpr Range kUpright[] = {{
{rows}
}};

}}  // namespace

bool IsSetSideways(char32_t c) {{
    const auto after = std::upper_bound(std::begin(kUpright), std::end(kUpright), c,
                                        [](char32_t value, const Range& range) {{ return value < range.first; }});
    return after == std::begin(kUpright) || c > std::prev(after)->last;
}}

}}  // namespace tavrel
""")


if __name__ == "__main__":
    main()
