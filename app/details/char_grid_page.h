#pragma once
// The "文字" page: a search box, the grid of every character the face maps,
// and a line naming the selected one.

#include <memory>

#include "details_page.h"

namespace tavrel {

std::unique_ptr<DetailsPage> CreateCharGridPage(HWND dialog, DetailsFace& face, const RECT& area);

// Puts `text` into the sample at its caret, in the format at the caret.
void InsertIntoSample(const std::wstring& text);

}  // namespace tavrel
