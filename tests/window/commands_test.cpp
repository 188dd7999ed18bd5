// The commands: formatting reaching the selection or all text, the size box,
// the colour and file dialogs, the popup menu, reset's neighbours and close.

#include "app_state.h"
#include "loaded_font_list.h"
#include "point_size.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

namespace tavrel::test {
namespace {

std::wstring DejaVu(const char* file) {
    return DebianFont((std::string("/usr/share/fonts/truetype/dejavu/") + file).c_str());
}

class CommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenWindow();
        Select(0, 0);
    }
    // What a person's pick in a combo box's list produces, through the toolbar.
    void Pick(HWND combo, LRESULT item) const {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageW(appState.hwndToolbar, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    bool Checked(int id) const { return IsDlgButtonChecked(appState.hwndToolbar, id) == BST_CHECKED; }
    LONG End() const { return TextLength(); }
};

TEST_F(CommandsTest, FaceSizeBoldAndItalicReachTheSelectionOrElseAllText) {
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    Select(0, 6);
    Pick(appState.hwndFaceCombo, 1);
    EXPECT_EQ(FaceOf(0, 6), L"DejaVu Serif");
    EXPECT_EQ(FaceOf(7, End()), L"DejaVu Sans");
    Select(3, 3);
    Pick(appState.hwndFaceCombo, 1);
    EXPECT_EQ(FaceOf(0, End()), L"DejaVu Serif");

    Select(0, 6);
    Pick(appState.hwndSizeCombo, 8);
    EXPECT_EQ(appState.pointSize, 72u);
    EXPECT_EQ(FormatOf(0, 6).yHeight, 72 * 20);
    EXPECT_EQ(FormatOf(7, End()).yHeight, 24 * 20);

    // Wine's sample control starts from the bold System font, so the toggle
    // may start checked: each click flips the selection and the button.
    const bool wasBold = Checked(IDC_BOLD);
    EXPECT_EQ(wasBold, bool(FormatOf(0, 6).dwEffects & CFE_BOLD));
    Click(appState.hwndBoldButton);
    EXPECT_EQ(Checked(IDC_BOLD), !wasBold);
    EXPECT_EQ(bool(FormatOf(0, 6).dwEffects & CFE_BOLD), !wasBold);
    EXPECT_EQ(bool(FormatOf(7, End()).dwEffects & CFE_BOLD), wasBold);
    Click(appState.hwndBoldButton);
    EXPECT_EQ(Checked(IDC_BOLD), wasBold);
    EXPECT_EQ(bool(FormatOf(0, 6).dwEffects & CFE_BOLD), wasBold);

    Select(2, 2);
    Click(appState.hwndItalicButton);
    EXPECT_TRUE(FormatOf(0, End()).dwEffects & CFE_ITALIC);
}

TEST_F(CommandsTest, SizeBoxAppliesEachValidKeystrokeAndBeepsAtOthers) {
    ClearSizeBox();
    EXPECT_EQ(appState.pointSize, 0u) << "an empty box is size 0";
    EXPECT_EQ(FormatOf(0, End()).yHeight, 0);
    TypeIntoSizeBox(L"1");
    EXPECT_EQ(appState.pointSize, 1u);
    EXPECT_EQ(FormatOf(0, End()).yHeight, 20);
    TypeIntoSizeBox(L"6");
    EXPECT_EQ(appState.pointSize, 16u);
    EXPECT_EQ(FormatOf(0, End()).yHeight, 320);
    // The letter beeps (MessageBeep, not observable from here) and changes nothing.
    TypeIntoSizeBox(L"a");
    EXPECT_EQ(SizeBoxText(), L"16a");
    EXPECT_EQ(appState.pointSize, 16u);
    EXPECT_EQ(FormatOf(0, End()).yHeight, 320);

    Select(0, 6);
    ClearSizeBox();
    TypeIntoSizeBox(L"20");
    EXPECT_EQ(FormatOf(0, 6).yHeight, 400);
    EXPECT_EQ(FormatOf(7, End()).yHeight, 320);
}

// A size whose twips would wrap a signed 32-bit height, or that the control
// would cap, is clamped to the largest it takes; the box shows what applies.
TEST_F(CommandsTest, SizeTooLargeIsClampedAndShownAsApplied) {
    ClearSizeBox();
    TypeIntoSizeBox(L"1638");
    EXPECT_EQ(SizeBoxText(), L"1638");
    EXPECT_EQ(FormatOf(0, End()).yHeight, 1638 * 20);
    ClearSizeBox();
    TypeIntoSizeBox(L"2147483648");
    EXPECT_EQ(appState.pointSize, 1638u);
    EXPECT_EQ(SizeBoxText(), L"1638");
    EXPECT_EQ(FormatOf(0, End()).yHeight, 1638 * 20);
    TypeIntoSizeBox(L"\b\b");
    EXPECT_EQ(SizeBoxText(), L"16");
    EXPECT_EQ(appState.pointSize, 16u);
}

// The colour dialog, driven as a person would: values typed into its red,
// green and blue fields, then OK or Cancel.
void AnswerColorDialog(HWND dialog, COLORREF color, int button) {
    SetDlgItemInt(dialog, 706, GetRValue(color), FALSE);
    SetDlgItemInt(dialog, 707, GetGValue(color), FALSE);
    SetDlgItemInt(dialog, 708, GetBValue(color), FALSE);
    SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

TEST_F(CommandsTest, TextColorReachesTheSelectionAndBackgroundAlwaysAllText) {
    Select(0, 6);
    {
        WhenWindowShows dialog(L"#32770", [](HWND d) { AnswerColorDialog(d, RGB(10, 20, 30), IDOK); });
        Click(appState.hwndFontColorButton);
        ASSERT_TRUE(dialog.seen());
    }
    EXPECT_EQ(appState.fontColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf(0, 6).crTextColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf(7, End()).crTextColor, RGB(0, 0, 0));

    // A cancelled dialog still paints, in the colour already chosen: here all
    // text. Wine's dialog writes values typed before Cancel into rgbResult,
    // Windows' does not, so nothing is typed here.
    Select(1, 1);
    {
        WhenWindowShows dialog(L"#32770", [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); });
        Click(appState.hwndFontColorButton);
    }
    EXPECT_EQ(appState.fontColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf(0, End()).crTextColor, RGB(10, 20, 30));

    Select(0, 6);
    {
        WhenWindowShows dialog(L"#32770", [](HWND d) { AnswerColorDialog(d, RGB(200, 100, 50), IDOK); });
        Click(appState.hwndBackgroundColorButton);
    }
    EXPECT_EQ(appState.backgroundColor, RGB(200, 100, 50));
    EXPECT_EQ(FormatOf(0, End()).crBackColor, RGB(200, 100, 50));
    // EM_SETBKGNDCOLOR answers with the colour it replaces.
    EXPECT_EQ(SendMessageW(appState.hwndSample, EM_SETBKGNDCOLOR, 0, RGB(200, 100, 50)), RGB(200, 100, 50));
}

TEST_F(CommandsTest, FileDialogOpensTheChosenFontAndCancelOpensNothing) {
    {
        WhenWindowShows dialog(L"#32770", [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); });
        Command(IDM_ADD_FONT_FILE);
        ASSERT_TRUE(dialog.seen());
    }
    EXPECT_TRUE(LoadedFonts().faceNames.empty());
    std::wstring title;
    {
        WhenWindowShows dialog(L"#32770", [&](HWND d) {
            title = WindowText(d);
            SetDlgItemTextW(d, cmb13, DejaVu("DejaVuSansMono.ttf").c_str());
            SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
        });
        Command(IDM_ADD_FONT_FILE);
    }
    EXPECT_EQ(title, L"フォントファイルを選択");
    EXPECT_EQ(FaceBoxItems(), std::vector<std::wstring>{L"DejaVu Sans Mono"});
    EXPECT_EQ(FaceOf(0, End()), L"DejaVu Sans Mono");
}

TEST_F(CommandsTest, MenuButtonOpensThePopupBelowItself) {
    std::vector<std::wstring> captions;
    RECT menuWindow{};
    {
        WhenWindowShows menu(L"#32768", [&](HWND popup) {
            GetWindowRect(popup, &menuWindow);
            const auto shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(shown); ++i) {
                wchar_t text[64] = L"";
                GetMenuStringW(shown, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                captions.push_back(std::to_wstring(GetMenuItemID(shown, i)) + L" " + text);
            }
            EndMenu();
        });
        Click(appState.hwndMenuButton);
        ASSERT_TRUE(menu.seen());
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"40006 フォントファイル追加", L"40003 既存フォント追加",
                                                   L"40004 初期化", L"0 ", L"40008 キャプチャ",
                                                   L"40012 フォントの詳細", L"0 ", L"40010 終了"}));
    RECT button{};
    GetWindowRect(appState.hwndMenuButton, &button);
    EXPECT_EQ(menuWindow.left, button.left);
    EXPECT_EQ(menuWindow.top, button.bottom);
}

TEST_F(CommandsTest, UnknownCommandsChangeNothingAndExitCloses) {
    const std::wstring text = SampleText();
    for (WORD id : {WORD(1), WORD(40005), WORD(40007), WORD(40011)}) Command(id);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_EQ(SampleText(), text);
    Command(IDM_EXIT);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(ReadSettingsFile().keys.size(), 12u);
}

}  // namespace
}  // namespace tavrel::test
