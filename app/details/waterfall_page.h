#pragma once
// The "ウォーターフォール" page: the first line of the sample at every size of
// the size list, horizontally or, with "縦書き", set vertically.

#include <cstdint>
#include <memory>
#include <vector>

#include "details_page.h"

namespace tavrel {

std::unique_ptr<DetailsPage> CreateWaterfallPage(HWND dialog, DetailsFace& face, const RECT& area);

// The sizes the pages show, in points: WaterfallSizes of the size list and
// the size box's current size.
std::vector<std::uint32_t> DetailsPageSizes();

// The sizes shown, in points, ascending, each once: the size list's, and
// `current` when it is not among them (0 is no size).
std::vector<std::uint32_t> WaterfallSizes(std::vector<std::uint32_t> listed, std::uint32_t current);

}  // namespace tavrel
