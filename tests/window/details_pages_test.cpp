// The "文字" and "ウォーターフォール" pages of the face details dialog on real
// fonts: the grid holds the core's mapping, scrolls and searches it, copies and
// inserts the selected character, draws each glyph in its face, and gives back
// every GDI object; the waterfall shows every size, copies itself as a
// picture, and sets its lines vertically.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "app_state.h"
#include "clipboard_picture.h"
#include "face_report.h"
#include "file_bytes.h"
#include "gdi_object_count.h"
#include "resource_ids.h"
#include "waterfall_page.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

constexpr int kCell = 48;
constexpr int kGridPage = 1, kWaterfallPage = 2;

struct GridPage {
    HWND dialog = nullptr, grid = nullptr, search = nullptr, line = nullptr;
    std::wstring Line() const { return WindowText(line); }
    void Key(WPARAM key) const { SendMessageW(grid, WM_KEYDOWN, key, 1); }
    void Search(const std::wstring& text) const { SetWindowTextW(search, text.c_str()); }
    void ClickCell(int column, int row) const {
        SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(column * kCell + kCell / 2, row * kCell + kCell / 2));
    }
    RECT Client() const {
        RECT client{};
        GetClientRect(grid, &client);
        return client;
    }
};

void ShowTab(HWND dialog, int index) {
    const HWND tab = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
    SendMessageW(tab, TCM_SETCURSEL, WPARAM(index), 0);
    NMHDR changed{tab, 0, UINT(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
}

GridPage FindGridPage(HWND dialog) {
    GridPage page{dialog};
    page.grid = FindWindowExW(FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr), nullptr,
                              L"TavrelCharGrid", nullptr);
    page.search = FindWindowExW(GetParent(page.grid), nullptr, L"Edit", nullptr);
    page.line = FindWindowExW(GetParent(page.grid), nullptr, L"Static", nullptr);
    return page;
}

// The grid as it paints itself, top-down.
Picture PrintClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Picture picture{client.right, client.bottom, std::vector<COLORREF>(std::size_t(client.right) * client.bottom)};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, section);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = RGB(pixels[i] >> 16 & 0xFF, pixels[i] >> 8 & 0xFF, pixels[i] & 0xFF);
    SelectObject(dc, previous);
    DeleteObject(section);
    DeleteDC(dc);
    return picture;
}

std::vector<COLORREF> CellPixels(const Picture& picture, std::size_t index) {
    const int columns = picture.width / kCell, left = int(index % columns) * kCell, top = int(index / columns) * kCell;
    std::vector<COLORREF> cell;
    for (int y = top + 2; y < top + kCell - 2; ++y)
        for (int x = left + 2; x < left + kCell - 2; ++x) cell.push_back(picture.At(x, y));
    return cell;
}

class CharGridTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { WaitForClipboardManager(); }
    // Leaves the dialog on its first page, where the other dialog tests expect it to open.
    void TearDown() override {
        if (IsWindow(hwnd_)) RunOnPage(0, [](const GridPage&) {});
        MainWindowTest::TearDown();
    }

    // Opens the dialog on a page, runs `act` in it, then presses Esc.
    void RunOnPage(int index, const std::function<void(const GridPage&)>& act) {
        WhenWindowShows dialog(L"#32770", [&](HWND shown) {
            ShowTab(shown, index);
            act(FindGridPage(shown));
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        });
        Command(IDM_FACE_DETAILS);
        EXPECT_TRUE(dialog.seen());
    }
    void OpenFace(const std::wstring& file) {
        OpenWindow();
        DropFiles({file});
        SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, 0, 0);
    }
};

std::wstring Label(char32_t codePoint) {
    wchar_t label[16];
    swprintf(label, 16, L"U+%04X", unsigned(codePoint));
    return label;
}

// The line under the grid: the character, its code point, its block, its place.
std::wstring Line(wchar_t character, const wchar_t* block, std::size_t at, std::size_t count) {
    return character + (L"  " + Label(character)) + L"  " + block + L"  " + std::to_wstring(at) + L" / " +
           std::to_wstring(count);
}

TEST_F(CharGridTest, GridHoldsTheCoresMappingAndSearchesScrollsCopiesAndInserts) {
    const struct {
        const char* what;
        std::wstring file;
        FontLoader loader;
        bool hasKanji;
    } cases[] = {
        {"DejaVu Sans", DejaVu("DejaVuSans.ttf"), FontLoader::Sfnt, false},
        {"Noto CJK member", DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"), FontLoader::Collection, true},
    };
    std::vector<std::vector<COLORREF>> cellsOfA;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes = ReadFileBytes(std::filesystem::path(c.file)).value();
        const auto codePoints =
            DescribeFontFile("", c.loader, bytes, c.loader == FontLoader::Collection ? std::optional(0u) : std::nullopt,
                             std::nullopt)
                ->front()
                .info.codePoints.value();
        const auto indexOf = [&](char32_t cp) {
            return std::size_t(std::lower_bound(codePoints.begin(), codePoints.end(), cp) - codePoints.begin());
        };
        const std::size_t n = codePoints.size();
        OpenFace(c.file);
        Select(1, 1);
        const std::wstring sample = SampleText();
        PutTextOnClipboard(L"before");
        RunOnPage(kGridPage, [&](const GridPage& page) {
            EXPECT_EQ(page.Line(), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            cellsOfA.push_back(CellPixels(PrintClient(page.grid), indexOf(U'A')));
            SendMessageW(page.grid, WM_VSCROLL, SB_BOTTOM, 0);
            const int columns = page.Client().right / kCell, rows = page.Client().bottom / kCell;
            page.ClickCell(int((n - 1) % columns), rows - 1);
            const std::wstring last = page.Line();
            EXPECT_NE(last.find(L"  " + Label(codePoints.back()) + L"  "), std::wstring::npos) << last;
            EXPECT_TRUE(last.ends_with(L"  " + std::to_wstring(n) + L" / " + std::to_wstring(n))) << last;
            page.Key(VK_HOME);
            EXPECT_EQ(page.Line(), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            const struct {
                std::wstring query;
                wchar_t character;
                bool present;
            } searches[] = {{L"U+4E00", 0x4E00, c.hasKanji}, {L"永", 0x6C38, c.hasKanji}, {L"U+E000", 0xE000, false}};
            for (const auto& s : searches) {
                page.Search(s.query);
                EXPECT_EQ(page.Line(), s.present ? Line(s.character, L"CJK Unified Ideographs", indexOf(s.character) + 1, n)
                                                 : Label(s.character) + L" はこのフォントにありません")
                    << page.Line();
            }
            page.Search(L"u+41");
            BYTE keys[256] = {};
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            PostMessageW(page.grid, WM_KEYDOWN, 'C', 1);
            PostMessageW(page.grid, WM_KEYDOWN, VK_RETURN, 1);
        });
        const BYTE released[256] = {};
        SetKeyboardState(const_cast<BYTE*>(released));
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), L"A");
        EXPECT_EQ(SampleText(), sample.substr(0, 1) + L"A" + sample.substr(1));
        CloseWindow();
    }
    ASSERT_EQ(cellsOfA.size(), 2u);
    EXPECT_NE(cellsOfA[0], cellsOfA[1]) << "each glyph drawn in its own face";
    EXPECT_GT(std::count(cellsOfA[0].begin(), cellsOfA[0].end(), appState.fontColor), 0) << "ink in the cell";
}

TEST_F(CharGridTest, DialogAndScrollingGiveBackEveryGdiObject) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    RunOnPage(kGridPage, [](const GridPage&) {});
    const long objects = CountGdiObjects();
    for (int i = 0; i < 50; ++i)
        RunOnPage(kGridPage, [&](const GridPage& page) {
            for (int step = 0; i == 0 && step < 400; ++step) {
                SendMessageW(page.grid, WM_VSCROLL, SB_PAGEDOWN, 0);
                UpdateWindow(page.grid);
            }
            SendMessageW(page.grid, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
        });
    EXPECT_EQ(CountGdiObjects(), objects);
}

// The bounding box of the text's ink (the labels are lighter) in the first
// line: the topmost band of a horizontal page, the rightmost of a vertical one.
SIZE FirstLineInk(const Picture& picture, bool vertical) {
    const auto ink = [&](int x, int y) { return GetRValue(picture.At(x, y)) < 100; };
    const auto each = [&](const std::function<void(int, int)>& act) {
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (ink(x, y)) act(x, y);
    };
    int edge = vertical ? -1 : picture.height;  // the first line's outer edge
    each([&](int x, int y) { edge = vertical ? std::max(edge, x) : std::min(edge, y); });
    RECT box{picture.width, picture.height, -1, -1};
    each([&](int x, int y) {
        if ((vertical ? edge - x : y - edge) >= 16) return;  // 16 pixels hold an 8-point line
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
               std::max<LONG>(box.bottom, y)};
    });
    return {box.right - box.left + 1, box.bottom - box.top + 1};
}

TEST_F(CharGridTest, WaterfallShowsEverySizeCopiesItselfAndSetsLinesVertically) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    std::vector<std::uint32_t> listed;
    for (int i = 0; i < SendMessageW(appState.hwndSizeCombo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t item[16] = L"";
        SendMessageW(appState.hwndSizeCombo, CB_GETLBTEXT, WPARAM(i), LPARAM(item));
        listed.push_back(std::uint32_t(_wtoi(item)));
    }
    EXPECT_EQ(WaterfallSizes(listed, 50), (std::vector<std::uint32_t>{8, 10, 12, 16, 20, 24, 32, 36, 50, 72}));
    EXPECT_EQ(WaterfallSizes(listed, 12), (std::vector<std::uint32_t>{8, 10, 12, 16, 20, 24, 32, 36, 72}));
    SetWindowTextW(appState.hwndSample, L"永字八法縦書きの見本永字八法縦書きの見本\r二行目");
    SIZE copied{}, client{}, horizontal{}, vertical{};
    RunOnPage(kWaterfallPage, [&](const GridPage& page) {
        const HWND pane = FindWindowExW(page.dialog, nullptr, L"TavrelWaterfallPage", nullptr);
        const HWND view = FindWindowExW(pane, nullptr, L"TavrelWaterfall", nullptr);
        RECT area{};
        GetClientRect(view, &area);
        client = {area.right, area.bottom};
        SendMessageW(FindWindowExW(page.dialog, nullptr, L"Button", L"コピー"), BM_CLICK, 0, 0);
        const auto picture = ClipboardPicture();
        if (picture) copied = {picture->width, picture->height};
        horizontal = FirstLineInk(PrintClient(view), false);
        SendMessageW(FindWindowExW(pane, nullptr, L"Button", L"縦書き"), BM_CLICK, 0, 0);
        vertical = FirstLineInk(PrintClient(view), true);
    });
    EXPECT_EQ(copied.cx, client.cx);
    EXPECT_EQ(copied.cy, client.cy);
    EXPECT_GT(horizontal.cx, 8 * horizontal.cy) << horizontal.cx << "x" << horizontal.cy;
    EXPECT_GT(vertical.cy, 8 * vertical.cx) << vertical.cx << "x" << vertical.cy;
}

}  // namespace
}  // namespace tavrel::test
