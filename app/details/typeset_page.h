#pragma once
// The "組版" page: a line of text set by HarfBuzz with the face's OpenType
// features turned on and off, across or down, drawn by GDI glyph by glyph;
// under it, what the selected feature changes, character by character.

#include <memory>

#include "details_page.h"

namespace tavrel {

std::unique_ptr<DetailsPage> CreateTypesetPage(HWND dialog, DetailsFace& face, const RECT& area);

}  // namespace tavrel
