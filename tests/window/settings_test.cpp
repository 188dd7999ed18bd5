// The settings file: defaults on the first start, the twelve keys written on
// closing, and what survives a round trip.

#include <fstream>
#include <tuple>

#include "app_state.h"
#include "settings_file.h"
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
    CloseWindow();

    const SettingsFile file = ReadSettingsFile();
    EXPECT_TRUE(file.utf16) << "a new settings file must be UTF-16, or Japanese text turns into question marks";
    std::vector<std::pair<std::wstring, std::wstring>> keys;
    for (const auto& [key, value] : file.keys) keys.emplace_back(key, key == L"string" ? value : Number(file, key));
    EXPECT_EQ(keys, (std::vector<std::pair<std::wstring, std::wstring>>{
                        {L"x", L"10"}, {L"y", L"10"}, {L"width", L"640"}, {L"height", L"360"}, {L"pt", L"24"},
                        {L"string", L"フォントの世界は永遠です。\\nHello, font world! 0123"}, {L"fontColorR", L"0"},
                        {L"fontColorG", L"0"}, {L"fontColorB", L"0"}, {L"backgroundColorR", L"255"},
                        {L"backgroundColorG", L"255"}, {L"backgroundColorB", L"255"}}));
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

// Without a file, the defaults. Colour channels keep their low 8 bits; a
// negative size is the default; "string=" is an empty sample.
TEST_F(SettingsTest, StoredValuesComeBackOnTheNextStart) {
    struct Case {
        std::wstring lines, sizeBox, sample;
        COLORREF text, background;
    };
    const Case cases[] = {
        {L"", L"24", kDefaultSample, RGB(0, 0, 0), RGB(255, 255, 255)},
        {L"pt=36\r\nstring=abc\r\nfontColorR=300\r\nbackgroundColorG=256\r\n", L"36", L"abc", RGB(44, 0, 0),
         RGB(255, 0, 255)},
        {L"pt=0\r\n", L"0", kDefaultSample, 0, RGB(255, 255, 255)},
        {L"pt=-5\r\nstring=\r\n", L"24", L"", 0, RGB(255, 255, 255)},
        {L"pt=99999\r\n", L"1638", kDefaultSample, 0, RGB(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.lines));
        if (c.lines.empty()) DeleteFileW(SettingsPath().c_str());
        else WriteSettingsFile(L"[SystemSetting]\r\n" + c.lines);
        OpenWindow();
        EXPECT_EQ(SizeBoxText(), c.sizeBox);
        EXPECT_EQ(SampleText(), c.sample);
        const CHARFORMAT2W all = FormatOf();
        EXPECT_EQ(all.yHeight, std::stoi(c.sizeBox) * 20);
        EXPECT_EQ(all.crTextColor, c.text);
        EXPECT_FALSE(all.dwEffects & CFE_AUTOCOLOR);
        EXPECT_EQ(all.crBackColor, c.background);
        CloseWindow();
    }
}

TEST(ScreenPositionOf, RestoresWorkspaceCoordinatesAndBringsLostWindowsBack) {
    const MonitorAreas barAtTop{{0, 0, 1024, 768}, {0, 40, 1024, 768}},
        barAtLeft{{0, 0, 1024, 768}, {60, 0, 1024, 768}}, right{{1024, 0, 2048, 768}, {1024, 30, 2048, 768}};
    const std::tuple<WindowRect, std::vector<MonitorAreas>, POINT> cases[] = {
        {{10, 10, 640, 360}, {barAtTop}, {10, 50}},
        {{10, 10, 640, 360}, {barAtLeft}, {70, 10}},
        {{1100, 10, 640, 360}, {barAtTop, right}, {1100, 40}},
        // On no monitor: inside the nearest work area.
        {{3000, 100, 640, 360}, {barAtTop, right}, {1408, 130}},
        {{-5000, -5000, 4000, 3000}, {barAtLeft}, {60, 0}},
    };
    const auto xy = [](POINT point) { return std::pair(point.x, point.y); };
    for (const auto& [stored, monitors, screen] : cases) EXPECT_EQ(xy(ScreenPositionOf(stored, monitors)), xy(screen));
}

// Wine's desktop has no taskbar (workspace and screen coordinates coincide): the table covers offsets.
TEST_F(SettingsTest, RestoredRectangleIsStoredAndComesBackThereStartAfterStart) {
    WriteSettingsFile(L"[SystemSetting]\r\nx=5000\r\ny=-4000\r\nwidth=500\r\nheight=300\r\n");
    OpenWindow();
    ExpectWindowRect(hwnd_, GetSystemMetrics(SM_CXSCREEN) - 500, 0, 500, 300);
    SetWindowPos(hwnd_, nullptr, 100, 50, 500, 300, SWP_NOZORDER);
    ShowWindow(hwnd_, SW_MAXIMIZE);
    PumpPending();
    ASSERT_TRUE(IsZoomed(hwnd_));
    CloseWindow();
    const SettingsFile stored = ReadSettingsFile();
    for (int start = 0; start < 10; ++start) {
        OpenWindow();
        EXPECT_FALSE(IsZoomed(hwnd_));
        ExpectWindowRect(hwnd_, 100, 50, 500, 300);
        CloseWindow();
        EXPECT_EQ(ReadSettingsFile().keys, stored.keys);
    }
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

TEST(SettingsPathFor, ReplacesOrAppendsTheExtensionOfTheFileName) {
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\tavrel.exe"), L"C:\\Tools\\tavrel.ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools\\tavrel.v2.exe"), L"C:\\Tools\\tavrel.v2.ini");
    EXPECT_EQ(SettingsPathFor(L"C:\\Tools.d\\tavrel"), L"C:\\Tools.d\\tavrel.ini");
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\tavrel.exe";
    EXPECT_EQ(SettingsPathFor(deep), deep.substr(0, deep.size() - 4) + L".ini");
}

}  // namespace
}  // namespace tavrel::test
