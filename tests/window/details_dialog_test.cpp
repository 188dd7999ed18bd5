// The face details dialog of the real main window, on real fonts. The menu
// command opens it for the selected face, modal to the main window; Ctrl+C
// copies the first page as the report's rows, value for value; Esc closes the
// dialog and nothing else. The "文字" grid holds the core's mapping, scrolls
// and searches it, copies and inserts the selected character, draws each
// glyph in its face, and gives back every GDI object; the "ウォーターフォール"
// page shows every size, copies itself as a picture, and sets its lines vertically.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "app_state.h"
#include "capture_sample.h"
#include "clipboard_picture.h"
#include "face_report.h"
#include "face_report_fields.h"
#include "file_bytes.h"
#include "gdi_object_count.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "waterfall_page.h"
#include "window_harness.h"
#include "woff_builder.h"

namespace tavrel::test {
namespace {

constexpr int kCell = 48;
constexpr int kGridPage = 1, kWaterfallPage = 2, kTypesetPage = 3;

struct FaceCase {
    const char* what;
    std::wstring file;
    FontLoader loader;
    int faceItem;  // -1: nothing selected in the face box, the caret's face counts
    std::optional<std::uint32_t> member;
    const wchar_t* installedFace = nullptr;  // listed as installed instead of opening `file`
    bool relative = false;  // opened by its name in the current folder, which then changes
};

// The rows as the page copies them, one a line: Japanese label, tab, value
// (a value keeps its own line breaks, as tavrel-cli prints it); and their count.
std::pair<std::wstring, LRESULT> ExpectedRows(const FaceCase& c, const std::wstring& sample) {
    const auto bytes = ReadFileBytes(std::filesystem::path(c.file));
    const std::u16string text(sample.begin(), sample.end());
    auto reports = DescribeFontFile(c.installedFace ? "" : Utf8(c.file), c.loader, bytes.value(), c.member, text);
    if (!reports || reports->empty()) return {L"<no report>", 0};
    std::wstring copied = c.installedFace ? L"入手元\tインストール済みのフォント (GDI が使うファイル)\r\n" : L"";
    if (c.installedFace) reports->front().loader = FontLoader::None;
    const auto rows = ReportRows(reports->front());
    for (const ReportRow& row : rows)
        copied += std::wstring(row.labelJapanese.begin(), row.labelJapanese.end()) + L'\t' +
                  Utf16(row.value.c_str()) + L"\r\n";
    return {copied, LRESULT(rows.size()) + (c.installedFace ? 1 : 0)};
}

LONG WidthOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect.right - rect.left;
}

struct GridPage {
    HWND grid = nullptr, search = nullptr, line = nullptr;
};

GridPage FindGridPage(HWND dialog) {
    const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr);
    return {FindWindowExW(pane, nullptr, L"TavrelCharGrid", nullptr), FindWindowExW(pane, nullptr, L"Edit", nullptr),
            FindWindowExW(pane, nullptr, L"Static", nullptr)};
}

// A window as it paints itself, by way of the clipboard.
Picture PrintClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    CapturePaintingToClipboard(hwnd, client.right, client.bottom, [&](HDC dc) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        return true;
    });
    return ClipboardPicture().value_or(Picture{});
}

std::vector<COLORREF> CellPixels(const Picture& picture, std::size_t index) {
    const int columns = picture.width / kCell, left = int(index % columns) * kCell, top = int(index / columns) * kCell;
    std::vector<COLORREF> cell;
    for (int y = top + 2; y < top + kCell - 2; ++y)
        for (int x = left + 2; x < left + kCell - 2; ++x) cell.push_back(picture.At(x, y));
    return cell;
}

class DetailsDialogTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { WaitForClipboardManager(); }
    // Leaves the dialog on its first page, where the next test expects it to open.
    void TearDown() override {
        if (IsWindow(hwnd_)) RunOnPage(0, [](HWND) {});
        MainWindowTest::TearDown();
    }

    // Opens the dialog with the menu command on a page, runs `act` in it, then presses Esc.
    void RunOnPage(int index, const std::function<void(HWND)>& act) {
        const auto onPage = [&](HWND shown) {
            const HWND tab = FindWindowExW(shown, nullptr, WC_TABCONTROLW, nullptr);
            SendMessageW(tab, TCM_SETCURSEL, WPARAM(index), 0);
            NMHDR changed{tab, 0, UINT(TCN_SELCHANGE)};
            SendMessageW(shown, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
            act(shown);
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        };
        EXPECT_TRUE(WhenShown(L"#32770", onPage, [&] { Command(IDM_FACE_DETAILS); }));
    }
    void RunOnGridPage(const std::function<void(const GridPage&)>& act) {
        RunOnPage(kGridPage, [&](HWND dialog) { act(FindGridPage(dialog)); });
    }

    // Checks the dialog on its first page, then Ctrl+C (or the copy button)
    // as the keyboard delivers it to the focused page; gives back the
    // dialog's title and its number of rows.
    std::pair<std::wstring, LRESULT> RunFirstPage(bool withCopyButton = false) {
        PutTextOnClipboard(L"before");
        const auto fonts = LoadedFonts().faceNames;
        std::pair<std::wstring, LRESULT> seen;
        RunOnPage(0, [&](HWND shown) {
            seen.first = WindowText(shown);
            EXPECT_EQ(GetWindow(shown, GW_OWNER), hwnd_);
            EXPECT_FALSE(IsWindowEnabled(hwnd_)) << "modal to the main window";
            wchar_t caption[32] = L"";
            TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
            SendMessageW(FindWindowExW(shown, nullptr, WC_TABCONTROLW, nullptr), TCM_GETITEMW, 0,
                         reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(std::wstring(caption), L"情報");
            const HWND list = FindWindowExW(shown, nullptr, WC_LISTVIEWW, nullptr);
            seen.second = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
            EXPECT_TRUE(GetWindowLongW(shown, GWL_STYLE) & WS_THICKFRAME);
            const LONG before = WidthOf(list);
            SetWindowPos(shown, nullptr, 0, 0, WidthOf(shown) + 100, 400, SWP_NOMOVE);
            EXPECT_EQ(WidthOf(list) - before, 100) << "laid out on WM_SIZE";
            HoldControl(true);
            if (withCopyButton) SendMessageW(FindWindowExW(shown, nullptr, L"Button", L"コピー"), BM_CLICK, 0, 0);
            else PostMessageW(GetFocus(), WM_KEYDOWN, 'C', 1);
        });
        HoldControl(false);
        EXPECT_TRUE(IsWindow(hwnd_)) << "Esc closed the dialog only";
        EXPECT_EQ(LoadedFonts().faceNames, fonts);
        return seen;
    }

    void OpenFace(const std::wstring& file) {
        OpenWindow();
        DropFiles({file});
        SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, 0, 0);
    }
};

TEST_F(DetailsDialogTest, CopiedTextIsTheReportOfTheFaceWithoutLeakingHandles) {
    const std::wstring folder = ScratchFolder(), woff = folder + L"\\ipag.woff";
    const std::wstring ttc = DebianFont("opentype/noto/NotoSansCJK-Regular.ttc");
    const std::wstring dejaVu = DejaVu("DejaVuSans.ttf");
    WriteScratchFile(woff, WoffFromSfnt(ReadFileBytes(DebianFont("opentype/ipafont-gothic/ipag.ttf")).value()));
    const FaceCase cases[] = {
        {"TrueType file", dejaVu, FontLoader::Sfnt, 0, std::nullopt},
        {"collection member", ttc, FontLoader::Collection, 1, 1},
        {"WOFF by relative path, caret's face", woff, FontLoader::Woff, -1, std::nullopt, nullptr, true},
        {"WOFF2", WinePath(TAVREL_DEJAVU_SERIF_WOFF2), FontLoader::Woff2, 0, std::nullopt},
        {"installed", dejaVu, FontLoader::Sfnt, 0, std::nullopt, L"DejaVu Sans"},
        {"installed collection member, by family", ttc, FontLoader::Collection, 0, 2, L"Noto Sans CJK SC"},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWindow();
        SetCurrentDirectoryW(folder.c_str());
        if (c.installedFace) AddInstalledFace(c.installedFace);
        else DropFiles({c.relative ? c.file.substr(c.file.rfind(L'\\') + 1) : c.file});
        SetCurrentDirectoryW(L"C:\\");
        SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, WPARAM(c.faceItem), 0);
        RunFirstPage();  // the first dialog of the process makes the controls' shared objects
        const long objects = CountGdiObjects();
        const auto [title, rowsShown] = RunFirstPage();
        EXPECT_EQ(CountGdiObjects(), objects);
        EXPECT_EQ(title, L"フォントの詳細 - " + LoadedFonts().faceNames[c.faceItem < 0 ? 0 : c.faceItem]);
        const auto [text, rows] = ExpectedRows(c, SampleText());
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), text);
        EXPECT_EQ(rowsShown, rows);
        CloseWindow();
    }
}

TEST_F(DetailsDialogTest, AFileGoneOrChangedIsOneLine) {
    const std::wstring file = ScratchFolder() + L"\\face.ttf";
    const struct { const char* what; std::function<void()> change; std::wstring line; } cases[] = {
        {"deleted", [&] { DeleteFileW(file.c_str()); }, L"ファイル\tファイルがないか読めません: " + file + L"\r\n"},
        {"another font", [&] { CopyFileW(DejaVu("DejaVuSerif.ttf").c_str(), file.c_str(), FALSE); },
         L"ファイル\tファイルにこのフェイスがもうありません: " + file + L"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CopyFileW(DejaVu("DejaVuSans.ttf").c_str(), file.c_str(), FALSE);
        OpenWindow();
        DropFiles({file});
        c.change();
        EXPECT_EQ(RunFirstPage(true).second, 1) << "the copy button copies too";
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), c.line);
        CloseWindow();
    }
}

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

TEST_F(DetailsDialogTest, GridHoldsTheCoresMappingAndSearchesScrollsCopiesAndInserts) {
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
        const auto member = c.loader == FontLoader::Collection ? std::optional(0u) : std::nullopt;
        const auto codePoints =
            DescribeFontFile("", c.loader, bytes, member, std::nullopt)->front().info.codePoints.value();
        const auto indexOf = [&](char32_t cp) {
            return std::size_t(std::lower_bound(codePoints.begin(), codePoints.end(), cp) - codePoints.begin());
        };
        const std::size_t n = codePoints.size();
        OpenFace(c.file);
        Select(1, 1);
        const std::wstring sample = SampleText();
        RunOnGridPage([&](const GridPage& page) {
            EXPECT_EQ(WindowText(page.line), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            cellsOfA.push_back(CellPixels(PrintClient(page.grid), indexOf(U'A')));
            SendMessageW(page.grid, WM_VSCROLL, SB_BOTTOM, 0);
            RECT client{};
            GetClientRect(page.grid, &client);
            const int column = int((n - 1) % std::size_t(client.right / kCell)), row = client.bottom / kCell - 1;
            SendMessageW(page.grid, WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(column * kCell + kCell / 2, row * kCell + kCell / 2));
            const std::wstring last = WindowText(page.line);
            EXPECT_NE(last.find(L"  " + Label(codePoints.back()) + L"  "), std::wstring::npos) << last;
            EXPECT_TRUE(last.ends_with(L"  " + std::to_wstring(n) + L" / " + std::to_wstring(n))) << last;
            SendMessageW(page.grid, WM_KEYDOWN, VK_HOME, 1);
            EXPECT_EQ(WindowText(page.line), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            const struct {
                std::wstring query;
                wchar_t character;
                bool present;
            } searches[] = {{L"U+4E00", 0x4E00, c.hasKanji}, {L"永", 0x6C38, c.hasKanji}, {L"U+E000", 0xE000, false}};
            for (const auto& s : searches) {
                SetWindowTextW(page.search, s.query.c_str());
                EXPECT_EQ(WindowText(page.line),
                          s.present ? Line(s.character, L"CJK Unified Ideographs", indexOf(s.character) + 1, n)
                                    : Label(s.character) + L" はこのフォントにありません");
            }
            SetWindowTextW(page.search, L"u+41");
            HoldControl(true);
            PostMessageW(page.grid, WM_KEYDOWN, 'C', 1);
            PostMessageW(page.grid, WM_KEYDOWN, VK_RETURN, 1);
        });
        HoldControl(false);
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), L"A");
        EXPECT_EQ(SampleText(), sample.substr(0, 1) + L"A" + sample.substr(1));
        CloseWindow();
    }
    ASSERT_EQ(cellsOfA.size(), 2u);
    EXPECT_NE(cellsOfA[0], cellsOfA[1]) << "each glyph drawn in its own face";
    EXPECT_GT(std::count(cellsOfA[0].begin(), cellsOfA[0].end(), appState.fontColor), 0) << "ink in the cell";
}

TEST_F(DetailsDialogTest, DialogAndScrollingGiveBackEveryGdiObject) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    RunOnGridPage([](const GridPage&) {});
    const long objects = CountGdiObjects();
    for (int i = 0; i < 50; ++i)
        RunOnGridPage([&](const GridPage& page) {
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
    const auto each = [&](const std::function<void(int, int)>& act) {
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (GetRValue(picture.At(x, y)) < 100) act(x, y);
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

TEST_F(DetailsDialogTest, WaterfallShowsEverySizeCopiesItselfAndSetsLinesVertically) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    std::vector<std::uint32_t> listed;
    for (const std::wstring& item : ComboItems(appState.hwndSizeCombo))
        listed.push_back(std::uint32_t(std::stoul(item)));
    EXPECT_EQ(WaterfallSizes(listed, 50), (std::vector<std::uint32_t>{8, 10, 12, 16, 20, 24, 32, 36, 50, 72}));
    EXPECT_EQ(WaterfallSizes(listed, 12), (std::vector<std::uint32_t>{8, 10, 12, 16, 20, 24, 32, 36, 72}));
    SetWindowTextW(appState.hwndSample, L"永字八法縦書きの見本永字八法縦書きの見本\r二行目");
    SIZE copied{}, client{}, horizontal{}, vertical{};
    RunOnPage(kWaterfallPage, [&](HWND dialog) {
        const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelWaterfallPage", nullptr);
        const HWND view = FindWindowExW(pane, nullptr, L"TavrelWaterfall", nullptr);
        RECT area{};
        GetClientRect(view, &area);
        client = {area.right, area.bottom};
        SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"コピー"), BM_CLICK, 0, 0);
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

// The bounding box of the dark pixels: the text's ink on the default white.
SIZE InkOf(const Picture& picture) {
    RECT box{picture.width, picture.height, -1, -1};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (GetRValue(picture.At(x, y)) < 128)
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                       std::max<LONG>(box.bottom, y)};
    return {box.right - box.left + 1, box.bottom - box.top + 1};
}

TEST_F(DetailsDialogTest, TypesetPageListsTheFeaturesSetsThemAcrossAndDownAndShowsTheirChanges) {
    const std::wstring ttc = DebianFont("opentype/noto/NotoSansCJK-Regular.ttc");
    OpenFace(ttc);  // its first face, the Japanese member
    SetWindowTextW(appState.hwndSample, L"「かな」、カナ。漢字のテキスト");
    const auto report = DescribeFontFile("", FontLoader::Collection, ReadFileBytes(ttc).value(), 0, std::nullopt);
    std::vector<std::wstring> expected, tags;
    for (std::uint32_t tag : report->front().info.features) expected.push_back(Utf16(TagString(tag).c_str()));
    SIZE plain{}, proportional{}, down{};
    int jp90Changes = -1;
    RunOnPage(kTypesetPage, [&](HWND dialog) {
        const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelTypesetPage", nullptr);
        const HWND features = FindWindowExW(pane, nullptr, WC_LISTVIEWW, nullptr);
        const HWND changes = FindWindowExW(pane, features, WC_LISTVIEWW, nullptr);
        const auto ink = [&] {
            SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"コピー(&C)"), BM_CLICK, 0, 0);
            return InkOf(ClipboardPicture().value_or(Picture{}));
        };
        for (int i = 0; i < ListView_GetItemCount(features); ++i) {
            wchar_t text[128] = L"";
            ListView_GetItemText(features, i, 0, text, 128);
            tags.push_back(std::wstring(text).substr(0, 4));
        }
        const auto item = [&](const wchar_t* tag) { return int(std::find(tags.begin(), tags.end(), tag) - tags.begin()); };
        plain = ink();
        ListView_SetCheckState(features, item(L"palt"), TRUE);
        proportional = ink();
        ListView_SetItemState(features, item(L"jp90"), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        jp90Changes = ListView_GetItemCount(changes);
        SendMessageW(FindWindowExW(pane, nullptr, L"Button", L"縦書き(&V)"), BM_CLICK, 0, 0);
        down = ink();
        // Ctrl+C on an entry of the changes copies its character.
        SetFocus(changes);
        ListView_SetItemState(changes, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        HoldControl(true);
        PostMessageW(changes, WM_KEYDOWN, 'C', 1);
    });
    HoldControl(false);
    EXPECT_EQ(tags, expected);
    EXPECT_LT(proportional.cx, plain.cx) << "palt narrows the line";
    EXPECT_GT(down.cy, 2 * down.cx) << "set down: " << down.cx << "x" << down.cy;
    EXPECT_EQ(jp90Changes, 169) << "JIS90 forms of the Japanese member";
    EXPECT_EQ(ClipboardText().value_or(L"").size(), 1u);
    // The grid's line gives a character's variation sequences: 葛 has two in this face, A none.
    std::wstring withSequences, without;
    RunOnPage(kGridPage, [&](HWND dialog) {
        const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr);
        const HWND line = FindWindowExW(pane, FindWindowExW(pane, nullptr, L"Static", nullptr), L"Static", nullptr);
        for (auto [query, seen] : {std::pair{L"葛", &withSequences}, std::pair{L"A", &without}}) {
            SetWindowTextW(FindWindowExW(pane, nullptr, L"Edit", nullptr), query);
            *seen = WindowText(line);
        }
    });
    EXPECT_NE(withSequences.find(L"異体字シーケンス 2"), std::wstring::npos) << withSequences;
    EXPECT_EQ(without.find(L"異体字"), std::wstring::npos) << without;
}

// The dark pixels of a picture, and their bounding box.
struct Ink {
    std::vector<bool> dark;
    RECT box{LONG_MAX, LONG_MAX, -1, -1};
    std::size_t count = 0;
};

Ink InkPixels(const Picture& picture) {
    Ink ink;
    ink.dark.resize(picture.pixels.size());
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (GetRValue(picture.At(x, y)) < 128) {
                ink.dark[std::size_t(y) * picture.width + x] = true;
                ++ink.count;
                ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                           std::max<LONG>(ink.box.right, x), std::max<LONG>(ink.box.bottom, y)};
            }
    return ink;
}

// The share of `a`'s ink that `b` inks too.
double Overlap(const Picture& a, const Picture& b) {
    const Ink inkA = InkPixels(a), inkB = InkPixels(b);
    std::size_t both = 0;
    for (int y = 0; y < std::min(a.height, b.height); ++y)
        for (int x = 0; x < std::min(a.width, b.width); ++x)
            both += inkA.dark[std::size_t(y) * a.width + x] && inkB.dark[std::size_t(y) * b.width + x];
    return inkA.count ? double(both) / double(inkA.count) : 0;
}

// Pixels of a strong colour, as neither the text nor the grid's lines are.
std::size_t Colourful(const Picture& picture, const std::function<bool(int, int, int)>& wanted) {
    return std::size_t(std::count_if(picture.pixels.begin(), picture.pixels.end(), [&](COLORREF c) {
        return wanted(GetRValue(c), GetGValue(c), GetBValue(c));
    }));
}

TEST_F(DetailsDialogTest, VariableFacesDrawAtEveryInstanceAndColourFacesInColour) {
    const std::wstring fonts = WinePath(TAVREL_WINDOW_FONTS);
    OpenFace(fonts + L"\\TavrelTestVariable.ttf");
    appState.pointSize = 36;  // 48 pixels at 96 DPI
    SetWindowTextW(appState.hwndSample, L"Hamburgefonstiv");
    Picture gdi, nearDefault, black;
    RunOnPage(kTypesetPage, [&](HWND dialog) {
        const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelTypesetPage", nullptr);
        const HWND track = FindWindowExW(pane, nullptr, TRACKBAR_CLASSW, nullptr);
        const auto copy = [&] {
            SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"コピー(&C)"), BM_CLICK, 0, 0);
            return ClipboardPicture().value_or(Picture{});
        };
        const auto moveTo = [&](int weight) {
            SendMessageW(track, TBM_SETPOS, TRUE, weight);
            SendMessageW(pane, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, weight), LPARAM(track));
        };
        gdi = copy();
        moveTo(401);  // next to the default: drawn from outlines
        nearDefault = copy();
        moveTo(900);
        black = copy();
    });
    const Ink byGdi = InkPixels(gdi), byOutlines = InkPixels(nearDefault);
    for (auto [a, b] : {std::pair{byGdi.box.left, byOutlines.box.left}, {byGdi.box.top, byOutlines.box.top},
                        {byGdi.box.right, byOutlines.box.right}, {byGdi.box.bottom, byOutlines.box.bottom}})
        EXPECT_LE(std::abs(a - b), 2) << "GDI's and the outlines' ink boxes";
    // Wine's GDI draws a private face hinted and without anti-aliasing, so the
    // two agree to a pixel at the edges: most of GDI's ink, about as much ink.
    EXPECT_GE(Overlap(gdi, nearDefault), 0.85);
    EXPECT_LT(std::abs(double(byOutlines.count) / double(byGdi.count) - 1), 0.15);
    EXPECT_GT(InkPixels(black).count, byOutlines.count * 5 / 4) << "ink grows with the weight";

    const struct { const wchar_t* file; std::function<bool(int, int, int)> wanted[2]; } colourCases[] = {
        {L"\\TavrelTestColour.ttf", {[](int r, int, int b) { return r > 180 && b < 80; },
                                      [](int r, int, int b) { return b > 180 && r < 80; }}},
        {L"", {[](int r, int g, int b) { return std::max({r, g, b}) - std::min({r, g, b}) > 80; }, {}}},
    };
    for (const auto& c : colourCases) {
        CloseWindow();
        OpenFace(*c.file ? fonts + c.file : DebianFont("truetype/noto/NotoColorEmoji.ttf"));
        RunOnPage(kGridPage, [&](HWND dialog) {
            const Picture grid = PrintClient(FindWindowExW(FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr),
                                                           nullptr, L"TavrelCharGrid", nullptr));
            for (const auto& wanted : c.wanted) {
                if (!wanted) continue;
                EXPECT_GT(Colourful(grid, wanted), 100u) << "colours of " << Utf8(c.file);
            }
        });
    }
}

}  // namespace
}  // namespace tavrel::test
