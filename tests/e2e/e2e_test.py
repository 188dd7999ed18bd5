#!/usr/bin/python3
"""End-to-end tests of the real tavrel.exe under Wine on the X display that
scripts/test starts: each test copies the program into a folder of its own
(its settings file lies beside it), starts it as a person would, acts through
xdotool, reads the window from another Windows process (tavrel-probe), its
pixels from the X screen and the settings file after closing.

The Wine prefix opens every window inside one virtual desktop (scripts/setup),
where frames can be dragged and Wine returns the program's exit code. That a
copy alone in a folder starts at all shows that tavrel.exe needs no DLL beside it.

usage: e2e_test.py WINE_EXEC TAVREL_EXE PROBE_EXE OBJDUMP CLI_EXE VERSION [unittest arguments]
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

(WINE_EXEC, TAVREL, PROBE, OBJDUMP, CLI), VERSION = (Path(a) for a in sys.argv[1:6]), sys.argv[6]
TOP = WINE_EXEC.resolve().parent.parent
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
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
    """tavrel-probe's output as a list of (key, value) pairs, or None when it fails."""
    with tempfile.TemporaryFile() as out:
        status = subprocess.call([str(WINE_EXEC), str(PROBE), *args], stdout=out, stderr=subprocess.DEVNULL,
                                 stdin=subprocess.DEVNULL, env=ENV)
        out.seek(0)
        lines = out.read().decode("utf-8").splitlines()
    if status != 0:
        return None
    return [tuple(line.split(" ", 1)) if " " in line else (line, "") for line in lines]


def state(window_class="tavrel"):
    pairs = probe("state", "0", window_class)
    assert pairs is not None, "no tavrel window to read"
    values = {}
    for key, value in pairs:
        values.setdefault(key, []).append(value)
    return values


def rect(values, role="window"):
    left, top, right, bottom = (int(v) for v in values[role + "-rect"][0].split())
    return left, top, right, bottom


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, env=ENV, stdout=subprocess.DEVNULL)


def desktop_origin():
    """Where Wine's virtual desktop lies on the X screen: Windows screen
    coordinates count from there."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine desktop"],
                           capture_output=True, text=True, env=ENV).stdout.split()
    if not found:
        return 0, 0
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]], capture_output=True,
                              text=True, env=ENV).stdout
    fields = dict(line.split("=", 1) for line in geometry.split())
    return int(fields["X"]), int(fields["Y"])


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


def bmp_size(data):
    """Width and height from a BMP file's header."""
    assert data[:2] == b"BM", data[:16]
    width, height = struct.unpack_from("<ii", data, 18)
    return width, abs(height)


def read_settings(path):
    data = path.read_bytes()
    utf16 = data.startswith(b"\xff\xfe")
    text = data[2:].decode("utf-16-le") if utf16 else data.decode("cp1252")
    pairs = [line.split("=", 1) for line in text.splitlines() if "=" in line]
    # Wine writes " %d" as "x=10", Windows as "x= 10".
    return utf16, [(key, value[1:] if value.startswith(" ") else value) for key, value in pairs]


class BellListener:
    """Counts the X bells: Wine rings one for every MessageBeep."""

    def __init__(self, folder):
        program = folder / "bell_listener"
        subprocess.run(["cc", "-O", "-o", str(program), str(Path(__file__).with_name("bell_listener.c")), "-lX11"],
                       check=True)
        self.log = folder / "bells.log"
        self.output = self.log.open("w")
        self.process = subprocess.Popen([str(program)], stdout=self.output, env=ENV)
        poll(lambda: "ready" in self.log.read_text(), "the bell listener")

    def count(self):
        return self.log.read_text().count("bell")

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.output.close()


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
            info = dict(probe("version", windows_path(program.resolve())) or [])
            self.assertEqual(info, {"ProductName": "tavrel", "ProductVersion": VERSION,
                                    "FileDescription": description, "FileVersion": VERSION,
                                    "LegalCopyright": "Copyright (c) 2026 the tavrel developers"}, program)


class RealProgramTest(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="tavrel-e2e-"))
        self.exe = self.folder / "tavrel.exe"
        shutil.copy(TAVREL, self.exe)
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

    def close_with_esc(self):
        self.click_into(state(), "sample")
        xdotool("key", "Escape")
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.assertIsNotNone(probe("wait-gone", "10000"))

    def test_font_on_the_command_line_is_shown_under_its_full_name_whatever_its_path_and_esc_closes(self):
        folder = self.folder.joinpath(*["a-rather-long-folder-name"] * 12)  # over 300 characters
        folder.mkdir(parents=True)
        values = self.start(windows_path(shutil.copy(IPA_GOTHIC, folder / "ipag.ttf")))
        self.assertEqual(values["face"], ["IPAゴシック"])
        self.assertEqual(values["face-item"], ["IPAゴシック"])
        self.assertEqual(values["sample"], [DEFAULT_SAMPLE])
        self.close_with_esc()
        utf16, pairs = read_settings(self.ini)
        self.assertTrue(utf16)
        self.assertEqual(dict(pairs)["string"], "フォントの世界は永遠です。\\nHello, font world! 0123")

    def test_window_is_drawn_as_windows_would_draw_it(self):
        values = self.start(windows_path(IPA_GOTHIC))
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
        self.close_with_esc()

    def assert_drawn(self, checks):
        """Until each check holds for the colours in its box: X shows what Wine paints a moment later."""
        def failing():
            shot = screen(self.origin)
            return [what for what, (box, check) in checks.items() if not check(shot(*box))]
        poll(lambda: not failing(), "the window to be drawn", timeout=10, shown=failing)

    def test_ctrl_c_puts_a_picture_of_the_sample_area_and_no_text_on_the_x_clipboard(self):
        values = self.start()
        width, height = (int(v) for v in values["sample-client"][0].split())
        # Text from an X program first, so neither an earlier picture nor a
        # copy of the selected text can pass for the capture.
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"from X", env=ENV, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        poll(lambda: x_clipboard("UTF8_STRING") == b"from X", "the X text on the clipboard")
        self.click_into(values, "sample")
        xdotool("key", "ctrl+a", "ctrl+c")
        targets = poll(lambda: (lambda t: t if t and b"image/bmp" in t.split() else None)(x_clipboard("TARGETS")),
                       "a bitmap on the X clipboard", shown=lambda: x_clipboard("TARGETS"))
        self.assertFalse({b"UTF8_STRING", b"STRING", b"TEXT", b"text/plain"} & set(targets.split()), targets)
        self.assertEqual(bmp_size(x_clipboard("image/bmp")), (width, height))
        self.close_with_esc()

    def open_details_over_x_text(self):
        """Starts with IPA Gothic, puts X's own text on the clipboard, opens the details dialog."""
        self.start(windows_path(IPA_GOTHIC))
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"from X", env=ENV, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        poll(lambda: x_clipboard("UTF8_STRING") == b"from X", "the X text on the clipboard")
        self.assertIsNotNone(probe("command", "40012"))
        self.assertIsNotNone(probe("wait-shown", "30000", "#32770"), "the dialog did not show")

    def test_face_details_reach_the_x_clipboard_as_text_and_esc_closes_only_the_dialog(self):
        self.open_details_over_x_text()
        dialog = dict(probe("state", "0", "#32770"))
        self.assertEqual(dialog["title"], "フォントの詳細 - IPAゴシック")
        left, top, right, bottom = (int(v) for v in dialog["window-rect"].split())
        self.click((left + right) // 2, (top + bottom) // 2)
        xdotool("key", "ctrl+c")
        copied = poll(lambda: (lambda t: t if t and t != b"from X" else None)(x_clipboard("UTF8_STRING")),
                      "the page's text on the X clipboard").decode("utf-8")
        rows = [line.split("\t") for line in copied.splitlines()]
        self.assertTrue(len(rows) > 10 and all(len(row) == 2 for row in rows), copied)
        self.assertIn("IPAゴシック", [value for _, value in rows])
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "#32770"))
        self.assertEqual(state()["face"], ["IPAゴシック"], "the main window and its font stay")
        self.close_with_esc()

    def test_a_character_found_on_the_grid_page_reaches_the_x_clipboard(self):
        self.open_details_over_x_text()
        left, top = (int(v) for v in dict(probe("state", "0", "#32770"))["tab-rect"].split()[:2])
        self.click(left + 15, top + 10)  # the first tab; Right shows the grid, Shift+Tab goes to its search box
        xdotool("key", "Right", "shift+Tab")
        xdotool("type", "U+6C38")
        xdotool("key", "ctrl+c")
        poll(lambda: x_clipboard("UTF8_STRING") == "永".encode(), "the character on the X clipboard",
             shown=lambda: x_clipboard("UTF8_STRING"))
        xdotool("key", "Escape")
        self.assertIsNotNone(probe("wait-gone", "10000", "#32770"))
        self.close_with_esc()

    def test_window_cannot_be_dragged_smaller_than_320_by_120(self):
        left, top, right, bottom = rect(self.start())
        xdotool("mousemove", self.origin[0] + right - 2, self.origin[1] + bottom - 2, "mousedown", 1,
                "mousemove", self.origin[0] + right - 200, self.origin[1] + bottom - 100,
                "mousemove", self.origin[0] + left + 5, self.origin[1] + top + 5, "mouseup", 1)
        size = poll(lambda: (lambda r: (r[2] - r[0], r[3] - r[1]) if r[2] - r[0] < 640 else None)(rect(state())),
                    "the window to shrink")
        self.assertEqual(size, (320, 120))
        self.close_with_esc()
        pairs = dict(read_settings(self.ini)[1])
        self.assertEqual((pairs["width"], pairs["height"]), ("320", "120"))

    def test_size_box_beeps_at_a_letter_and_applies_each_number(self):
        bells = BellListener(self.folder)
        try:
            values = self.start()
            self.click_into(values, "size")
            xdotool("key", "End", "BackSpace", "BackSpace", "1")
            poll(lambda: state()["size"] == ["1"], "the size box to show 1", shown=lambda: state()["size"])
            self.assertEqual(bells.count(), 0)
            xdotool("key", "a")
            poll(lambda: bells.count() == 1, "one beep at the letter")
            xdotool("key", "BackSpace", "6")
            poll(lambda: state()["size"] == ["16"], "the size box to show 16")
            self.assertEqual(bells.count(), 1)
            self.close_with_esc()
        finally:
            bells.stop()
        self.assertEqual(dict(read_settings(self.ini)[1])["pt"], "16")

    def test_second_start_restores_size_text_point_size_and_colours(self):
        colours = {"fontColorR": "200", "fontColorG": "10", "fontColorB": "20",
                   "backgroundColorR": "0", "backgroundColorG": "0", "backgroundColorB": "64"}
        self.ini.write_bytes(b"\xff\xfe" + ("[SystemSetting]\r\n" + "".join(
            "%s=%s\r\n" % item for item in colours.items())).encode("utf-16-le"))
        values = self.start()
        left, top, right, bottom = rect(values)
        xdotool("mousemove", self.origin[0] + right - 2, self.origin[1] + bottom - 2, "mousedown", 1,
                "mousemove", self.origin[0] + right + 30, self.origin[1] + bottom + 20,
                "mousemove", self.origin[0] + right + 58, self.origin[1] + bottom + 38, "mouseup", 1)
        poll(lambda: rect(state())[2] > right, "the window to grow")
        self.click_into(values, "sample")
        xdotool("key", "ctrl+End", "Return")
        xdotool("type", "Typed line")
        self.click_into(values, "size")
        xdotool("key", "End", "BackSpace", "BackSpace", "3", "6")
        poll(lambda: state()["size"] == ["36"], "the size box to show 36")
        first = state()
        self.close_with_esc()
        saved = dict(read_settings(self.ini)[1])

        second = self.start()
        self.assertEqual(rect(second), rect(first))
        self.assertEqual(second["sample"], first["sample"])
        self.assertTrue(second["sample"][0].endswith("\\r\\nTyped line"), second["sample"])
        self.assertEqual(second["size"], ["36"])
        self.close_with_esc()
        again = dict(read_settings(self.ini)[1])
        self.assertEqual(again, saved)
        for key, value in colours.items():
            self.assertEqual(again[key], value, key)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[7:]])
