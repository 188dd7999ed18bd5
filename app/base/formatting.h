#pragma once
// The three ways a character format reaches the sample control.

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <string_view>

namespace tavrel {

// Zeroed formats with their size and mask set.
CHARFORMATW NewFormat(DWORD mask);
CHARFORMAT2W NewFormat2(DWORD mask);

// To the selection when there is one, else to all text.
void ApplyFormat(const CHARFORMATW& format);
void ApplyFormat(const CHARFORMAT2W& format);

// Copies at most the first 31 characters of `faceName` into the format.
void ApplyFaceName(CHARFORMAT2W& format, std::wstring_view faceName);

// Selects listed face `index` and sets it on all text, whatever is selected,
// registering it first; a face whose file is refused changes nothing and
// gives false.
bool ApplyListedFace(std::size_t index);

// ApplyListedFace(0).
void ApplyFirstFace();

// The colours, as opening and the colour commands set them.
CHARFORMATW TextColorFormat(COLORREF color);
void ApplyBackgroundColor(COLORREF color);

}  // namespace tavrel
