#pragma once
// A read-only view of one text, wrapped at words and scrolled up and down.
// GDI draws it, so a character its font lacks comes from a linked font, as in
// the list above it; Wine's edit controls would show an empty box instead.

#include <windows.h>

#include <string>

#include "routed_window.h"

namespace tavrel {

class TextView : public MessageTarget {
public:
    // A child of `parent` in `font`, which it does not own.
    TextView(HWND parent, HFONT font);
    ~TextView() override;
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    HWND Window() const { return hwnd_; }
    void SetText(std::wstring text);

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT TextArea() const;
    void Reflow();
    void ScrollTo(int top);
    void OnKey(WPARAM key);
    void OnPaint();

    HWND hwnd_ = nullptr;
    HFONT font_;
    std::wstring text_;
    int height_ = 0;  // of the wrapped text
    int top_ = 0;     // the text's line at the top of the view, in pixels
};

}  // namespace tavrel
