#include "registration_invariants.h"

#include <algorithm>

namespace tavrel::test {

namespace {

// Reads of its own, in 64-bit arithmetic so no sum can wrap.
struct Image {
    Span bytes;

    bool Holds(std::uint64_t at, std::uint64_t length) const {
        return at + length >= at && at + length <= bytes.size();
    }
    std::uint64_t U16(std::uint64_t at) const { return std::uint64_t{bytes[at]} << 8 | bytes[at + 1]; }
    std::uint64_t U32(std::uint64_t at) const { return U16(at) << 16 | U16(at + 2); }
};

bool IsCollectionTag(Span image) {
    static constexpr char kTag[] = "ttcf";
    for (std::size_t i = 0; i < 4; ++i)
        if ((image[i] | 0x20) != kTag[i]) return false;
    return true;
}

std::string DirectoryFault(const Image& image, std::uint64_t at, const std::string& what) {
    if (!image.Holds(at, 12)) return what + "offset table outside the image";
    const std::uint64_t numTables = image.U16(at + 4);
    if (!image.Holds(at + 12, 16 * numTables)) return what + "table records outside the image";
    for (std::uint64_t i = 0; i < numTables; ++i) {
        const std::uint64_t record = at + 12 + 16 * i;
        if (!image.Holds(image.U32(record + 8), image.U32(record + 12)))
            return what + "table " + std::to_string(i) + " outside the image";
    }
    return {};
}

std::string CollectionFault(const Image& image) {
    const std::uint64_t numFonts = image.U32(8);
    if (!image.Holds(12, 4 * numFonts)) return "collection member offsets outside the image";
    for (std::uint64_t i = 0; i < numFonts; ++i) {
        std::string fault = DirectoryFault(image, image.U32(12 + 4 * i), "member " + std::to_string(i) + ": ");
        if (!fault.empty()) return fault;
    }
    return {};
}

}  // namespace

std::string RegistrationFault(Span image) {
    if (image.size() < 12) return "image of " + std::to_string(image.size()) + " bytes";
    const Image checked{image};
    return IsCollectionTag(image) ? CollectionFault(checked) : DirectoryFault(checked, 0, "");
}

std::string ExtractedMemberFault(Span collection, std::uint32_t index, Span member) {
    const Image source{collection}, out{member};
    if (!source.Holds(12, 4 * (std::uint64_t{index} + 1))) return "extracted a member the header does not list";
    const std::uint64_t at = source.U32(12 + 4 * std::uint64_t{index});
    if (std::string fault = DirectoryFault(source, at, "source: "); !fault.empty()) return fault;
    const std::uint64_t numTables = source.U16(at + 4), headerSize = 12 + 16 * numTables;
    if (!out.Holds(0, headerSize)) return "member image shorter than its directory";
    std::uint64_t p = headerSize;
    for (std::uint64_t i = 0; i < numTables; ++i) {
        const std::uint64_t record = 12 + 16 * i;
        const std::uint64_t offset = source.U32(at + record + 8), length = source.U32(at + record + 12);
        for (std::uint64_t field : {0, 4, 12})
            if (out.U32(record + field) != source.U32(at + record + field)) return "record fields changed";
        if (out.U32(record + 8) != p) return "record " + std::to_string(i) + " points elsewhere";
        const std::uint64_t padded = (length + 3) / 4 * 4;
        if (!out.Holds(p, padded)) return "table " + std::to_string(i) + " past the end of the member";
        if (!std::equal(collection.begin() + offset, collection.begin() + offset + length, member.begin() + p))
            return "table " + std::to_string(i) + " bytes differ";
        if (std::any_of(member.begin() + p + length, member.begin() + p + padded, [](auto b) { return b != 0; }))
            return "fill after table " + std::to_string(i) + " is not zero";
        p += padded;
    }
    if (!std::equal(member.begin(), member.begin() + 12, collection.begin() + at)) return "offset table changed";
    if (p != member.size()) return "member image has " + std::to_string(member.size() - p) + " bytes too many";
    return {};
}

}  // namespace tavrel::test
