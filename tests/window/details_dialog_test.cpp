// The face details dialog of the real main window: the menu command opens it
// for the selected face, modal to the main window; Ctrl+C copies the page as
// the report's rows, value for value; Esc closes the dialog and nothing else.

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app_state.h"
#include "clipboard_picture.h"
#include "face_report.h"
#include "file_bytes.h"
#include "gdi_object_count.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "window_harness.h"
#include "woff_builder.h"

namespace tavrel::test {
namespace {

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

struct DialogSeen {
    std::wstring title;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring firstTab;
    LRESULT rows = 0;
    bool resizable = false;
    LONG listWidening = 0;  // when the dialog is made 100 pixels wider
};

DialogSeen Inspect(HWND dialog) {
    const auto widthOf = [](HWND hwnd) {
        RECT rect{};
        return GetWindowRect(hwnd, &rect), rect.right - rect.left;
    };
    DialogSeen seen;
    seen.title = WindowText(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(seen.owner);
    const HWND tab = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
    const HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
    wchar_t caption[32] = L"";
    TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
    SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    seen.firstTab = caption;
    seen.rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    seen.resizable = GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME;
    const LONG before = widthOf(list);
    SetWindowPos(dialog, nullptr, 0, 0, widthOf(dialog) + 100, 400, SWP_NOMOVE);
    seen.listWidening = widthOf(list) - before;
    return seen;
}

// Ctrl+C (or the copy button), then Esc, as the keyboard delivers them to the focused page.
void CopyThenEscape(HWND dialog, bool withCopyButton) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    if (withCopyButton) SendMessageW(FindWindowExW(dialog, nullptr, L"Button", L"コピー"), BM_CLICK, 0, 0);
    else PostMessageW(GetFocus(), WM_KEYDOWN, 'C', 1);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
}

class DetailsDialogTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { WaitForClipboardManager(); }

    // Opens the dialog with the menu command, inspects it, copies and presses Esc.
    DialogSeen RunDialog(bool withCopyButton = false) {
        PutTextOnClipboard(L"before");
        const auto fonts = LoadedFonts().faceNames;
        DialogSeen seen;
        {
            WhenWindowShows dialog(L"#32770", [&](HWND shown) {
                seen = Inspect(shown);
                CopyThenEscape(shown, withCopyButton);
            });
            Command(IDM_FACE_DETAILS);
            EXPECT_TRUE(dialog.seen());
        }
        const BYTE released[256] = {};
        SetKeyboardState(const_cast<BYTE*>(released));
        EXPECT_TRUE(IsWindow(hwnd_)) << "Esc closed the dialog only";
        EXPECT_EQ(LoadedFonts().faceNames, fonts);
        EXPECT_EQ(seen.owner, hwnd_);
        EXPECT_FALSE(seen.ownerEnabled) << "modal to the main window";
        EXPECT_EQ(seen.firstTab, L"情報");
        EXPECT_TRUE(seen.resizable);
        EXPECT_EQ(seen.listWidening, 100) << "laid out on WM_SIZE";
        return seen;
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
        RunDialog();  // the first dialog of the process makes the controls' shared objects
        const long objects = CountGdiObjects();
        const DialogSeen seen = RunDialog();
        EXPECT_EQ(CountGdiObjects(), objects);
        EXPECT_EQ(seen.title, L"フォントの詳細 - " + LoadedFonts().faceNames[c.faceItem < 0 ? 0 : c.faceItem]);
        const auto [text, rows] = ExpectedRows(c, SampleText());
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), text);
        EXPECT_EQ(seen.rows, rows);
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
        EXPECT_EQ(RunDialog(true).rows, 1) << "the copy button copies too";
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), c.line);
        CloseWindow();
    }
}

}  // namespace
}  // namespace tavrel::test
