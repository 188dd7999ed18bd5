#include "routed_window.h"

namespace tavrel {

namespace {

MessageTarget* TargetOf(HWND hwnd) { return reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK RoutedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageTarget* target = TargetOf(hwnd);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return target ? target->OnMessage(hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterOnce(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (GetClassInfoExW(instance, className, &known)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = RoutedWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

}  // namespace

HWND CreateRoutedWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, MessageTarget* target) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    RegisterOnce(instance, className);
    const HWND hwnd =
        CreateWindowExW(exStyle, className, L"", style | WS_CHILD, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    // Routed only once made: what creating it sends (WM_SIZE among them) would
    // reach a target that does not know its window yet, and InvalidateRect on
    // that null window redraws every window on the desktop.
    if (hwnd) SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
    return hwnd;
}

}  // namespace tavrel
