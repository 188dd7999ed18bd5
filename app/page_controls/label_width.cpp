#include "label_width.h"

#include "scoped_handles.h"

namespace tavrel {

int TextWidth(HWND hwnd, HFONT font, const std::wstring& text, bool prefix) {
    const ScopedGetDC dc(hwnd);
    const ScopedSelectObject selected(dc.get(), font);
    RECT rect{};
    DrawTextW(dc.get(), text.c_str(), int(text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
    return rect.right - rect.left;
}

int LabelWidth(HWND label) {
    std::wstring text(std::size_t(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(label, text.data(), int(text.size()))));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    return TextWidth(label, font, text, !(GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX));
}

}  // namespace tavrel
