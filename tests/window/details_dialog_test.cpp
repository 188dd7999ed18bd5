// The face details dialog of the real main window, on real fonts. The menu
// command opens it for the selected face, beside the main window, which stays in use; Ctrl+C
// copies the first page as the report's rows, value for value; Esc closes the
// dialog and nothing else. The "文字" grid holds the core's mapping, scrolls
// and searches it, copies and inserts the selected character, draws each
// glyph in its face, and gives back every GDI object; the "ウォーターフォール"
// page shows every size, copies itself as a picture, and sets its lines vertically;
// the dialog scales to its DPI. Its keys are pressed on the real program (e2e_test.py).

#include <windows.h>
#include <commctrl.h>
#include <hb.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <regex>

#include "app_state.h"
#include "capture_sample.h"
#include "clipboard_picture.h"
#include "code_point_text.h"
#include "details_face.h"
#include "dialog_placement.h"
#include "face_report.h"
#include "face_report_fields.h"
#include "file_bytes.h"
#include "gdi_object_count.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "scoped_handles.h"
#include "variant_strip.h"
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
// in Japanese where it is words, a value holding a break, tab or quote quoted
// as spreadsheets do; and their count.
std::pair<std::wstring, LRESULT> ExpectedRows(const FaceCase& c, const std::wstring& sample) {
    const auto bytes = ReadFileBytes(std::filesystem::path(c.file));
    const std::u16string text(sample.begin(), sample.end());
    auto reports = DescribeFontFile(c.installedFace ? "" : Utf8(c.file), c.loader, bytes.value(), c.member, text);
    if (!reports || reports->empty()) return {L"<no report>", 0};
    if (c.installedFace) reports->front().file = "インストール済み", reports->front().loader = FontLoader::None;
    std::wstring copied;
    const auto rows = ReportRows(reports->front());
    for (const ReportRow& row : rows) {
        std::wstring value(row.valueJapanese.begin(), row.valueJapanese.end());
        if (value.empty()) value = Utf16(row.value.c_str());
        if (value.find_first_of(L"\t\n\"") != std::wstring::npos)
            value = L'"' + std::regex_replace(value, std::wregex(L"\""), L"\"\"") + L'"';
        copied += std::wstring(row.labelJapanese.begin(), row.labelJapanese.end()) + L'\t' + value + L"\r\n";
    }
    return {copied, LRESULT(rows.size())};
}

LONG WidthOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect.right - rect.left;
}

struct GridPage {
    HWND grid = nullptr, search = nullptr, line = nullptr, copy = nullptr;
};

GridPage FindGridPage(HWND dialog) {
    const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr);
    return {FindWindowExW(pane, nullptr, L"TavrelCharGrid", nullptr), FindWindowExW(pane, nullptr, L"Edit", nullptr),
            FindWindowExW(pane, FindWindowExW(pane, nullptr, L"Static", nullptr), L"Static", nullptr),
            FindWindowExW(dialog, nullptr, L"Button", L"コピー(&C)")};
}

HWND FindInPage(HWND dialog, const wchar_t* page, const wchar_t* control, const wchar_t* text = nullptr) {
    return FindWindowExW(FindWindowExW(dialog, nullptr, page, nullptr), nullptr, control, text);
}

// Presses the copy button; gives back the picture it put on the clipboard, if any.
Picture PressCopy(HWND dialog) {
    SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"コピー(&C)"), BM_CLICK, 0, 0);
    return ClipboardPicture().value_or(Picture{});
}

// A window as it paints itself when asked, or as it painted the screen, by way of the clipboard.
Picture PrintClient(HWND hwnd, bool asOnScreen = false) {
    RECT client{};
    GetClientRect(hwnd, &client);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CapturePaintingToClipboard(hwnd, client.right, client.bottom, [&](HDC dc) {
        if (!asOnScreen) return SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT), true;
        const ScopedGetDC screen(hwnd);
        return bool(BitBlt(dc, 0, 0, client.right, client.bottom, screen.get(), 0, 0, SRCCOPY));
    });
    return ClipboardPicture().value_or(Picture{});
}

std::vector<COLORREF> CellPixels(const Picture& picture, std::size_t index) {
    const int columns = std::max(picture.width / kCell, 1), left = int(index % columns) * kCell, top = int(index / columns) * kCell;
    std::vector<COLORREF> cell;
    EXPECT_LE(top + kCell, picture.height) << "cell " << index << " is out of the " << picture.width << "x" << picture.height << " view";
    if (top + kCell > picture.height || left + kCell > picture.width) return cell;
    for (int y = top + 2; y < top + kCell - 2; ++y)
        for (int x = left + 2; x < left + kCell - 2; ++x) cell.push_back(picture.At(x, y));
    return cell;
}

using Inked = std::function<bool(int red, int green, int blue)>;

// The pixels inside `area` that `inked` takes for ink (by default the dark
// ones, the text's on the default white): their bounding box and count.
struct Ink {
    RECT box{};
    std::size_t count = 0;
    SIZE Size() const { return {box.right - box.left, box.bottom - box.top}; }
};

Ink InkIn(const Picture& picture, const Inked& inked = [](int r, int, int) { return r < 128; },
          RECT area = {0, 0, LONG_MAX, LONG_MAX}) {
    const RECT whole{0, 0, picture.width, picture.height};
    IntersectRect(&area, &area, &whole);
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = picture.At(x, y);
            const RECT dot{x, y, x + 1, y + 1};
            if (inked(GetRValue(c), GetGValue(c), GetBValue(c))) UnionRect(&ink.box, &ink.box, &dot), ++ink.count;
        }
    return ink;
}

// The non-white pixels inside `area`, cut to their bounding box, row by row;
// the grey of a cell's variation-sequence mark is not ink.
std::vector<COLORREF> InkPixels(Picture picture, RECT area) {
    std::replace(picture.pixels.begin(), picture.pixels.end(), RGB(127, 127, 127), RGB(255, 255, 255));
    const RECT box = InkIn(picture, [](int r, int g, int b) { return r + g + b < 3 * 255; }, area).box;
    std::vector<COLORREF> ink{COLORREF(box.right - box.left)};
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) ink.push_back(picture.At(x, y));
    return ink;
}

// The ink of the selected cell: the one framed in the text colour.
std::vector<COLORREF> SelectedCellInk(const Picture& grid) {
    for (int top = 0; top + kCell <= grid.height; top += kCell)
        for (int left = 0; left + kCell <= grid.width; left += kCell)
            if (grid.At(left + 1, top + 1) == appState.fontColor && grid.At(left + 2, top + 2) == appState.fontColor)
                return InkPixels(grid, {left + 3, top + 3, left + kCell - 2, top + kCell - 2});
    return {};
}

// A glyph of Noto Sans CJK JP as GDI draws it alone at the grid's size, found by HarfBuzz rather than tavrel.
std::vector<COLORREF> NotoGlyphInk(HWND hwnd, const std::vector<std::uint8_t>& file, char32_t codePoint) {
    hb_blob_t* blob = hb_blob_create(reinterpret_cast<const char*>(file.data()), unsigned(file.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_codepoint_t glyph = 0;
    EXPECT_TRUE(hb_font_get_nominal_glyph(font, codePoint, &glyph) && glyph != 0) << "not a box";
    hb_font_destroy(font), hb_face_destroy(face), hb_blob_destroy(blob);
    LOGFONTW logFont{-kCell * 3 / 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Noto Sans CJK JP"};
    const HFONT noto = CreateFontIndirectW(&logFont);
    CapturePaintingToClipboard(hwnd, 2 * kCell, 2 * kCell, [&](HDC dc) {
        PatBlt(dc, 0, 0, 2 * kCell, 2 * kCell, WHITENESS);
        SelectObject(dc, noto);
        const wchar_t index = wchar_t(glyph);
        return ExtTextOutW(dc, kCell / 2, kCell / 2, ETO_GLYPH_INDEX, nullptr, &index, 1, nullptr) != FALSE;
    });
    DeleteObject(noto);
    return InkPixels(ClipboardPicture().value_or(Picture{}), {0, 0, 2 * kCell, 2 * kCell});
}

class DetailsDialogTest : public MainWindowTest {
protected:
    // The pointer where no window opens: over a list, tips would come and go as it pleased.
    static void SetUpTestSuite() {
        WaitForClipboardManager();
        SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    // Leaves the dialog on its first page, where the next test expects it to open.
    void TearDown() override {
        if (IsWindow(hwnd_)) RunOnPage(0, [](HWND) {});
        MainWindowTest::TearDown();
    }

    // Opens the dialog with the menu command, waits for its face to be filled
    // in, turns to a page, runs `act` in it, then presses Esc, which closes the dialog alone.
    void RunOnPage(int index, const std::function<void(HWND)>& act) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Command(IDM_FACE_DETAILS);
        const HWND shown = FindWindowW(L"#32770", nullptr);
        ASSERT_TRUE(shown);
        MSG message{};
        for (const ULONGLONG end = GetTickCount64() + 30000; message.message != kFaceFilledInMessage;) {
            ASSERT_LT(GetTickCount64(), end) << "the face was never filled in";
            if (!PeekMessageW(&message, shown, 0, 0, PM_REMOVE)) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            else DispatchMessageW(&message);
        }
        const HWND tab = FindWindowExW(shown, nullptr, WC_TABCONTROLW, nullptr);
        SendMessageW(tab, TCM_SETCURSEL, WPARAM(index), 0);
        NMHDR changed{tab, 0, UINT(TCN_SELCHANGE)};
        SendMessageW(shown, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
        EXPECT_FALSE(GetUpdateRect(hwnd_, nullptr, FALSE)) << "making the pages redraws no other window";
        act(shown);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        PumpPending();
        EXPECT_FALSE(IsWindow(shown)) << "Esc closes the dialog";
        EXPECT_EQ(GetActiveWindow(), hwnd_) << "the main window takes the keys back";
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // what it covered, painted
    }
    void RunOnGridPage(const std::function<void(const GridPage&)>& act) {
        RunOnPage(kGridPage, [&](HWND dialog) { act(FindGridPage(dialog)); });
    }

    // Checks the dialog on its first page and presses the copy button (Ctrl+C
    // is pressed end to end); gives back the dialog's title and its number of rows.
    std::pair<std::wstring, LRESULT> RunFirstPage() {
        PutTextOnClipboard(L"before");
        const auto fonts = LoadedFonts().faceNames;
        std::pair<std::wstring, LRESULT> seen;
        RunOnPage(0, [&](HWND shown) {
            seen.first = WindowText(shown);
            EXPECT_EQ(GetWindow(shown, GW_OWNER), hwnd_);
            EXPECT_TRUE(IsWindowEnabled(hwnd_)) << "modeless: the main window stays in use";
            wchar_t caption[32] = L"";
            TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
            SendMessageW(FindWindowExW(shown, nullptr, WC_TABCONTROLW, nullptr), TCM_GETITEMW, 0,
                         reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(std::wstring(caption), L"情報");
            const HWND list = FindInPage(shown, L"TavrelInfoPage", WC_LISTVIEWW);
            seen.second = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
            EXPECT_TRUE(GetWindowLongW(shown, GWL_STYLE) & WS_THICKFRAME);
            const LONG before = WidthOf(list);
            SetWindowPos(shown, nullptr, 0, 0, WidthOf(shown) + 100, 400, SWP_NOMOVE);
            EXPECT_EQ(WidthOf(list) - before, 100) << "laid out on WM_SIZE";
            SetWindowPos(shown, nullptr, 0, 0, WidthOf(shown) - 100, 400, SWP_NOMOVE);  // it opens next at this size
            PressCopy(shown);
            wchar_t cells[2][MAX_PATH] = {};
            for (int column : {0, 1}) ListView_GetItemText(list, 0, column, cells[column], MAX_PATH);
            EXPECT_TRUE(ClipboardText().value_or(L"").starts_with(std::wstring(cells[0]) + L"\t" + cells[1] + L"\r\n"))
                << "the list shows the rows copied";
        });
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

TEST_F(DetailsDialogTest, CopiedTextIsTheReportOfTheFace) {
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
        const auto [title, rowsShown] = RunFirstPage();
        EXPECT_EQ(title, L"フォントの詳細 - " + LoadedFonts().faceNames[c.faceItem < 0 ? 0 : c.faceItem]);
        const auto [text, rows] = ExpectedRows(c, SampleText());
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), text);
        EXPECT_EQ(rowsShown, rows);
        CloseWindow();
    }
}

TEST_F(DetailsDialogTest, AFileGoneOrChangedIsOneLine) {
    const std::wstring file = ScratchFolder() + L"\\face.ttf";
    const struct { const char* what; std::function<void()> change; std::function<std::wstring()> line; } cases[] = {
        {"deleted", [&] { DeleteFileW(file.c_str()); }, [&] { return L"ファイル\tファイルがないか読めません: " + file; }},
        {"another font", [&] { CopyFileW(DejaVu("DejaVuSerif.ttf").c_str(), file.c_str(), FALSE); },
         [&] { return L"ファイル\tファイルにこのフェイスがもうありません: " + file; }},
        {"reset, the sample's face not loaded", [&] { Command(IDM_RESET); },
         [&] { return L"フォント\t「" + FaceOf() + L"」は読み込まれていません"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CopyFileW(DejaVu("DejaVuSans.ttf").c_str(), file.c_str(), FALSE);
        OpenWindow();
        DropFiles({file});
        c.change();
        EXPECT_EQ(RunFirstPage().second, 1);
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), c.line() + L"\r\n");
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

// The line up to the glyph and advance it gives after the character's place.
std::wstring GridLine(HWND line) {
    const std::wstring text = WindowText(line);
    return text.substr(0, text.find(L"  グリフ "));
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
            EXPECT_EQ(GridLine(page.line), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            cellsOfA.push_back(CellPixels(PrintClient(page.grid), indexOf(U'!')));
            SendMessageW(page.grid, WM_VSCROLL, SB_BOTTOM, 0);
            RECT client{};
            GetClientRect(page.grid, &client);
            const int column = int((n - 1) % std::size_t(client.right / kCell)), row = client.bottom / kCell - 1;
            SendMessageW(page.grid, WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(column * kCell + kCell / 2, row * kCell + kCell / 2));
            const std::wstring last = GridLine(page.line);
            EXPECT_NE(last.find(L"  " + Label(codePoints.back()) + L"  "), std::wstring::npos) << last;
            EXPECT_TRUE(last.ends_with(L"  " + std::to_wstring(n) + L" / " + std::to_wstring(n))) << last;
            SendMessageW(page.grid, WM_KEYDOWN, VK_HOME, 1);
            EXPECT_EQ(GridLine(page.line), Line(wchar_t(codePoints.front()), L"Basic Latin", 1, n));
            const struct {
                std::wstring query;
                wchar_t character;
                bool present;
            } searches[] = {{L"U+4E00", 0x4E00, c.hasKanji}, {L"永", 0x6C38, c.hasKanji}, {L"U+E000", 0xE000, false}};
            for (const auto& s : searches) {
                SetWindowTextW(page.search, L"");
                for (wchar_t typed : s.query) SendMessageW(page.search, WM_CHAR, typed, 1);
                EXPECT_EQ(GridLine(page.line),
                          s.present ? Line(s.character, L"CJK Unified Ideographs", indexOf(s.character) + 1, n)
                                    : Label(s.character) + L" はこのフォントにありません");
                SendMessageW(page.copy, BM_CLICK, 0, 0);
                const std::wstring selected = s.present ? Utf16Of(s.character) : Utf16Of(codePoints.front());
                EXPECT_EQ(ClipboardText().value_or(L""), selected) << "no match: the selection before the search";
            }
            if (c.hasKanji) {
                SetWindowTextW(page.search, L"U+20BB7");
                EXPECT_EQ(SelectedCellInk(PrintClient(page.grid)), NotoGlyphInk(page.grid, bytes, 0x20BB7));
            }
            SetWindowTextW(page.search, L"u+0041");
            PostMessageW(page.grid, WM_KEYDOWN, VK_RETURN, 1);
        });
        EXPECT_EQ(SampleText(), sample.substr(0, 1) + L"A" + sample.substr(1));
        CloseWindow();
    }
    ASSERT_EQ(cellsOfA.size(), 2u);
    EXPECT_NE(cellsOfA[0], cellsOfA[1]) << "each glyph drawn in its own face";
    EXPECT_GT(std::count(cellsOfA[0].begin(), cellsOfA[0].end(), appState.fontColor), 0) << "ink in the cell";
}

// 葛 found by each search form; its panel names it, and its two variation sequences in Noto Sans CJK JP draw
// two different glyphs, the one picked copied with its selector; a reading finds more than one character.
TEST_F(DetailsDialogTest, PanelTellsWhoTheCharacterIsAndDrawsItsVariantGlyphs) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    RunOnGridPage([](const GridPage& page) {
        const HWND panel = FindWindowExW(GetParent(page.grid), nullptr, L"TavrelCharacterPanel", nullptr);
        const HWND strip = FindWindowExW(panel, nullptr, L"TavrelVariantStrip", nullptr);
        for (const wchar_t* query : {L"葛", L"19-75", L"1-19-75", L"8A8B", L"0x8a8b", L"CID+7652"}) {
            SetWindowTextW(page.search, L"U+0041");
            SetWindowTextW(page.search, query);
            SendMessageW(page.copy, BM_CLICK, 0, 0);
            EXPECT_EQ(ClipboardText().value_or(L""), L"葛") << query;
        }
        const std::wstring text = WindowText(FindWindowExW(panel, nullptr, L"Edit", nullptr));
        for (const wchar_t* field : {L"1-19-75", L"8A8B", L"CID+7652", L"CID+1481", L"カツ", L"くず", L"部首: 140", L"総画数: 12"})
            EXPECT_NE(text.find(field), std::wstring::npos) << field;
        RECT cells[3]{};
        ASSERT_TRUE(SendMessageW(strip, kGetVariantRect, 1, LPARAM(&cells[1])) && SendMessageW(strip, kGetVariantRect, 0, LPARAM(&cells[0])));
        EXPECT_FALSE(SendMessageW(strip, kGetVariantRect, 2, LPARAM(&cells[2])));
        const Picture picture = PrintClient(strip);
        std::vector<COLORREF> glyphs[2];
        for (int i : {0, 1})
            for (LONG y = cells[i].top + 1; y < cells[i].bottom - 1; ++y)
                for (LONG x = cells[i].left + 1; x < cells[i].right - 1; ++x) glyphs[i].push_back(picture.At(x, y));
        EXPECT_NE(glyphs[0], glyphs[1]);
        EXPECT_GT(std::count(glyphs[0].begin(), glyphs[0].end(), appState.fontColor), 0) << "ink in the first";
        SetFocus(strip);
        SendMessageW(strip, WM_KEYDOWN, VK_RIGHT, 1);
        SendMessageW(page.copy, BM_CLICK, 0, 0);
        EXPECT_EQ(ClipboardText().value_or(L""), L"葛\U000E0101");
        SetWindowTextW(page.search, L"くず");
        const std::wstring first = WindowText(page.line);
        SendMessageW(page.search, WM_KEYDOWN, VK_F3, 1);
        EXPECT_NE(first.find(L"読み 1 / "), std::wstring::npos) << first;
        EXPECT_NE(WindowText(page.line).find(L"読み 2 / "), std::wstring::npos) << WindowText(page.line);
    });
}

TEST_F(DetailsDialogTest, DialogAndScrollingGiveBackEveryGdiObject) {
    OpenFace(DebianFont("opentype/noto/NotoSansCJK-Regular.ttc"));
    const auto scroll = [](const GridPage& page, int pages) {
        for (int step = 0; step < pages; ++step) {
            SendMessageW(page.grid, WM_VSCROLL, SB_PAGEDOWN, 0);
            UpdateWindow(page.grid);
        }
        SendMessageW(page.grid, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
    };
    // Each page in turn; the first two rounds make the controls' shared objects, and GDI what it keeps
    // for the glyphs it first draws.
    long objects = 0;
    for (int i = 0; i < 48; ++i) {
        RunOnPage(i % 4, [&](HWND dialog) {
            if (i % 4 == kGridPage) scroll(FindGridPage(dialog), i < 8 ? 400 : 0);
        });
        if (i == 7) objects = CountGdiObjects();
    }
    EXPECT_EQ(CountGdiObjects(), objects);
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
    // The first line's ink (the labels are lighter): 16 pixels, which hold an 8-point line, from the top of the
    // ink across, from its right edge down.
    const auto firstLine = [](const Picture& picture, bool vertical) {
        const Inked text = [](int r, int, int) { return r < 100; };
        const RECT all = InkIn(picture, text).box;
        return InkIn(picture, text, vertical ? RECT{all.right - 16, 0, all.right, LONG_MAX}
                                             : RECT{0, all.top, LONG_MAX, all.top + 16}).Size();
    };
    RunOnPage(kWaterfallPage, [&](HWND dialog) {
        const HWND view = FindInPage(dialog, L"TavrelWaterfallPage", L"TavrelWaterfall");
        SetFocus(FindInPage(dialog, L"TavrelWaterfallPage", L"Button", L"縦書き(&V)"));
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(GetFocus(), view) << "a click takes the keys to the lines";
        RECT area{};
        GetClientRect(view, &area);
        client = {area.right, area.bottom};
        const Picture picture = PressCopy(dialog);
        copied = {picture.width, picture.height};
        horizontal = firstLine(PrintClient(view), false);
        SendMessageW(FindInPage(dialog, L"TavrelWaterfallPage", L"Button", L"縦書き(&V)"), BM_CLICK, 0, 0);
        vertical = firstLine(PrintClient(view), true);
        ValidateRect(view, nullptr);
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.cx, client.cy));
        RECT update{};
        GetUpdateRect(view, &update, FALSE);
        EXPECT_EQ(update.right - update.left, client.cx) << "the lines hang from the right edge: all move";
    });
    EXPECT_GE(copied.cx, 20 * 96) << "the 72-point line whole, twenty characters of 96 pixels";
    EXPECT_GT(copied.cy, client.cy);
    EXPECT_GT(horizontal.cx, 8 * horizontal.cy) << horizontal.cx << "x" << horizontal.cy;
    EXPECT_GT(vertical.cy, 8 * vertical.cx) << vertical.cx << "x" << vertical.cy;
    // Kana a Latin face lacks are its own empty glyph, the same for all of them, never another face's.
    CloseWindow();
    OpenFace(DejaVu("DejaVuSans.ttf"));
    std::vector<Picture> lines;
    for (const wchar_t* kana : {L"あいう", L"かきく"}) {
        SetWindowTextW(appState.hwndSample, kana);
        RunOnPage(kWaterfallPage, [&](HWND dialog) { lines.push_back(PressCopy(dialog)); });
    }
    EXPECT_EQ(lines[0].pixels, lines[1].pixels);
}

// Alone in its process, at the DPI TAVREL_TEST_DPI names (at_dpi.sh). Wine 8 refuses the V2 awareness
// context and gives every window the system DPI: the scaling is checked at that DPI and a WM_DPICHANGED's.
TEST_F(DetailsDialogTest, DialogAndGridScaleWithTheDpi) {
    const char* wanted = std::getenv("TAVREL_TEST_DPI");
    const int dpi = wanted ? std::atoi(wanted) : 96;
    ASSERT_EQ(int(GetDpiForSystem()), dpi) << "the prefix's LogPixels";
    const auto cellOf = [](HWND grid) {  // the first cell is empty: the line that ends it
        const Picture picture = PrintClient(grid);
        for (int x = 3; x < picture.width; ++x)
            if (picture.At(x, 20) == RGB(127, 127, 127)) return x;
        return 0;
    };
    OpenFace(DejaVu("DejaVuSans.ttf"));
    RunOnGridPage([&](const GridPage& page) {
        const HWND dialog = GetAncestor(page.grid, GA_ROOT);
        EXPECT_EQ(WidthOf(dialog), MulDiv(640, dpi, 96));
        EXPECT_EQ(cellOf(page.grid), MulDiv(kCell, dpi, 96));
        RECT suggested{0, 0, 1000, 700};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2), LPARAM(&suggested));
        EXPECT_EQ(WidthOf(dialog), 1000);
        EXPECT_EQ(cellOf(page.grid), MulDiv(kCell, dpi * 3 / 2, 96));
    });
    // At the smallest size, the words of every label that does not end in an ellipsis fit it.
    CloseWindow();
    OpenFace(DebianFont("truetype/inter-vf/Inter-roman.var.ttf"));
    for (int index : {kWaterfallPage, kTypesetPage})
        RunOnPage(index, [&](HWND dialog) {
            SetWindowPos(dialog, nullptr, 0, 0, 1, 1, SWP_NOMOVE);
            EnumChildWindows(dialog, [](HWND child, LPARAM) {
                wchar_t name[16] = L"";
                GetClassNameW(child, name, 16);
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                if (std::wstring(name) != L"Static" || !IsWindowVisible(child) || (style & SS_ENDELLIPSIS) ||
                    (style & SS_TYPEMASK) == SS_OWNERDRAW)
                    return TRUE;
                const std::wstring text = WindowText(child);
                const ScopedGetDC dc(child);
                const ScopedSelectObject font(dc.get(), HFONT(SendMessageW(child, WM_GETFONT, 0, 0)));
                RECT words{}, client{};
                DrawTextW(dc.get(), text.c_str(), int(text.size()), &words, DT_CALCRECT | DT_SINGLELINE);
                GetClientRect(child, &client);
                EXPECT_LE(words.right, client.right) << Utf8(text);
                return TRUE;
            }, 0);
        });
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
        const auto ink = [&] { return InkIn(PressCopy(dialog)).Size(); };
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
    EXPECT_NE(withSequences.find(L"  グリフ "), std::wstring::npos) << "the glyph and its advance";
    EXPECT_EQ(without.find(L"異体字"), std::wstring::npos) << without;
}

// The share of `a`'s dark pixels that are dark in `b` too.
double Overlap(const Picture& a, const Picture& b) {
    const auto dark = [](const Picture& p, int x, int y) {
        return x < p.width && y < p.height && GetRValue(p.At(x, y)) < 128;
    };
    std::size_t inked = 0, both = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) inked += dark(a, x, y), both += dark(a, x, y) && dark(b, x, y);
    return inked ? double(both) / double(inked) : 0;
}

TEST_F(DetailsDialogTest, VariableFacesDrawAtEveryInstanceAndColourFacesInColour) {
    const std::wstring fonts = WinePath(TAVREL_WINDOW_FONTS);
    // Wine also sees Debian's installed Inter fonts, and answers the name "Inter"
    // with one of those: the file's default instance must come from its own outlines.
    const std::wstring files[] = {fonts + L"\\TavrelTestVariable.ttf", DebianFont("truetype/inter-vf/Inter-roman.var.ttf")};
    for (const std::wstring& file : files) {
        if (&file != files) CloseWindow();
        OpenFace(file);
        appState.pointSize = 36;  // 48 pixels at 96 DPI
        SetWindowTextW(appState.hwndSample, L"Hamburgefonstiv");
        Picture gdi, nearDefault, black, onScreen;
        RunOnPage(kTypesetPage, [&](HWND dialog) {
            // Large enough for the whole line on the screen, whatever size earlier tests left the dialog at.
            SetWindowPos(dialog, nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
            const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelTypesetPage", nullptr);
            const HWND track = FindWindowExW(pane, nullptr, TRACKBAR_CLASSW, nullptr);
            const auto moveTo = [&](int weight) {
                SendMessageW(track, TBM_SETPOS, TRUE, weight);
                SendMessageW(pane, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, weight), LPARAM(track));
            };
            gdi = PressCopy(dialog);
            const LRESULT range = SendMessageW(track, TBM_GETRANGEMAX, 0, 0) - SendMessageW(track, TBM_GETRANGEMIN, 0, 0);
            EXPECT_EQ(SendMessageW(track, TBM_GETLINESIZE, 0, 0), range / 100) << "an arrow key moves by 1 %";
            moveTo(401);  // next to the default: drawn from outlines
            const HWND instances = FindWindowExW(pane, FindWindowExW(pane, nullptr, L"ComboBox", nullptr), L"ComboBox", nullptr);
            EXPECT_EQ(WindowText(instances).substr(0, 8), L"wght 401")
                << "between named instances, the values";
            nearDefault = PressCopy(dialog);
            moveTo(900);
            black = PressCopy(dialog);
            onScreen = PrintClient(FindWindowExW(pane, nullptr, L"TavrelGlyphLine", nullptr), true);
        });
        const Ink byGdi = InkIn(gdi), byOutlines = InkIn(nearDefault);
        for (auto [a, b] : {std::pair{byGdi.box.left, byOutlines.box.left}, {byGdi.box.top, byOutlines.box.top},
                            {byGdi.box.right, byOutlines.box.right}, {byGdi.box.bottom, byOutlines.box.bottom}})
            EXPECT_LE(std::abs(a - b), 2) << "GDI's and the outlines' ink boxes of " << Utf8(file);
        // Wine's GDI draws a private face hinted and without anti-aliasing, so the
        // two agree to a pixel at the edges: most of GDI's ink, about as much ink.
        EXPECT_GE(Overlap(gdi, nearDefault), 0.85) << Utf8(file);
        EXPECT_LT(std::abs(double(byOutlines.count) / double(byGdi.count) - 1), 0.15);
        EXPECT_GT(InkIn(black).count, byOutlines.count * 5 / 4) << "ink grows with the weight";
        EXPECT_GE(Overlap(onScreen, black), 0.95) << "the screen shows the line as it is copied";
    }

    const struct { const wchar_t* file; Inked wanted[2]; } colourCases[] = {
        {L"\\TavrelTestColour.ttf", {[](int r, int, int b) { return r > 180 && b < 80; },
                                      [](int r, int, int b) { return b > 180 && r < 80; }}},
        {L"", {[](int r, int g, int b) { return std::max({r, g, b}) - std::min({r, g, b}) > 80; }, {}}},
    };
    // A colour-bitmap face's GDI metrics (130 pixels at any size) do not make the search box taller.
    const auto searchHeight = [](HWND dialog) {
        RECT box{};
        GetWindowRect(FindInPage(dialog, L"TavrelCharGridPage", L"Edit"), &box);
        return box.bottom - box.top;
    };
    LONG emojiSearch = 0, ipaSearch = 0;
    for (const auto& c : colourCases) {
        CloseWindow();
        OpenFace(*c.file ? fonts + c.file : DebianFont("truetype/noto/NotoColorEmoji.ttf"));
        const wchar_t* coloured = *c.file ? L"A" : L"\U0001F600";
        SetWindowTextW(appState.hwndSample, coloured);
        RunOnPage(kGridPage, [&](HWND dialog) {
            const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr);
            // Brought into view whatever cell size and scroll position earlier tests left.
            SetWindowTextW(FindWindowExW(pane, nullptr, L"Edit", nullptr), coloured);
            const Picture grid = PrintClient(FindWindowExW(pane, nullptr, L"TavrelCharGrid", nullptr));
            for (const auto& wanted : c.wanted) {
                if (!wanted) continue;
                EXPECT_GT(InkIn(grid, wanted).count, 100u) << "colours of " << Utf8(c.file);
            }
            emojiSearch = searchHeight(dialog);
        });
        Picture waterfall;
        RunOnPage(kWaterfallPage, [&](HWND dialog) { waterfall = PressCopy(dialog); });
        EXPECT_GT(InkIn(waterfall, c.wanted[0]).count, 100u) << "the waterfall's colours of " << Utf8(c.file);
    }
    CloseWindow();
    OpenFace(DebianFont("opentype/ipafont-gothic/ipag.ttf"));
    RunOnPage(kGridPage, [&](HWND dialog) { ipaSearch = searchHeight(dialog); });
    EXPECT_EQ(emojiSearch, ipaSearch);
}

TEST(DialogPlacementTest, BesideTheOwnerWhereThereIsRoomElseCoveringLeastOfTheSample) {
    const RECT work{0, 0, 1024, 768};
    const struct { RECT owner, sample; POINT at; } cases[] = {
        {{10, 10, 330, 370}, {10, 50, 330, 370}, {330, 10}},      // at the right
        {{600, 10, 1020, 370}, {600, 50, 1020, 370}, {200, 10}},  // no room there: at the left
        {{10, 10, 650, 370}, {12, 52, 648, 368}, {624, 370}},    // no room beside: below
    };
    for (const auto& c : cases) {
        const POINT at = PlaceBeside(c.owner, c.sample, {400, 300}, work);
        EXPECT_EQ(std::pair(at.x, at.y), std::pair(c.at.x, c.at.y));
    }
}

// One dialog at a time, following the face the main window shows; the 組版 and ウォーターフォール pages share the instance.
TEST_F(DetailsDialogTest, ModelessDialogFollowsTheChosenFaceAndSharesTheInstance) {
    OpenFace(WinePath(TAVREL_WINDOW_FONTS) + L"\\TavrelTestVariable.ttf");
    DropFiles({DejaVu("DejaVuSans.ttf")});
    int waterfallWeight = 0;
    RunOnPage(kTypesetPage, [&](HWND dialog) {
        Command(IDM_FACE_DETAILS);
        EXPECT_EQ(FindWindowExW(nullptr, dialog, L"#32770", nullptr), nullptr) << "one dialog";
        const HWND track = FindInPage(dialog, L"TavrelTypesetPage", TRACKBAR_CLASSW);
        SendMessageW(track, TBM_SETPOS, TRUE, 700);
        SendMessageW(GetParent(track), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 700), LPARAM(track));
        const HWND tab = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
        SendMessageW(tab, TCM_SETCURSEL, kWaterfallPage, 0);
        NMHDR changed{tab, 0, UINT(TCN_SELCHANGE)};
        SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
        waterfallWeight = int(SendMessageW(FindInPage(dialog, L"TavrelWaterfallPage", TRACKBAR_CLASSW), TBM_GETPOS, 0, 0));
        SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, 1, 0);
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(appState.hwndFaceCombo));
        EXPECT_EQ(WindowText(dialog), L"フォントの詳細 - " + LoadedFonts().faceNames[1]);
    });
    EXPECT_EQ(waterfallWeight, 700);
}

}  // namespace
}  // namespace tavrel::test
