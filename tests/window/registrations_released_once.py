#!/usr/bin/python3
"""Runs the in-process window tests that register fonts and take them back
(a reset, a close, a load running out of memory, a folder closed part way)
with Wine's font trace on and checks, from the trace, that every handle
AddFontMemResourceEx returned was passed to RemoveFontMemResourceEx exactly
once by the time the program ended. Wine's RemoveFontMemResourceEx accepts any
handle, so only its trace shows a handle removed twice or never."""
import collections
import os
import re
import subprocess
import sys
import tempfile

TESTS = "FontsTest.*:ChooserTest.*:FoldersTest.*"


def main():
    wine_exec, tests = sys.argv[1], sys.argv[2]
    env = dict(os.environ, WINEDEBUG="fixme+font,trace+font")
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.call([wine_exec, tests, "--gtest_brief=1", "--gtest_filter=" + TESTS], stdout=out,
                                 stderr=err, env=env, stdin=subprocess.DEVNULL)
        err.seek(0)
        trace = err.read().decode("utf-8", "replace")
        out.seek(0)
        sys.stdout.write(out.read().decode("utf-8", "replace")[-2000:])
    if status != 0:
        sys.exit("the window tests failed (exit %d)" % status)
    added = re.findall(r"NtGdiAddFontMemResourceEx Returning handle (0x[0-9a-f]+)", trace)
    removed = collections.Counter(re.findall(r"NtGdiRemoveFontMemResourceEx \((0x[0-9a-f]+)\)", trace))
    if not added:
        sys.exit("no font was registered: the trace is not what this check expects")
    wrong = {h: removed[h] for h in added if removed[h] != 1}
    strays = set(removed) - set(added)
    print("%d registrations, %d removals" % (len(added), sum(removed.values())))
    if wrong or strays:
        sys.exit("removal counts other than one: %s; removed but never registered: %s" % (wrong, sorted(strays)))


if __name__ == "__main__":
    main()
