#pragma once
// A face's details as one line, so a test records what it expects compactly:
// "upem=1000 glyphs=5 ... | problem; problem". Absent fields are left out.

#include <string>
#include <vector>

#include "face_info.h"

namespace tavrel::test {

std::vector<std::string> SummaryItems(const FaceInfo& info);
std::string Summary(const FaceInfo& info);

// What damage changed: "-item" for each item of `before` that `after` lacks,
// then "+item" for each item of `after` that `before` lacks.
std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after);

}  // namespace tavrel::test
