#include "file_bytes.h"

#include <fstream>
#include <new>

namespace tavrel {

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return Failure{"cannot open the file"};
    const std::streamoff size = in.tellg();
    if (size < 0) return Failure{"cannot read the file"};
    if (size >= std::streamoff{INT32_MAX}) return Failure{"the file is 2 GiB or larger"};
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Failure{kOutOfMemory};
    }
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return Failure{"the file reads short"};
    return bytes;
}

}  // namespace tavrel
