#!/usr/bin/python3
"""End-to-end tests of the real tavrel.exe under Wine on the X display: each
test starts a copy alone in a folder of its own, its settings file beside it
(that it starts at all shows it needs no DLL there), acts through xdotool and
reads the window through tavrel-probe, another Windows process.

The Wine prefix opens every window inside one virtual desktop (scripts/setup),
where frames can be dragged and Wine returns the program's exit code.

usage: e2e_test.py WINE_EXEC TAVREL_EXE PROBE_EXE OBJDUMP CLI_EXE VERSION [unittest arguments]
"""
import contextlib
import csv
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from fontTools.ttLib import TTFont

(WINE_EXEC, TAVREL, PROBE, OBJDUMP, CLI), VERSION = (Path(a) for a in sys.argv[1:6]), sys.argv[6]
TOP = WINE_EXEC.resolve().parent.parent
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
DEJAVU_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"  # a licence of many lines
DEFAULT_SAMPLE = "フォントの世界は永遠です。\\r\\nHello, font world! 0123"
ENV = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
ENV.setdefault("WINEPREFIX", str(TOP / "build" / "wine"))


def poll(condition, what, timeout=30.0, shown=lambda: ""):
    """Waits until condition() gives something true and returns it."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    raise AssertionError("timed out waiting for %s %s" % (what, shown()))


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def probe(*args):
    """tavrel-probe's output as {key: [value of each line with that key]}, or None when it fails."""
    with tempfile.TemporaryFile() as out:
        status = subprocess.call([str(WINE_EXEC), str(PROBE), *args], stdout=out, stderr=subprocess.DEVNULL,
                                 stdin=subprocess.DEVNULL, env=ENV)
        out.seek(0)
        values = {}
        for key, _, value in (line.partition(" ") for line in out.read().decode("utf-8").splitlines()):
            values.setdefault(key, []).append(value)
    return values if status == 0 else None


def state(window_class="tavrel"):
    values = probe("state", "0", window_class)
    assert values is not None, "no %s window to read" % window_class
    return values


def rect(values, role="window"):
    return tuple(int(v) for v in values[role + "-rect"][0].split())


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, env=ENV, stdout=subprocess.DEVNULL)


def desktop_origin():
    """Where Wine's virtual desktop lies on the X screen: Windows screen
    coordinates count from there."""
    geometry = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine desktop", "getwindowgeometry",
                               "--shell"], capture_output=True, text=True, env=ENV).stdout
    fields = dict(line.split("=", 1) for line in geometry.split())
    return int(fields.get("X", 0)), int(fields.get("Y", 0))


def screen(origin):
    """What the X screen shows now, as a function from a box in Windows screen coordinates to its pixels' colours."""
    ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True, check=True,
                         env=ENV).stdout
    _, size, _, data = ppm.split(b"\n", 3)
    row = 3 * int(size.split()[0])
    return lambda left, top, right, bottom: {
        (x, y): tuple(data[i:i + 3]) for y in range(top, bottom) for x in range(left, right)
        for i in [row * (origin[1] + y) + 3 * (origin[0] + x)]}


def distinct_shapes(points):
    """How many differently drawn 8-connected shapes the points make."""
    shapes = set()
    while points:
        todo, shape = [points.pop()], set()
        while todo:
            near = {(todo[-1][0] + dx, todo[-1][1] + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)} & points
            shape.add(todo.pop())
            points -= near
            todo += near
        shapes.add(frozenset((x - min(shape)[0], y - min(y for _, y in shape)) for x, y in shape))
    return len(shapes)


def x_clipboard(target):
    """What the X clipboard offers as `target`, read with xclip, or None."""
    try:
        done = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target], capture_output=True,
                              env=ENV, timeout=10)
    except subprocess.TimeoutExpired:
        return None
    return done.stdout if done.returncode == 0 else None


def bitmap_targets():
    """What the X clipboard offers when a bitmap is among it, else None."""
    targets = x_clipboard("TARGETS")
    return targets if targets and b"image/bmp" in targets.split() else None


def put_x_text():
    """Text from an X program on the clipboard, so that nothing copied earlier can pass for what a test copies."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"from X", env=ENV, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    poll(lambda: x_clipboard("UTF8_STRING") == b"from X", "the X text on the clipboard")


def read_settings(path):
    """The settings file's keys and values; it must be UTF-16 with a byte order mark."""
    data = path.read_bytes()
    assert data.startswith(b"\xff\xfe"), data[:16]
    pairs = [line.split("=", 1) for line in data[2:].decode("utf-16-le").splitlines() if "=" in line]
    # Wine writes " %d" as "x=10", Windows as "x= 10".
    return {key: value[1:] if value.startswith(" ") else value for key, value in pairs}


@contextlib.contextmanager
def bells(folder):
    """A count of the X bells so far: Wine rings one for every MessageBeep."""
    program, log = folder / "bell_listener", folder / "bells.log"
    subprocess.run(["cc", "-O", "-o", str(program), str(Path(__file__).with_name("bell_listener.c")), "-lX11"],
                   check=True)
    with log.open("w") as output, subprocess.Popen([str(program)], stdout=output, env=ENV) as listener:
        try:
            poll(lambda: "ready" in log.read_text(), "the bell listener")
            yield lambda: log.read_text().count("bell")
        finally:
            listener.kill()


class ExecutableTest(unittest.TestCase):
    def test_gui_subsystem_importing_only_system_libraries(self):
        headers = subprocess.run([str(OBJDUMP), "-p", str(TAVREL)], capture_output=True, text=True,
                                 check=True).stdout
        self.assertRegex(headers, r"Subsystem\s+00000002\s+\(Windows GUI\)")
        imported = {line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line}
        system = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
                  "shlwapi.dll", "msvcrt.dll", "advapi32.dll", "ole32.dll"}
        self.assertLessEqual(imported, system, "libraries that Windows does not ship")

    def test_both_programs_carry_the_build_version_in_their_version_resource(self):
        for program, description in ((TAVREL, "tavrel font viewer"), (CLI, "tavrel command-line companion")):
            self.assertEqual(probe("version", windows_path(program.resolve())), {
                "ProductName": ["tavrel"], "ProductVersion": [VERSION], "FileDescription": [description],
                "FileVersion": [VERSION], "LegalCopyright": ["Copyright (c) 2026 the tavrel developers"]}, program)


class RealProgramTest(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="tavrel-e2e-"))
        self.exe = Path(shutil.copy(TAVREL, self.folder / "tavrel.exe"))
        self.ini = self.folder / "tavrel.ini"
        self.process = None
        self.log = (self.folder / "tavrel.log").open("w")

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
            probe("wait-gone", "10000")
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self, *arguments):
        self.process = subprocess.Popen(["wine", str(self.exe), *arguments], cwd=self.folder, stdout=self.log,
                                        stderr=self.log, stdin=subprocess.DEVNULL, env=ENV)
        self.assertIsNotNone(probe("wait-shown", "60000"), "the window did not show")
        self.origin = desktop_origin()
        return state()

    def click(self, x, y):
        xdotool("mousemove", self.origin[0] + x, self.origin[1] + y, "click", 1)

    def click_into(self, values, role):
        left, top, right, bottom = rect(values, role)
        self.click(left + 20, (top + bottom) // 2 if role != "sample" else top + 20)

    def type_size(self, values, *keys):
        self.click_into(values, "size")
        xdotool("key", "End", "BackSpace", "BackSpace", *keys)
        poll(lambda: state()["size"] == ["".join(keys)], "the size box to show " + "".join(keys),
             shown=lambda: state()["size"])

    def close_with_esc(self, role="sample"):
        self.click_into(state(), role)
        xdotool("key", "Escape")
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.assertIsNotNone(probe("wait-gone", "10000"))

    def test_window_is_drawn_as_windows_would_draw_it(self):
        # The first font of the command line is shown under its full name, whatever its path; the second is not opened.
        folder = self.folder.joinpath(*["a-rather-long-folder-name"] * 12)  # over 300 characters
        folder.mkdir(parents=True)
        values = self.start(windows_path(shutil.copy(IPA_GOTHIC, folder / "ipag.ttf")), windows_path(DEJAVU_SANS))
        self.assertEqual((values["face"], values["face-item"], values["sample"]),
                         (["IPAゴシック"], ["IPAゴシック"], [DEFAULT_SAMPLE]))
        window, face, size, sample = (rect(values, role) for role in ("window", "face", "size", "sample"))
        edge = (sample[2] - sample[0] - int(values["sample-client"][0].split()[0])) // 2
        button_face = tuple(int(v) for v in values["button-face"][0].split())

        def glyphs(least):
            # A character the font lacks shows as an empty box, the same shape for all.
            def check(colours):
                background = max(set(colours.values()), key=list(colours.values()).count)
                return distinct_shapes({p for p, c in colours.items()
                                        if sum(abs(a - b) for a, b in zip(c, background)) > 200}) >= least
            return check

        def minimize_is_a_bar(colours):
            # Marlett's minimize glyph, the leftmost black shape; a font without it shows "0".
            dark = [p for p, c in colours.items() if max(c) < 64]
            left = min([x for x, _ in dark], default=0)
            return 0 < len({y for x, y in dark if x < left + 5}) <= 3

        self.assert_drawn({
            "toolbar right of its last button in the button-face colour": (
                (size[2] + 120, face[1], window[2] - 8, face[3]), lambda c: set(c.values()) == {button_face}),
            "face box showing its Japanese name in glyphs": (
                (face[0] + 3, face[1] + 3, face[2] - 20, face[3] - 3), glyphs(len(set(values["face"][0])))),
            "caption buttons drawn in Marlett": ((window[2] - 80, window[1], window[2], window[1] + 24), minimize_is_a_bar),
            # The first line starts 5 pixels into the sample's client area.
            "nothing dark in the sample's margin above the first line": (
                (sample[0] + edge, sample[1] + edge, sample[2] - edge, sample[1] + edge + 3),
                lambda c: min(max(colour) for colour in c.values()) >= 128)})
        self.click(face[0] - 13, (face[1] + face[3]) // 2)
        self.assertIsNotNone(probe("wait-shown", "10000", "#32768"), "the popup menu did not show")
        left, top, right, bottom = rect(state("#32768"))
        self.assert_drawn({"popup menu in glyphs, its twenty kana and kanji": (
            (left + 3, top + 3, right - 3, bottom - 3), glyphs(20))})
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "#32768"))
        self.click_into(values, "sample")
        xdotool("key", "shift+F10")
        self.assertIsNotNone(probe("wait-shown", "10000", "#32768"), "Shift+F10 did not open the popup menu")
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "#32768"))
        self.close_with_esc()

    def test_esc_on_the_open_face_list_closes_the_list_and_not_the_window(self):
        self.click_into(self.start(windows_path(IPA_GOTHIC)), "face")
        poll(lambda: state()["face-dropped"] == ["1"], "the face box's list to open")
        xdotool("key", "Escape")
        poll(lambda: state()["face-dropped"] == ["0"], "the list to close")
        self.close_with_esc()

    def assert_drawn(self, checks):
        """Until each check holds for the colours in its box: X shows what Wine paints a moment later."""
        def failing():
            shot = screen(self.origin)
            return [what for what, (box, check) in checks.items() if not check(shot(*box))]
        poll(lambda: not failing(), "the window to be drawn", timeout=10, shown=failing)

    def test_ctrl_c_puts_a_picture_of_the_sample_area_and_no_text_on_the_x_clipboard(self):
        values = self.start()
        put_x_text()
        self.click_into(values, "sample")
        xdotool("key", "ctrl+a", "ctrl+c")
        targets = poll(bitmap_targets, "a bitmap on the X clipboard", shown=lambda: x_clipboard("TARGETS"))
        self.assertFalse({b"UTF8_STRING", b"STRING", b"TEXT", b"text/plain"} & set(targets.split()), targets)
        bmp = x_clipboard("image/bmp")
        self.assertEqual(bmp[:2], b"BM")
        width, height = struct.unpack_from("<ii", bmp, 18)
        self.assertEqual("%d %d" % (width, abs(height)), values["sample-client"][0])
        self.close_with_esc()

    def test_face_details_pages_copy_from_the_keyboard_and_esc_closes_only_the_dialog(self):
        self.start(windows_path(DEJAVU_SANS))
        put_x_text()
        self.assertIsNotNone(probe("command", "40012"))
        self.assertIsNotNone(probe("wait-shown", "30000", "#32770"), "the dialog did not show")
        dialog = state("#32770")
        left, top, right, bottom = rect(dialog)
        self.click(left + 20, bottom - 20)  # beside the buttons: no row selected, the whole page is copied
        xdotool("key", "ctrl+c")
        copied = poll(lambda: (lambda t: t if t and t != b"from X" else None)(x_clipboard("UTF8_STRING")),
                      "the page's text on the X clipboard").decode("utf-8")
        rows = list(csv.reader(io.StringIO(copied), "excel-tab"))
        self.assertTrue(len(rows) > 10 and all(len(row) == 2 for row in rows), copied)
        self.click((left + right) // 2, (top + bottom) // 2)  # a row selected: that row alone
        xdotool("key", "ctrl+c")
        poll(lambda: x_clipboard("UTF8_STRING").count(b"\n") == 1, "one row on the X clipboard")
        left, top = rect(dialog, "tab")[:2]
        self.click(left + 15, top + 10)  # the first tab; Right shows the grid, the focus staying on the strip
        xdotool("key", "Right", "Tab")
        xdotool("type", "U+00E9")
        xdotool("key", "ctrl+c")
        poll(lambda: x_clipboard("UTF8_STRING") == "é".encode(), "the character found on the X clipboard",
             shown=lambda: x_clipboard("UTF8_STRING"))
        xdotool("key", "Tab", "End", "ctrl+c")
        last = chr(max(TTFont(DEJAVU_SANS).getBestCmap()))
        poll(lambda: x_clipboard("UTF8_STRING") == last.encode(), "the face's last character on the X clipboard",
             shown=lambda: x_clipboard("UTF8_STRING"))
        xdotool("key", "Return")  # into the sample beside the dialog, which stays open
        poll(lambda: last in state()["sample"][0], "the character inserted into the sample", shown=lambda: state()["sample"])
        # Ctrl+Tab turns to the waterfall, then to the typesetting page, whose focus is in its feature list (in its
        # text box Ctrl+C would copy text): each copies a picture.
        for page in ("waterfall", "typesetting"):
            put_x_text()
            xdotool("key", "ctrl+Tab", "ctrl+c")
            poll(bitmap_targets, "a picture of the %s page on the X clipboard" % page,
                 shown=lambda: x_clipboard("TARGETS"))
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "#32770"))
        self.close_with_esc()  # the main window stays

    def test_ctrl_l_opens_the_library_whose_rows_copy_and_esc_closes_only_the_library(self):
        self.click_into(self.start(windows_path(DEJAVU_SANS)), "sample")
        xdotool("key", "ctrl+l")
        self.assertIsNotNone(probe("wait-shown", "30000", "TavrelLibraryWindow"), "Ctrl+L did not open the library")
        put_x_text()
        xdotool("key", "Down", "ctrl+c")  # the list has the keys: its first row, copied
        copied = poll(lambda: (lambda t: t if t and t != b"from X" else None)(x_clipboard("UTF8_STRING")),
                      "the row on the X clipboard").decode("utf-8")
        self.assertEqual(next(csv.reader(io.StringIO(copied), "excel-tab"))[:2],
                         ["DejaVu Sans", windows_path(DEJAVU_SANS)])
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "TavrelLibraryWindow"))
        self.close_with_esc()  # the main window stays

    def test_size_box_beeps_at_a_letter_and_not_at_digits_and_esc_keeps_the_size(self):
        with bells(self.folder) as rung:
            self.type_size(self.start(), "1", "6")
            xdotool("key", "a")
            poll(lambda: rung() >= 1, "a beep at the letter")
            self.close_with_esc("size")
            self.assertEqual(rung(), 1)
        self.assertEqual(read_settings(self.ini)["pt"], "16")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[7:]])
