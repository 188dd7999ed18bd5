#pragma once
// Reading a whole file into memory, for the command-line companion, the
// benchmarks and the tests; the window reads files through the Win32 API.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "result.h"

namespace tavrel {

// Files of 2 GiB or more are refused, as the window refuses them.
Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);

}  // namespace tavrel
