#pragma once
// A font decoded from a WOFF or WOFF2 file. It is held in a std::string
// because the woff2 library writes its output into one: the decoded bytes are
// then moved, never copied, on their way to registration.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "byte_reader.h"

namespace tavrel {

using DecodedImage = std::string;

// The largest font either web format may decode to (30 MiB): the woff2
// library's own output limit, held here so it does not move with the library
// version, and applied to WOFF files alike.
constexpr std::size_t kMaxDecodedImageSize = 31457280;

inline Bytes ImageBytes(const DecodedImage& image) {
    return {reinterpret_cast<const std::uint8_t*>(image.data()), image.size()};
}

inline std::span<std::uint8_t> WritableImageBytes(DecodedImage& image) {
    return {reinterpret_cast<std::uint8_t*>(image.data()), image.size()};
}

}  // namespace tavrel
