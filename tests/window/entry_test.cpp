// The entry point's loop: the accelerators act before the focused control,
// and a window that cannot be created ends the program at once with 0.

#include "app_state.h"
#include "application.h"
#include "clipboard_picture.h"
#include "main_window.h"
#include "window_harness.h"

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

void PressKey(HWND target, UINT key, bool control) {
    HoldControl(control);
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

using EntryTest = MainWindowTest;

TEST_F(EntryTest, EscAndCtrlCGoToTheWindowBeforeTheFocusedControl) {
    WaitForClipboardManager();
    OpenWindow();
    SetFocus(appState.hwndSample);
    Select(0, 5);
    // Without the accelerators the sample control copies the selected text...
    PutTextOnClipboard(L"before");
    PressKey(appState.hwndSample, 'C', true);
    PumpPending();
    ASSERT_EQ(ClipboardText(), SampleText().substr(0, 5)) << "the check below would prove nothing";

    // ...with them, Ctrl+C is the window's command: a picture of the sample,
    // selection shown, and no text. A posted key does not change the key
    // state, so Ctrl stays down until the loop has taken the C.
    PressKey(appState.hwndSample, 'C', true);
    PostMessageW(nullptr, WM_QUIT, 7, 0);
    const LoopDeadline deadline;
    ASSERT_EQ(RunMessageLoop(hwnd_, CreateAccelerators()), 7);
    EXPECT_FALSE(ClipboardText());
    const auto picture = ClipboardPicture();
    ASSERT_TRUE(picture) << DescribeClipboard();
    EXPECT_GT(picture->Count(GetSysColor(COLOR_HIGHLIGHT)), 100u);

    // Esc closes the window, from the size box too.
    PressKey(appState.hwndSizeCombo, VK_ESCAPE, false);
    EXPECT_EQ(RunMessageLoop(hwnd_, CreateAccelerators()), 0);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(ReadSettingsFile().keys.size(), 12u) << "Esc closes as the title bar does";
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
