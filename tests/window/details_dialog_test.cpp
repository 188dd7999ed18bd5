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

std::wstring Fonts(const char* path) { return DebianFont((std::string("/usr/share/fonts/") + path).c_str()); }

// The rows as the page copies them, one a line: Japanese label, tab, value.
std::wstring ExpectedText(const std::wstring& file, FontLoader loader, std::optional<std::uint32_t> member,
                          const std::wstring& sample, bool installed = false) {
    const auto bytes = ReadFileBytes(std::filesystem::path(file));
    const std::u16string text(sample.begin(), sample.end());
    auto reports = DescribeFontFile(installed ? "" : Utf8(file), loader, bytes.value(), member, text);
    if (!reports || reports->empty()) return L"<no report>";
    std::wstring copied = installed ? L"入手元\tインストール済みのフォント (GDI が使うファイル)\r\n" : L"";
    if (installed) reports->front().loader = FontLoader::None;
    for (const ReportRow& row : ReportRows(reports->front()))
        copied += std::wstring(row.labelJapanese.begin(), row.labelJapanese.end()) + L'\t' +
                  Utf16(row.value.c_str()) + L"\r\n";
    return copied;
}

struct DialogSeen {
    std::wstring title;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring tabs;
    LRESULT rows = 0;
    bool resizable = false;
    bool listGrowsWithTheDialog = false;
};

BOOL CALLBACK CollectTabsAndRows(HWND child, LPARAM seen) {
    auto& out = *reinterpret_cast<DialogSeen*>(seen);
    if (ClassName(child) == WC_LISTVIEWW) out.rows = SendMessageW(child, LVM_GETITEMCOUNT, 0, 0);
    if (ClassName(child) != WC_TABCONTROLW) return TRUE;
    for (LRESULT i = 0; i < SendMessageW(child, TCM_GETITEMCOUNT, 0, 0); ++i) {
        wchar_t caption[32] = L"";
        TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
        SendMessageW(child, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        out.tabs += caption + std::wstring(L";");
    }
    return TRUE;
}

bool ListGrows(HWND dialog) {
    const auto listWidth = [] {
        RECT rect{};
        GetWindowRect(GetFocus(), &rect);
        return rect.right - rect.left;
    };
    const LONG before = listWidth();
    RECT window{};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + 100, window.bottom - window.top, SWP_NOMOVE);
    return listWidth() == before + 100;
}

// Ctrl+C, then Esc, as the keyboard delivers them to the focused page.
void CopyThenEscape(bool copy) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    if (copy) PostMessageW(GetFocus(), WM_KEYDOWN, 'C', 1);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
}

class DetailsDialogTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { WaitForClipboardManager(); }

    // Opens the dialog with the menu command, inspects it, copies and presses Esc.
    DialogSeen RunDialog(bool withCopyButton = false) {
        PutTextOnClipboard(L"before");
        DialogSeen seen;
        {
            WhenWindowShows dialog(L"#32770", [&](HWND shown) {
                seen.title = WindowText(shown);
                seen.owner = GetWindow(shown, GW_OWNER);
                seen.ownerEnabled = IsWindowEnabled(hwnd_);
                seen.resizable = GetWindowLongW(shown, GWL_STYLE) & WS_THICKFRAME;
                EnumChildWindows(shown, CollectTabsAndRows, reinterpret_cast<LPARAM>(&seen));
                seen.listGrowsWithTheDialog = ListGrows(shown);
                if (withCopyButton) SendMessageW(FindWindowExW(shown, nullptr, L"Button", L"コピー"), BM_CLICK, 0, 0);
                CopyThenEscape(!withCopyButton);
            });
            Command(IDM_FACE_DETAILS);
            EXPECT_TRUE(dialog.seen());
        }
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        EXPECT_TRUE(IsWindow(hwnd_)) << "Esc closed the dialog only";
        EXPECT_EQ(seen.owner, hwnd_);
        EXPECT_FALSE(seen.ownerEnabled) << "modal to the main window";
        EXPECT_EQ(seen.tabs, L"情報;");
        EXPECT_TRUE(seen.resizable);
        EXPECT_TRUE(seen.listGrowsWithTheDialog);
        return seen;
    }
    void SelectFace(int index) { SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, WPARAM(index), 0); }
};

struct FileCase {
    const char* what;
    std::wstring file;
    FontLoader loader;
    int faceItem;  // -1: nothing selected in the face box, the caret's face counts
    std::optional<std::uint32_t> member;
};

TEST_F(DetailsDialogTest, CopiedTextIsTheReportOfTheSelectedFace) {
    const std::wstring woff = ScratchFolder() + L"\\ipag.woff";
    const auto ipa = ReadFileBytes(std::filesystem::path(Fonts("opentype/ipafont-gothic/ipag.ttf")));
    WriteScratchFile(woff, WoffFromSfnt(ipa.value()));
    const FileCase cases[] = {
        {"TrueType file", Fonts("truetype/dejavu/DejaVuSans.ttf"), FontLoader::Sfnt, 0, std::nullopt},
        {"collection member", Fonts("opentype/noto/NotoSansCJK-Regular.ttc"), FontLoader::Collection, 1, 1},
        {"WOFF, caret's face", woff, FontLoader::Woff, -1, std::nullopt},
        {"WOFF2", DebianFont(TAVREL_DEJAVU_SERIF_WOFF2), FontLoader::Woff2, 0, std::nullopt},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWindow();
        DropFiles({c.file});
        SelectFace(c.faceItem);
        const std::wstring face = LoadedFonts().faceNames[c.faceItem < 0 ? 0 : std::size_t(c.faceItem)];
        const auto fonts = LoadedFonts().faceNames;
        const DialogSeen seen = RunDialog();
        EXPECT_EQ(seen.title, L"フォントの詳細 - " + face);
        const std::wstring expected = ExpectedText(c.file, c.loader, c.member, SampleText());
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), expected);
        EXPECT_EQ(seen.rows, std::count(expected.begin(), expected.end(), L'\n'));
        EXPECT_EQ(LoadedFonts().faceNames, fonts);
        CloseWindow();
    }
}

TEST_F(DetailsDialogTest, InstalledFaceIsReadFromGdiAndSaysSoWithoutLeakingHandles) {
    const FileCase cases[] = {
        {"DejaVu Sans", Fonts("truetype/dejavu/DejaVuSans.ttf"), FontLoader::Sfnt, 0, std::nullopt},
        {"Noto Sans CJK SC", Fonts("opentype/noto/NotoSansCJK-Regular.ttc"), FontLoader::Collection, 0, 2},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWindow();
        AddInstalledFace(Utf16(c.what));
        SelectFace(0);
        RunDialog();  // the first dialog of the process makes the controls' shared objects
        const long objects = CountGdiObjects();
        RunDialog();
        EXPECT_EQ(CountGdiObjects(), objects);
        EXPECT_EQ(ClipboardText().value_or(L"<no text>"), ExpectedText(c.file, c.loader, c.member, SampleText(), true));
        CloseWindow();
    }
}

TEST_F(DetailsDialogTest, AFileGoneOrChangedIsOneLine) {
    const std::wstring file = ScratchFolder() + L"\\face.ttf";
    const struct {
        const char* what;
        std::function<void()> change;
        std::wstring line;
    } cases[] = {
        {"deleted", [&] { DeleteFileW(file.c_str()); }, L"ファイル\tファイルがないか読めません: " + file + L"\r\n"},
        {"another font", [&] { CopyFileW(Fonts("truetype/dejavu/DejaVuSerif.ttf").c_str(), file.c_str(), FALSE); },
         L"ファイル\tファイルにこのフェイスがもうありません: " + file + L"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CopyFileW(Fonts("truetype/dejavu/DejaVuSans.ttf").c_str(), file.c_str(), FALSE);
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
