#pragma once
// A face's details as the report's rows ("unitsPerEm=1000", ...), for tests to compare.
#include <string>
#include <vector>

#include "face_info.h"

namespace tavrel::test {

std::vector<std::string> SummaryItems(const FaceInfo& info);
std::string Summary(const FaceInfo& info);  // the items joined by " | "
// "-item" for each item `after` lacks, then "+item" for each `before` lacks.
std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after);

}  // namespace tavrel::test
