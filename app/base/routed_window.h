#pragma once
// Child windows whose messages go to a C++ object: the object outlives its
// window and is told each message through OnMessage.

#include <windows.h>

namespace tavrel {

class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // Anything not handled goes to DefWindowProcW.
    virtual LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

// A child of `parent` of the window class `className` (registered on first
// use, with double clicks), routing its messages to `target` from the moment
// it is made (what creating it sends goes to DefWindowProcW). The window
// stops routing when it is destroyed.
HWND CreateRoutedWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, MessageTarget* target);

}  // namespace tavrel
