#pragma once
// Small helpers of the hostile-file tests.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::test {

// samples.tsv of this build tree.
std::filesystem::path FontSamplesManifest();

// Names as one readable line for failure messages: "[Sans Base] [] [U+30B4...]".
std::string Printable(const std::vector<std::u16string>& names);

}  // namespace tavrel::test
