#pragma once
// A colour glyph's PNG (CBDT, sbix), decoded by the Windows Imaging Component
// and drawn with its transparency.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tavrel {

// Draws the picture scaled into `box`, blended over what the DC holds. A PNG
// that WIC cannot decode draws nothing.
void DrawPngPicture(HDC dc, const std::vector<std::uint8_t>& png, const RECT& box);

}  // namespace tavrel
