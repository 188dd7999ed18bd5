#include "registration_invariants.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "font_builder.h"

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

struct WoffEntry { std::uint64_t tag, offset, compLength, origLength, checksum; };

std::vector<WoffEntry> SortedWoffEntries(const Image& woff) {
    std::vector<WoffEntry> entries;
    for (std::uint64_t i = 0, n = woff.U16(12); i < n; ++i) {
        const std::uint64_t at = 44 + 20 * i;
        entries.push_back({woff.U32(at), woff.U32(at + 4), woff.U32(at + 8), woff.U32(at + 12), woff.U32(at + 16)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
    return entries;
}

std::string SameBytes(const ByteVector& expected, Span actual, const std::string& what) {
    if (expected.size() != actual.size())
        return what + " of " + std::to_string(actual.size()) + " bytes, not " + std::to_string(expected.size());
    const auto differ = std::mismatch(expected.begin(), expected.end(), actual.begin()).first;
    return differ == expected.end() ? "" : what + " differs at byte " + std::to_string(differ - expected.begin());
}

}  // namespace

std::string DecodedWoffFault(Span woffBytes, Span image) {
    const Image woff{woffBytes};
    if (!woff.Holds(0, 44) || !woff.Holds(44, 20 * woff.U16(12))) return "decoded a WOFF file cut short";
    std::vector<Table> tables;
    for (const WoffEntry& e : SortedWoffEntries(woff)) {
        if (!woff.Holds(e.offset, e.compLength)) return "decoded a table outside the file";
        const Span stored = woffBytes.subspan(e.offset, e.compLength);
        ByteVector data(stored.begin(), stored.end());
        if (e.compLength != e.origLength) {
            data.assign(e.origLength + 1, 0);
            uLongf length = static_cast<uLongf>(data.size());
            if (uncompress(data.data(), &length, stored.data(), static_cast<uLong>(stored.size())) != Z_OK ||
                length != e.origLength)
                return "a table registered from a stream that does not inflate to its length";
            data.pop_back();
        }
        tables.push_back({static_cast<std::uint32_t>(e.tag), std::move(data), static_cast<std::uint32_t>(e.checksum)});
    }
    return SameBytes(BuildSfnt(tables, static_cast<std::uint32_t>(woff.U32(4))), image, "decoded image");
}

bool HasCollectionTag(Span image) {
    const auto sameLetter = [](std::uint8_t byte, char letter) { return (byte | 0x20) == letter; };
    return image.size() >= 4 && std::equal(image.begin(), image.begin() + 4, "ttcf", sameLetter);
}

std::string RegistrationFault(Span image) {
    if (image.size() < 12) return "image of " + std::to_string(image.size()) + " bytes";
    const Image checked{image};
    return HasCollectionTag(image) ? CollectionFault(checked) : DirectoryFault(checked, 0, "");
}

std::string ExtractedMemberFault(Span collection, std::uint32_t index, Span member) {
    const Image source{collection};
    if (!source.Holds(12, 4 * (std::uint64_t{index} + 1))) return "extracted a member the header does not list";
    const std::uint64_t at = source.U32(12 + 4 * std::uint64_t{index});
    if (std::string fault = DirectoryFault(source, at, "source: "); !fault.empty()) return fault;
    std::vector<Table> tables;
    for (std::uint64_t i = 0, n = source.U16(at + 4); i < n; ++i) {
        const std::uint64_t record = at + 12 + 16 * i;
        const Span data = collection.subspan(source.U32(record + 8), source.U32(record + 12));
        tables.push_back({static_cast<std::uint32_t>(source.U32(record)), ByteVector(data.begin(), data.end()),
                          static_cast<std::uint32_t>(source.U32(record + 4))});
    }
    ByteVector expected = BuildSfnt(tables);
    std::copy_n(collection.begin() + static_cast<std::ptrdiff_t>(at), 12, expected.begin());  // its own offset table
    return SameBytes(expected, member, "member image");
}

}  // namespace tavrel::test
