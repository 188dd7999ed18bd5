#include <windowsx.h>

#include "clipboard_text.h"
#include "library_commands.h"
#include "library_list.h"
#include "library_window.h"
#include "library_window_state.h"

namespace tavrel {

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

bool IsSizeStep(WPARAM key) {
    return key == VK_OEM_PLUS || key == VK_ADD || key == VK_OEM_MINUS || key == VK_SUBTRACT;
}

bool OnListKey(LibraryWindow& window, const MSG& message) {
    const WPARAM key = message.wParam;
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const std::ptrdiff_t face = FocusedFace(window);
    if (down && key == VK_RETURN && !Held(VK_MENU)) {
        if (face >= 0) ApplyLibraryFace(window.hwndMain, window.rows, static_cast<std::size_t>(face));
    } else if (down && key == 'C' && Held(VK_CONTROL)) {
        CopyTextToClipboard(window.hwnd, SelectedRowsText(window.list, window.rows));
    } else if (down && ((key == VK_F10 && Held(VK_SHIFT)) || key == VK_APPS)) {
        ShowRowMenu(window.hwndMain, window.list, window.rows, {-1, -1});
    } else {
        // The Menu key's release would ask for the menu a second time.
        return message.message == WM_KEYUP && key == VK_APPS;
    }
    return true;
}

bool OnWindowKey(LibraryWindow& window, const MSG& message) {
    if (message.message == WM_MOUSEWHEEL && (GET_KEYSTATE_WPARAM(message.wParam) & MK_CONTROL)) {
        StepRowSize(window, GET_WHEEL_DELTA_WPARAM(message.wParam) > 0 ? 1 : -1);
        return true;
    }
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN && message.message != WM_KEYUP) return false;
    if (message.message == WM_KEYDOWN && Held(VK_CONTROL) && IsSizeStep(message.wParam)) {
        StepRowSize(window, message.wParam == VK_OEM_PLUS || message.wParam == VK_ADD ? 1 : -1);
        return true;
    }
    return message.hwnd == window.list && OnListKey(window, message);
}

}  // namespace

bool TranslateLibraryWindowMessage(MSG& message) {
    LibraryWindow* window = ShownLibrary();
    if (!window || (message.hwnd != window->hwnd && !IsChild(window->hwnd, message.hwnd))) return false;
    return OnWindowKey(*window, message) || IsDialogMessageW(window->hwnd, &message);
}

}  // namespace tavrel
