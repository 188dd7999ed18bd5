#include "main_window_keys.h"

#include <richedit.h>

#include <algorithm>
#include <array>
#include <cwchar>

#include "app_state.h"

namespace tavrel {

namespace {

bool ClassIs(HWND hwnd, const wchar_t* name) {
    wchar_t className[32] = L"";
    GetClassNameW(hwnd, className, 32);
    return _wcsicmp(className, name) == 0;
}

// The toolbar's controls in the order Tab visits them.
std::array<HWND, 7> ToolbarOrder() {
    const AppState& s = appState;
    return {s.hwndFaceCombo,       s.hwndSizeCombo,           s.hwndBoldButton, s.hwndItalicButton,
            s.hwndFontColorButton, s.hwndBackgroundColorButton, s.hwndMenuButton};
}

// The toolbar control that holds `focus` (the size box's edit field is inside its box), or the end.
const HWND* ToolbarControlOf(const std::array<HWND, 7>& order, HWND focus) {
    return std::find_if(order.begin(), order.end(),
                        [&](HWND control) { return focus && (control == focus || IsChild(control, focus)); });
}

// Moved by the keyboard: the buttons show the focus from now on, as a dialog's do.
void FocusByKeyboard(HWND hwndMain, HWND target) {
    SendMessageW(hwndMain, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(target);
}

// F6 and Shift+F6: two panes, so either goes to the other one.
void SwitchPane(HWND hwndMain) {
    const auto order = ToolbarOrder();
    const bool inToolbar = ToolbarControlOf(order, GetFocus()) != order.end();
    FocusByKeyboard(hwndMain, inToolbar ? appState.hwndSample : order.front());
}

void TabThroughToolbar(HWND hwndMain, bool backward) {
    const auto order = ToolbarOrder();
    const auto at = static_cast<std::size_t>(ToolbarControlOf(order, GetFocus()) - order.begin());
    FocusByKeyboard(hwndMain, order[(at + (backward ? order.size() - 1 : 1)) % order.size()]);
}

// Where the caret is, on the screen: the selection's active end, kept inside the sample.
POINT CaretOnScreen() {
    CHARRANGE selection{};
    SendMessageW(appState.hwndSample, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINTL at{};
    SendMessageW(appState.hwndSample, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), selection.cpMax);
    RECT client{};
    GetClientRect(appState.hwndSample, &client);
    POINT point{std::clamp<LONG>(at.x, 0, std::max<LONG>(client.right - 1, 0)),
                std::clamp<LONG>(at.y, 0, std::max<LONG>(client.bottom - 1, 0))};
    ClientToScreen(appState.hwndSample, &point);
    return point;
}

bool Held(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool ClosesDroppedList(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
    for (HWND hwnd = GetFocus(); hwnd; hwnd = GetParent(hwnd)) {
        if (ClassIs(hwnd, L"ComboLBox")) return true;
        if (ClassIs(hwnd, L"ComboBox")) return SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

bool OnMainWindowKey(HWND hwndMain, const MSG& message) {
    if (message.hwnd != hwndMain && !IsChild(hwndMain, message.hwnd)) return false;
    const WPARAM key = message.wParam;
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (down && key == VK_F6 && !Held(VK_CONTROL) && !Held(VK_MENU)) {
        SwitchPane(hwndMain);
    } else if (down && key == VK_TAB && !Held(VK_CONTROL) && !Held(VK_MENU) &&
               ToolbarControlOf(ToolbarOrder(), GetFocus()) != ToolbarOrder().end()) {
        TabThroughToolbar(hwndMain, Held(VK_SHIFT));
    } else if (down && ((key == VK_F10 && Held(VK_SHIFT)) || key == VK_APPS)) {
        ShowPopupMenuAt(hwndMain, {-1, -1});
    } else {
        // The Menu key's release would ask for the menu a second time.
        return message.message == WM_KEYUP && key == VK_APPS;
    }
    return true;
}

void ShowPopupMenuAt(HWND hwndMain, POINT screen) {
    if (screen.x == -1 && screen.y == -1) screen = CaretOnScreen();
    TrackPopupMenu(appState.popupSubMenu, 0, screen.x, screen.y, 0, hwndMain, nullptr);
}

}  // namespace tavrel
