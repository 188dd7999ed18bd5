#pragma once
// The variant glyphs of one character side by side: each of the face's
// variation sequences for it, shaped with its selector by HarfBuzz and drawn
// at the grid's cell size, its selector under it. Arrow keys or a click pick one.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "glyph_line.h"
#include "routed_window.h"

namespace tavrel {

constexpr wchar_t kVariantStripClass[] = L"TavrelVariantStrip";
// wParam: a variant's index; lParam: a RECT* that receives its cell, in client coordinates. TRUE when it exists.
constexpr UINT kGetVariantRect = WM_APP + 40;

class VariantStrip : public MessageTarget {
public:
    // `face` must outlive the strip.
    VariantStrip(HWND parent, std::wstring faceName, const ShapingFace* face);
    ~VariantStrip() override;
    VariantStrip(const VariantStrip&) = delete;
    VariantStrip& operator=(const VariantStrip&) = delete;

    HWND Window() const { return hwnd_; }
    void Show(char32_t base, std::vector<char32_t> selectors);
    void SetCellSize(int pixels);
    // The strip's height in pixels at `width`: a row of cells, each with a line of the dialog's text under
    // it, for as many rows as the variants take.
    int Height(int width) const;
    // The selected variant as text, base and selector; nothing without variants.
    std::optional<std::wstring> SelectedText() const;
    // The strip has the focus, or gave it straight to the control that has it now (the copy button).
    bool HasFocusForCopy() const;

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Variant {
        char32_t selector;
        std::vector<ShapedRun> line;  // the sequence as HarfBuzz sets it
        std::wstring label;
    };
    int ItemWidth() const;
    int RowHeight() const;
    RECT ItemRect(std::size_t index) const;
    void Paint(HDC dc) const;
    void Select(std::size_t index);

    HWND hwnd_ = nullptr;
    std::wstring faceName_;
    const ShapingFace* face_;
    LineFonts fonts_;
    int cell_ = 0;
    char32_t base_ = 0;
    std::vector<Variant> variants_;
    std::size_t selected_ = 0;
    HWND lostTo_ = nullptr;  // the window that last took the focus from the strip
};

}  // namespace tavrel
