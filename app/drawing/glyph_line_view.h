#pragma once
// A scrolling view of one line set by HarfBuzz, across or down, in the
// sample's colours; the whole line can be copied as a picture.

#include <windows.h>

#include <string>
#include <vector>

#include "glyph_line.h"
#include "routed_window.h"

namespace tavrel {

class GlyphLineView : public MessageTarget {
public:
    explicit GlyphLineView(HWND parent);

    HWND Window() const { return hwnd_; }
    // Shows `runs` at `pixelsPerEm` in the face GDI knows as `faceName`, or
    // from the face's outlines at its current instance.
    void Show(std::vector<ShapedRun> runs, bool down, const std::wstring& faceName, const ShapingFace& face,
              int pixelsPerEm, bool fromOutlines);
    // The whole line, margins included, as a 32-bit bitmap on the clipboard.
    void Copy(HWND owner) const;

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE Client() const;
    void UpdateScrollBars();
    void Scroll(int bar, WORD request);
    // Draws the line with its top left corner of the canvas at `corner`.
    void Paint(HDC dc, const RECT& area, POINT corner) const;

    HWND hwnd_ = nullptr;
    std::vector<ShapedRun> runs_;
    bool down_ = false;
    LineFonts fonts_;
    SIZE extent_{};  // the canvas the line takes, margins included
    POINT scroll_{};
};

}  // namespace tavrel
