#pragma once
// A top-level test window holding a real "RichEdit20W" control with the
// sample's styles, so captures can be tried without the main window.

#include <windows.h>

namespace tavrel::test {

class SampleWindow {
public:
    // A visible window whose sample control has the given client size.
    SampleWindow(int width, int height);
    ~SampleWindow();
    SampleWindow(const SampleWindow&) = delete;
    SampleWindow& operator=(const SampleWindow&) = delete;

    HWND main() const { return main_; }
    HWND sample() const { return sample_; }

    void SetText(const wchar_t* text, int points);
    void SetColours(COLORREF text, COLORREF background);
    void Select(int from, int to);
    // Gives the sample control's client area this size, keeping its border.
    void Resize(int width, int height);
    // Gives the control's whole window this size, border included; a border
    // with nothing inside leaves an empty client area.
    void SetWindowSize(int width, int height);
    SIZE ClientSize() const;
    // Paints whatever is pending, so a capture sees the current state.
    void Paint() const;

private:
    HWND main_ = nullptr;
    HWND sample_ = nullptr;
};

}  // namespace tavrel::test
