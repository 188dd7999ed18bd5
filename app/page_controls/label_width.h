#pragma once
// How wide a control's caption is in its own font, so that a label is laid
// out as wide as its words at any DPI instead of at a width guessed at 96.

#include <windows.h>

#include <string>

namespace tavrel {

// `text` in `font`, on one line; an '&' that underlines the next letter takes no room unless `prefix` is false.
int TextWidth(HWND hwnd, HFONT font, const std::wstring& text, bool prefix = true);

// The control's window text in the font it shows.
int LabelWidth(HWND label);

}  // namespace tavrel
