#pragma once
// The "情報" page: every row of the face's report in a two-column list.

#include <memory>

#include "details_page.h"

namespace tavrel {

std::unique_ptr<DetailsPage> CreateInfoPage(HWND dialog, DetailsFace& face, const RECT& area);

}  // namespace tavrel
