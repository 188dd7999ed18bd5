#!/usr/bin/python3
"""Launch benchmark: from starting tavrel.exe under Wine with a large CJK font
on its command line to the first paint of its window, beside the smallest
Win32 window program started the same way in the same run. Also times the
font's loading alone (OpenFontFile, in-process) and tavrel.exe without a font.

A probe started before each launch polls for the window (visible, nothing left
to paint) and stamps the time; launches alternate between the programs.

usage: bench/launch_bench.py [--runs N] [FONT]
Builds what it needs and uses an X display ($DISPLAY, or an Xvfb it starts).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent
BUILD = TOP / "build" / "windows"
WINE_EXEC = TOP / "scripts" / "wine-exec"
PROBE = BUILD / "tests" / "e2e" / "tavrel-probe.exe"
DEFAULT_FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def build():
    script = 'top=$PWD && source scripts/lib/windows_build.sh && BuildWindows "$@"'
    subprocess.run(["bash", "-c", script, "build", "tavrel", "tavrel-probe", "tavrel-bench-minimal-window",
                    "tavrel-bench-font-load"], cwd=TOP, check=True)


def wait_for_text(path, text, timeout=60):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if text in path.read_text(errors="replace"):
            return
        time.sleep(0.005)
    raise RuntimeError("timed out waiting for %r in %s" % (text, path))


def launch_once(env, folder, program, window_class, arguments):
    """Seconds from starting `program` to the first paint of its window."""
    probe_log = folder / "probe.log"
    with probe_log.open("w") as out:
        probe = subprocess.Popen(["wine", str(PROBE), "wait-shown", "60000", window_class], stdout=out,
                                 stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, env=env)
    wait_for_text(probe_log, "waiting")
    with (folder / "program.log").open("w") as out:
        started = time.time()
        process = subprocess.Popen(["wine", str(program), *arguments], cwd=folder, stdout=out, stderr=out,
                                   stdin=subprocess.DEVNULL, env=env)
    if probe.wait(timeout=120) != 0:
        raise RuntimeError("%s did not show its window" % program.name)
    shown_ms = int(probe_log.read_text().split("shown ")[1].split()[0])
    subprocess.run([str(WINE_EXEC), str(PROBE), "close", "0", window_class], env=env, stdout=subprocess.DEVNULL)
    process.wait(timeout=60)
    return shown_ms / 1000.0 - started


def font_load_ms(env, font, runs):
    with tempfile.TemporaryFile() as out:
        subprocess.run([str(WINE_EXEC), str(BUILD / "bench" / "tavrel-bench-font-load.exe"), windows_path(font),
                        str(runs)], stdout=out, env=env, check=True)
        out.seek(0)
        fields = dict(line.split() for line in out.read().decode().splitlines())
    return float(fields["median_ms"]), int(fields["faces"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("font", nargs="?", default=DEFAULT_FONT)
    args = parser.parse_args()
    build()
    env = dict(os.environ, WINEPREFIX=str(TOP / "build" / "wine"), WINEDEBUG="-all")
    xvfb = None
    if not env.get("DISPLAY") or subprocess.call(["xdpyinfo"], stdout=subprocess.DEVNULL,
                                                 stderr=subprocess.DEVNULL, env=env):
        env["DISPLAY"] = ":" + str(150 + os.getpid() % 50)
        xvfb = subprocess.Popen(["Xvfb", env["DISPLAY"], "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
    folder = Path(tempfile.mkdtemp(prefix="tavrel-bench-"))
    try:
        subprocess.run(["wineserver", "-p"], env=env)
        shutil.copy(BUILD / "app" / "tavrel.exe", folder / "tavrel.exe")
        minimal = BUILD / "bench" / "tavrel-bench-minimal-window.exe"
        cases = {
            "minimal window": (minimal, "tavrel-minimal", []),
            "tavrel.exe, no font": (folder / "tavrel.exe", "tavrel", []),
            "tavrel.exe + font": (folder / "tavrel.exe", "tavrel", [windows_path(args.font)]),
        }
        for name, case in cases.items():  # warm-up: Wine's caches, the page cache
            launch_once(env, folder, *case)
        times = {name: [] for name in cases}
        for _ in range(args.runs):
            for name, case in cases.items():
                times[name].append(launch_once(env, folder, *case))
        load_ms, faces = font_load_ms(env, args.font, 3)
    finally:
        subprocess.run(["wineserver", "-k"], env=env)
        if xvfb:
            xvfb.kill()
        shutil.rmtree(folder, ignore_errors=True)

    print("font: %s (%.1f MB, %d faces listed)" % (args.font, Path(args.font).stat().st_size / 1e6, faces))
    print("launch to first paint, median of %d runs under Wine:" % args.runs)
    medians = {name: statistics.median(values) for name, values in times.items()}
    for name, median in medians.items():
        print("  %-22s %7.0f ms  (min %.0f, max %.0f)" % (name, 1000 * median, 1000 * min(times[name]),
                                                         1000 * max(times[name])))
    fastest = {name: min(values) for name, values in times.items()}
    for name in ("tavrel.exe + font", "tavrel.exe, no font"):
        print("ratio %s / minimal window: %.2f (fastest runs: %.2f)" % (
            name, medians[name] / medians["minimal window"], fastest[name] / fastest["minimal window"]))
    print("font loading inside tavrel (OpenFontFile, in-process median): %.0f ms" % load_ms)


if __name__ == "__main__":
    sys.exit(main())
