#pragma once
// Bounds-checked big-endian reads over a font image. Every field of the sfnt,
// collection, WOFF and WOFF2 formats is big-endian; no read here can leave
// the span it was given.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel {

using Bytes = std::span<const std::uint8_t>;

// True when [offset, offset + length) lies inside a buffer of `size` bytes.
constexpr bool RangeInside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

inline bool ReadU16BE(Bytes image, std::uint64_t offset, std::uint16_t& value) {
    if (!RangeInside(offset, 2, image.size())) return false;
    value = static_cast<std::uint16_t>(image[offset] << 8 | image[offset + 1]);
    return true;
}

inline bool ReadU32BE(Bytes image, std::uint64_t offset, std::uint32_t& value) {
    if (!RangeInside(offset, 4, image.size())) return false;
    value = std::uint32_t{image[offset]} << 24 | std::uint32_t{image[offset + 1]} << 16 |
            std::uint32_t{image[offset + 2]} << 8 | std::uint32_t{image[offset + 3]};
    return true;
}

inline void WriteU16BE(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 8);
    out[1] = static_cast<std::uint8_t>(value);
}

inline void WriteU32BE(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

// A cursor over a span: a parser reads as a plain sequence of checked reads.
class ByteReader {
public:
    explicit ByteReader(Bytes data, std::size_t offset = 0) : data_(data), offset_(offset) {}

    bool ReadU16(std::uint16_t& value) { return Advance(ReadU16BE(data_, offset_, value), 2); }
    bool ReadU32(std::uint32_t& value) { return Advance(ReadU32BE(data_, offset_, value), 4); }
    bool Skip(std::size_t count) { return Advance(RangeInside(offset_, count, data_.size()), count); }
    std::size_t offset() const { return offset_; }

private:
    bool Advance(bool ok, std::size_t count) {
        if (ok) offset_ += count;
        return ok;
    }

    Bytes data_;
    std::size_t offset_;
};

// A four-byte tag as one big-endian number: 'name' is 0x6E616D65.
constexpr std::uint32_t Tag(const char (&text)[5]) {
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint32_t(std::uint8_t(text[3]));
}

}  // namespace tavrel
