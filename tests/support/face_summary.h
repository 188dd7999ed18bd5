#pragma once
// A face's details as items ("upem=1000", ..., "|", then one per problem), so
// tests record what they expect in a line. Absent fields are left out.
#include <string>
#include <vector>

#include "face_info.h"

namespace tavrel::test {

std::vector<std::string> SummaryItems(const FaceInfo& info);
std::string Summary(const FaceInfo& info);  // the items joined by spaces
// "-item" for each item of `before` that `after` lacks, then "+item" for each the other way round.
std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after);

}  // namespace tavrel::test
