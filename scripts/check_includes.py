#!/usr/bin/env python3
"""Checks that every include of the product points down: a file may include
the headers of its own room and of the rooms its room stands on, directly or
through another room, and no others. The portable core (fonts/, typeset/)
includes <windows.h> only in its *_win32 files and the registration room.

Usage: check_includes.py [SOURCE_ROOT]   (exits 1 and names each wrong include)

The rooms and what each stands on mirror the target_link_libraries of the
CMake files; the README's layout table says the same in words.
"""
import pathlib
import re
import sys

STANDS_ON = {
    "fonts/text": [],
    "fonts/sfnt": ["fonts/text"],
    "fonts/tables": ["fonts/sfnt"],
    "fonts/loaders": ["fonts/sfnt"],
    "fonts/files": ["fonts/loaders"],
    "fonts/report": ["fonts/tables", "fonts/loaders"],
    "fonts/registration": ["fonts/files"],
    "typeset": ["fonts/tables"],
    "chars": ["fonts/report"],
    "capture": [],
    "res": [],
    "cli": ["typeset", "chars", "fonts/report", "fonts/files"],
    "app/base": ["fonts/registration", "fonts/report"],
    "app/drawing": ["app/base", "typeset", "capture"],
    "app/library": ["app/base", "capture"],
    "app/subject": ["app/library"],
    "app/page_controls": ["app/drawing", "chars"],
    "app/details": ["app/subject", "app/page_controls", "res"],
    "app/library_window": ["app/details", "app/subject", "app/drawing", "app/library", "app/base"],
    "app/main_window": ["app/library_window", "app/details", "app/library", "res"],
}
PORTABLE = ("fonts/", "typeset/")
SOURCE = (".h", ".cpp", ".c")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def uses(room, seen=None):
    """The room itself and every room beneath it."""
    seen = set() if seen is None else seen
    if room not in seen:
        seen.add(room)
        for lower in STANDS_ON[room]:
            uses(lower, seen)
    return seen


def room_of(relative):
    folder = relative.parent.as_posix()
    return folder if folder in STANDS_ON else None


def headers_by_name(root):
    found = {}
    for room in STANDS_ON:
        for header in (root / room).glob("*.h"):
            found.setdefault(header.name, []).append(room)
    return found


def problems_of(root, path, headers):
    relative = path.relative_to(root)
    room = room_of(relative)
    allowed = uses(room)
    text = path.read_text(encoding="utf-8")
    for quote, name in INCLUDE.findall(text):
        if quote == "<":
            if name.lower() == "windows.h" and relative.as_posix().startswith(PORTABLE) \
                    and "_win32" not in path.name and room != "fonts/registration":
                yield f"{relative}: <windows.h> in the portable core"
            continue
        if (path.parent / name).exists():
            continue  # its own room's header, as the compiler finds it first
        owners = headers.get(pathlib.PurePosixPath(name).name, [])
        if len(owners) > 1:
            yield f'{relative}: "{name}" is the name of a header in {", ".join(owners)}'
        elif owners and owners[0] not in allowed:
            yield f'{relative}: "{name}" belongs to {owners[0]}, which {room} may not use'


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    headers = headers_by_name(root)
    problems = []
    for room in STANDS_ON:
        folder = root / room
        if not folder.is_dir():
            problems.append(f"{room}: no such room")
            continue
        for path in sorted(folder.iterdir()):
            if path.suffix in SOURCE:
                problems.extend(problems_of(root, path, headers))
    for top in ("app", "fonts"):
        for path in (root / top).rglob("*"):
            if path.suffix in SOURCE and room_of(path.relative_to(root)) is None:
                problems.append(f"{path.relative_to(root)}: in no room")
    print("\n".join(problems) if problems else "every include points down")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
