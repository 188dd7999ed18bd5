// The commands: formatting reaching the selection or all text, the size box,
// the colour and file dialogs, the popup menu, unknown commands, and a start
// without a window; the loop's Esc and Ctrl+C are pressed on the real program
// (e2e_test.py).

#include "app_state.h"
#include "application.h"
#include "main_window.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

#include <optional>

namespace tavrel::test {
namespace {

// Ends a loop that would otherwise never end, so a fault fails instead of hanging.
class LoopDeadline {
public:
    LoopDeadline() : timer_(SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); })) {}
    ~LoopDeadline() { KillTimer(nullptr, timer_); }

private:
    UINT_PTR timer_;
};

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
    void Click(HWND button) const {
        SendMessageW(button, BM_CLICK, 0, 0);
        PumpPending();
    }
    // The colour dialog as a person answers it: red, green and blue typed
    // into its fields, then OK; or Cancel without typing.
    void ChooseColour(HWND button, std::optional<COLORREF> color) const {
        const auto answer = [&](HWND d) {
            for (int field = 706; color && field <= 708; ++field)
                SetDlgItemInt(d, field, *color >> (field - 706) * 8 & 0xFF, FALSE);
            SendMessageW(GetDlgItem(d, color ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
        };
        EXPECT_TRUE(WhenShown(L"#32770", answer, [&] { Click(button); }));
    }
};

TEST_F(CommandsTest, FaceSizeBoldAndItalicReachTheSelectionOrElseAllText) {
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    Select(0, 6);
    Pick(appState.hwndFaceCombo, 1);
    EXPECT_EQ(FaceOf(0, 6), L"DejaVu Serif");
    EXPECT_EQ(FaceOf(7), L"DejaVu Sans");
    Select(3, 3);
    Pick(appState.hwndFaceCombo, 1);
    EXPECT_EQ(FaceOf(), L"DejaVu Serif");

    Select(0, 6);
    Pick(appState.hwndSizeCombo, 8);
    EXPECT_EQ(appState.pointSize, 72u);
    EXPECT_EQ(FormatOf(0, 6).yHeight, 72 * 20);
    EXPECT_EQ(FormatOf(7).yHeight, 24 * 20);

    // Plain from the start, though Wine's sample control has the bold System font's weight as its own
    // default: each click flips the selection and the button.
    const bool wasBold = false;
    EXPECT_FALSE(Checked(IDC_BOLD));
    EXPECT_EQ(FormatOf().wWeight, FW_NORMAL);
    EXPECT_FALSE(FormatOf(0, 6).dwEffects & CFE_BOLD);
    Click(appState.hwndBoldButton);
    EXPECT_EQ(Checked(IDC_BOLD), !wasBold);
    EXPECT_EQ(bool(FormatOf(0, 6).dwEffects & CFE_BOLD), !wasBold);
    EXPECT_EQ(bool(FormatOf(7).dwEffects & CFE_BOLD), wasBold);
    Click(appState.hwndBoldButton);
    EXPECT_EQ(Checked(IDC_BOLD), wasBold);
    EXPECT_EQ(bool(FormatOf(0, 6).dwEffects & CFE_BOLD), wasBold);

    Select(2, 2);
    Click(appState.hwndItalicButton);
    EXPECT_TRUE(FormatOf().dwEffects & CFE_ITALIC);
}

// Keystrokes into the size box's edit field as typing produces them. A size
// whose twips would wrap a signed 32-bit height, or that the control would
// cap, is clamped to the largest it takes, and the box shows what applies.
TEST_F(CommandsTest, SizeBoxAppliesEachValidKeystrokeClampsAndBeepsAtOthers) {
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    GetComboBoxInfo(appState.hwndSizeCombo, &box);
    const struct {
        bool clearFirst;
        std::wstring keys, shown;
        std::uint32_t points;
    } steps[] = {
        {true, L"", L"", 0},  // an empty box is size 0
        {false, L"1638", L"1638", 1638},
        {false, L"a", L"1638a", 1638},  // a beep (heard end to end) and no change
        {true, L"2147483648", L"1638", 1638},
        {false, L"\b\b", L"16", 16},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(Utf8(step.keys));
        if (step.clearFirst) {
            SendMessageW(box.hwndItem, EM_SETSEL, 0, -1);
            SendMessageW(box.hwndItem, WM_CHAR, VK_BACK, 1);
        }
        for (wchar_t key : step.keys) SendMessageW(box.hwndItem, WM_CHAR, key, 1);
        EXPECT_EQ(SizeBoxText(), step.shown);
        EXPECT_EQ(appState.pointSize, step.points);
        EXPECT_EQ(FormatOf().yHeight, LONG(step.points * 20));
    }
}

TEST_F(CommandsTest, TextColorReachesTheSelectionAndBackgroundAlwaysAllText) {
    Select(0, 6);
    ChooseColour(appState.hwndFontColorButton, RGB(10, 20, 30));
    EXPECT_EQ(appState.fontColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf(0, 6).crTextColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf(7).crTextColor, RGB(0, 0, 0));

    // A cancelled dialog still paints, in the colour already chosen: here all
    // text. Wine's dialog writes values typed before Cancel into rgbResult,
    // Windows' does not, so nothing is typed here.
    Select(1, 1);
    ChooseColour(appState.hwndFontColorButton, std::nullopt);
    EXPECT_EQ(appState.fontColor, RGB(10, 20, 30));
    EXPECT_EQ(FormatOf().crTextColor, RGB(10, 20, 30));

    Select(0, 6);
    ChooseColour(appState.hwndBackgroundColorButton, RGB(200, 100, 50));
    EXPECT_EQ(appState.backgroundColor, RGB(200, 100, 50));
    EXPECT_EQ(FormatOf().crBackColor, RGB(200, 100, 50));
    // EM_SETBKGNDCOLOR answers with the colour it replaces.
    EXPECT_EQ(SendMessageW(appState.hwndSample, EM_SETBKGNDCOLOR, 0, RGB(200, 100, 50)), RGB(200, 100, 50));
}

TEST_F(CommandsTest, FileDialogOpensTheChosenFontAndCancelOpensNothing) {
    for (const bool cancel : {true, false}) {
        const auto answer = [&](HWND d) {
            EXPECT_EQ(WindowText(d), L"フォントファイルを選択");
            if (!cancel) SetDlgItemTextW(d, cmb13, DejaVu("DejaVuSansMono.ttf").c_str());
            SendMessageW(GetDlgItem(d, cancel ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
        };
        EXPECT_TRUE(WhenShown(L"#32770", answer, [&] { Command(IDM_ADD_FONT_FILE); }));
        EXPECT_EQ(FaceBoxItems(), cancel ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"DejaVu Sans Mono"});
    }
    EXPECT_EQ(FaceOf(), L"DejaVu Sans Mono");
}

TEST_F(CommandsTest, MenuButtonOpensThePopupBelowItself) {
    std::vector<std::wstring> captions;
    RECT menuWindow{};
    const auto read = [&](HWND popup) {
        GetWindowRect(popup, &menuWindow);
        const auto shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(shown); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(shown, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            captions.push_back(std::to_wstring(GetMenuItemID(shown, i)) + L" " + text);
        }
        EndMenu();
    };
    ASSERT_TRUE(WhenShown(L"#32768", read, [&] { Click(appState.hwndMenuButton); }));
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"40006 フォントファイル追加", L"40013 フォルダ追加", L"40014 書体一覧",
                                                   L"40003 既存フォント追加",
                                                   L"40004 初期化", L"0 ", L"40008 キャプチャ",
                                                   L"40012 フォントの詳細", L"0 ", L"40010 終了"}));
    RECT button{};
    GetWindowRect(appState.hwndMenuButton, &button);
    EXPECT_EQ(menuWindow.left, button.left);
    EXPECT_EQ(menuWindow.top, button.bottom);
}

// F6 between the sample and the toolbar, Tab round the toolbar; the Menu key opens the popup at the caret.
TEST_F(CommandsTest, F6TabAndTheMenuKeyReachTheToolbarAndThePopup) {
    SetFocus(appState.hwndSample);
    const auto press = [](WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PumpPending();
        return GetFocus();
    };
    EXPECT_EQ(press(VK_F6), appState.hwndFaceCombo);
    EXPECT_TRUE(IsChild(appState.hwndSizeCombo, press(VK_TAB)));
    for (HWND button : {appState.hwndBoldButton, appState.hwndItalicButton, appState.hwndFontColorButton,
                        appState.hwndBackgroundColorButton, appState.hwndMenuButton, appState.hwndFaceCombo})
        EXPECT_EQ(press(VK_TAB), button);
    EXPECT_EQ(press(VK_F6), appState.hwndSample);
    RECT menu{};
    ASSERT_TRUE(WhenShown(L"#32768", [&](HWND popup) { GetWindowRect(popup, &menu), EndMenu(); }, [&] { press(VK_APPS); }));
    POINTL caret{};
    SendMessageW(appState.hwndSample, EM_POSFROMCHAR, WPARAM(&caret), 0);
    POINT screen{caret.x, caret.y};
    ClientToScreen(appState.hwndSample, &screen);
    EXPECT_EQ(std::pair(menu.left, menu.top), std::pair(screen.x, screen.y));
}

TEST_F(CommandsTest, UnknownCommandsChangeNothing) {
    const std::wstring text = SampleText();
    for (WORD id : {WORD(1), WORD(40005), WORD(40007), WORD(40011)}) Command(id);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_EQ(SampleText(), text);
}

int refusedWindows = 0;

LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && ClassName(reinterpret_cast<HWND>(wParam)) == kWindowClass) {
        ++refusedWindows;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Without a window nothing would ever post the quit message.
TEST(Entry, NoMainWindowEndsTheProgramWithExitCodeZero) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    UnregisterClassW(kWindowClass, instance);
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    int exitCode = -1;
    {
        const LoopDeadline deadline;
        exitCode = RunApplication(instance, SW_SHOWNORMAL);
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(refusedWindows, 1) << "the window's creation was attempted and refused";
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tavrel::test
