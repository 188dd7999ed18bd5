// The settings file: defaults on the first start, the twelve keys written on
// closing, and what survives a round trip.

#include <fstream>

#include "app_state.h"
#include "settings_file.h"
#include "settings_text.h"
#include "window_placement.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

const std::wstring kDefaultSample = L"フォントの世界は永遠です。\r\nHello, font world! 0123";

// Wine writes " %d" as "x=10", Windows as "x= 10": the private-profile
// functions of Windows keep the blank, Wine's drop it.
std::wstring Number(const SettingsFile& file, const std::wstring& key) {
    std::wstring value = file.Value(key);
    if (!value.empty() && value.front() == L' ') value.erase(0, 1);
    return value;
}

COLORREF BackgroundOf(const CHARFORMAT2W& format) { return format.crBackColor; }

void ExpectWindowRect(HWND hwnd, int x, int y, int width, int height) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(window.left, x);
    EXPECT_EQ(window.top, y);
    EXPECT_EQ(window.right - window.left, width);
    EXPECT_EQ(window.bottom - window.top, height);
}

using SettingsTest = MainWindowTest;

TEST_F(SettingsTest, FirstStartShowsTheDefaultsAndClosingWritesTwelveKeysInOrder) {
    OpenWindow();
    ExpectWindowRect(hwnd_, 10, 10, 640, 360);
    EXPECT_EQ(SampleText(), kDefaultSample);
    EXPECT_EQ(SizeBoxText(), L"24");
    const CHARFORMAT2W all = FormatOf(0, TextLength());
    EXPECT_EQ(all.yHeight, 24 * 20);
    EXPECT_EQ(all.crTextColor, RGB(0, 0, 0));
    EXPECT_FALSE(all.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(BackgroundOf(all), RGB(255, 255, 255));
    CloseWindow();

    const SettingsFile file = ReadSettingsFile();
    EXPECT_TRUE(file.utf16) << "a new settings file must be UTF-16, or Japanese text turns into question marks";
    std::vector<std::wstring> order;
    for (const auto& key : file.keys) order.push_back(key.first);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"x", L"y", L"width", L"height", L"pt", L"string", L"fontColorR",
                                                L"fontColorG", L"fontColorB", L"backgroundColorR",
                                                L"backgroundColorG", L"backgroundColorB"}));
    const std::vector<std::pair<std::wstring, std::wstring>> numbers = {
        {L"x", L"10"},         {L"y", L"10"},         {L"width", L"640"},           {L"height", L"360"},
        {L"pt", L"24"},        {L"fontColorR", L"0"}, {L"fontColorG", L"0"},        {L"fontColorB", L"0"},
        {L"backgroundColorR", L"255"}, {L"backgroundColorG", L"255"}, {L"backgroundColorB", L"255"}};
    for (const auto& [key, value] : numbers) EXPECT_EQ(Number(file, key), value) << Utf8(key);
    EXPECT_EQ(file.Value(L"string"), L"フォントの世界は永遠です。\\nHello, font world! 0123");
}

TEST_F(SettingsTest, SampleTextRoundTrips) {
    const std::wstring longSample(300, L'x');
    struct Case {
        std::wstring typed, stored, shownNextTime;
    };
    const Case cases[] = {
        {L"first line\r\nsecond line", L"first line\\nsecond line", L"first line\r\nsecond line"},
        {L"C:\\new folder", L"C:\\new folder", L"C:\r\new folder"},
        {L"日本語のテキスト、かなカナ漢字", L"日本語のテキスト、かなカナ漢字", L"日本語のテキスト、かなカナ漢字"},
        {longSample, std::wstring(259, L'x'), std::wstring(259, L'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.typed.substr(0, 40)));
        DeleteFileW(SettingsPath().c_str());
        OpenWindow();
        SetWindowTextW(appState.hwndSample, c.typed.c_str());
        CloseWindow();
        EXPECT_EQ(ReadSettingsFile().Value(L"string"), c.stored);
        OpenWindow();
        EXPECT_EQ(SampleText(), c.shownNextTime);
        CloseWindow();
    }
}

TEST_F(SettingsTest, StoredValuesComeBackOnTheNextStart) {
    WriteSettingsFile(
        L"[SystemSetting]\r\nx=120\r\ny=80\r\nwidth=500\r\nheight=300\r\npt=36\r\nstring=abc\r\n"
        L"fontColorR=300\r\nfontColorG=0\r\nfontColorB=0\r\n"
        L"backgroundColorR=255\r\nbackgroundColorG=256\r\nbackgroundColorB=255\r\n");
    OpenWindow();
    ExpectWindowRect(hwnd_, 120, 80, 500, 300);
    EXPECT_EQ(SampleText(), L"abc");
    EXPECT_EQ(SizeBoxText(), L"36");
    const CHARFORMAT2W all = FormatOf(0, TextLength());
    EXPECT_EQ(all.yHeight, 36 * 20);
    // Each channel keeps the low 8 bits: 300 is 44, 256 is 0.
    EXPECT_EQ(all.crTextColor, RGB(44, 0, 0));
    EXPECT_EQ(BackgroundOf(all), RGB(255, 0, 255));
    CloseWindow();
    const SettingsFile file = ReadSettingsFile();
    EXPECT_EQ(Number(file, L"fontColorR"), L"44");
    EXPECT_EQ(Number(file, L"backgroundColorG"), L"0");
}

// An empty "string" is an empty sample; only a missing one is the default.
TEST_F(SettingsTest, UnusualSizesAndTextsAreReadSoundly) {
    struct Case {
        std::wstring lines, sizeBox, sample;
    };
    const Case cases[] = {
        {L"pt=0\r\n", L"0", kDefaultSample},
        {L"pt=-5\r\nstring=\r\n", L"24", L""},
        {L"pt=99999\r\nstring=x\r\n", L"1638", L"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.lines));
        WriteSettingsFile(L"[SystemSetting]\r\n" + c.lines);
        OpenWindow();
        EXPECT_EQ(SizeBoxText(), c.sizeBox);
        EXPECT_EQ(FormatOf(0, 1).yHeight, std::stoi(c.sizeBox) * 20);
        EXPECT_EQ(SampleText(), c.sample);
        CloseWindow();
        EXPECT_EQ(Number(ReadSettingsFile(), L"pt"), c.sizeBox);
    }
}

// What GetWindowPlacement reports back for a window at `screen`: the
// rectangle less the offset of its monitor's work area.
POINT WorkspacePositionOf(POINT screen, const MonitorAreas& monitor) {
    return {screen.x - (monitor.work.left - monitor.screen.left), screen.y - (monitor.work.top - monitor.screen.top)};
}

TEST(ScreenPositionOf, RestoresWorkspaceCoordinatesAndBringsLostWindowsBack) {
    const MonitorAreas plain{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
    const MonitorAreas barAtTop{{0, 0, 1024, 768}, {0, 40, 1024, 768}};
    const MonitorAreas barAtLeft{{0, 0, 1024, 768}, {60, 0, 1024, 768}};
    const MonitorAreas rightOne{{1024, 0, 2048, 768}, {1024, 30, 2048, 768}};
    const MonitorAreas aboveOne{{0, -600, 800, 0}, {0, -600, 800, -40}};
    struct Case {
        WindowRect stored;
        std::vector<MonitorAreas> monitors;
        POINT screen;
        bool onScreen;
    };
    const Case cases[] = {
        {{10, 10, 640, 360}, {plain}, {10, 10}, true},
        {{10, 10, 640, 360}, {barAtTop}, {10, 50}, true},
        {{10, 10, 640, 360}, {barAtLeft}, {70, 10}, true},
        {{1100, 10, 640, 360}, {barAtTop, rightOne}, {1100, 40}, true},
        {{100, -500, 400, 300}, {barAtTop, aboveOne}, {100, -500}, true},
        // Off every monitor: inside the nearest work area.
        {{1100, 10, 640, 360}, {barAtTop}, {384, 50}, false},
        {{-3000, -3000, 640, 360}, {barAtLeft}, {60, 0}, false},
        {{3000, 100, 640, 360}, {barAtTop, rightOne}, {1408, 130}, false},
        {{5000, 5000, 4000, 3000}, {barAtTop}, {0, 40}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored.x) + "," + std::to_string(c.stored.y));
        const POINT screen = ScreenPositionOf(c.stored, c.monitors);
        EXPECT_EQ(screen.x, c.screen.x);
        EXPECT_EQ(screen.y, c.screen.y);
        if (!c.onScreen) continue;
        // Start and close ten times: the stored place stays where it was.
        WindowRect stored = c.stored;
        for (int start = 0; start < 10; ++start) {
            const POINT back = WorkspacePositionOf(ScreenPositionOf(stored, c.monitors), c.monitors.back());
            stored.x = back.x;
            stored.y = back.y;
        }
        EXPECT_EQ(stored.x, c.stored.x);
        EXPECT_EQ(stored.y, c.stored.y);
    }
}

// Wine's virtual desktop has no taskbar: workspace and screen coordinates
// coincide there, and the table above covers the offsets.
TEST_F(SettingsTest, TenStartsAndClosesKeepTheWindowWhereItWasAndBringALostOneBack) {
    WriteSettingsFile(L"[SystemSetting]\r\nx=5000\r\ny=-4000\r\nwidth=500\r\nheight=300\r\n");
    OpenWindow();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT first{}, inside{};
    GetWindowRect(hwnd_, &first);
    IntersectRect(&inside, &monitor.rcWork, &first);
    EXPECT_TRUE(EqualRect(&inside, &first)) << first.left << "," << first.top << " is not wholly in the work area";
    EXPECT_EQ(first.right - first.left, 500);
    CloseWindow();
    const SettingsFile stored = ReadSettingsFile();
    for (int start = 0; start < 10; ++start) {
        OpenWindow();
        ExpectWindowRect(hwnd_, first.left, first.top, 500, 300);
        CloseWindow();
        EXPECT_EQ(ReadSettingsFile().keys, stored.keys);
    }
}

TEST_F(SettingsTest, MaximizedWindowStoresItsRestoredRectangle) {
    OpenWindow();
    SetWindowPos(hwnd_, nullptr, 100, 50, 500, 300, SWP_NOZORDER);
    ShowWindow(hwnd_, SW_MAXIMIZE);
    PumpPending();
    ASSERT_TRUE(IsZoomed(hwnd_));
    CloseWindow();
    const SettingsFile file = ReadSettingsFile();
    EXPECT_EQ(Number(file, L"x"), L"100");
    EXPECT_EQ(Number(file, L"y"), L"50");
    EXPECT_EQ(Number(file, L"width"), L"500");
    EXPECT_EQ(Number(file, L"height"), L"300");
    OpenWindow();
    EXPECT_FALSE(IsZoomed(hwnd_));
    RECT window{};
    GetWindowRect(hwnd_, &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.right - window.left, 500);
}

// A file that exists is not replaced: it keeps its own encoding.
TEST_F(SettingsTest, ExistingAnsiFileIsReadAndUpdatedAsItIs) {
    {
        std::ofstream out(SettingsPath().c_str(), std::ios::binary);
        out << "[SystemSetting]\r\npt=16\r\nstring=caf\xE9\\ntext\r\n";
    }
    OpenWindow();
    EXPECT_EQ(SizeBoxText(), L"16");
    EXPECT_EQ(SampleText(), L"caf\u00E9\r\ntext") << "read in the ANSI code page (1252 here)";
    CloseWindow();
    const SettingsFile file = ReadSettingsFile();
    EXPECT_FALSE(file.utf16);
    EXPECT_EQ(Number(file, L"pt"), L"16");
    EXPECT_EQ(file.Value(L"string"), L"caf\u00E9\\ntext");
    EXPECT_EQ(file.keys.size(), 12u);
}

TEST(SettingsText, OnlyCrLfPairsAndBackslashNChange) {
    EXPECT_EQ(EscapeNewlines(L"a\r\nb\rc\nd\r\n\r\n"), L"a\\nb\rc\nd\\n\\n");
    EXPECT_EQ(UnescapeNewlines(L"a\\nb\\\\n\\t\\"), L"a\nb\\\n\\t\\");
    EXPECT_EQ(UnescapeNewlines(EscapeNewlines(L"one\r\ntwo")), L"one\ntwo");
}

TEST(SettingsPathFor, ReplacesOrAppendsTheExtensionOfTheFileName) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\tavrel.exe"), L"C:\\Tools\\tavrel.ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\tavrel.v2.exe"), L"C:\\Tools\\tavrel.v2.ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools.d\\tavrel"), L"C:\\Tools.d\\tavrel.ini");
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\tavrel.exe";
    EXPECT_EQ(SettingsPathFor(deep), deep.substr(0, deep.size() - 4) + L".ini");
}

}  // namespace
}  // namespace tavrel::test
