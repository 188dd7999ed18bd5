#pragma once
// A face's details as one line, so a test records what it expects compactly:
// "upem=1000 glyphs=5 ... | problem; problem". Absent fields are left out.

#include <string>

#include "face_info.h"

namespace tavrel::test {

std::string Summary(const FaceInfo& info);

}  // namespace tavrel::test
