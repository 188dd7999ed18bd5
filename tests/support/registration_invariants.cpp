#include "registration_invariants.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <vector>

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

struct WoffEntry {
    std::uint64_t tag, offset, compLength, origLength, checksum;
};

std::vector<WoffEntry> SortedWoffEntries(const Image& woff) {
    std::vector<WoffEntry> entries;
    for (std::uint64_t i = 0, n = woff.U16(12); i < n; ++i) {
        const std::uint64_t at = 44 + 20 * i;
        entries.push_back({woff.U32(at), woff.U32(at + 4), woff.U32(at + 8), woff.U32(at + 12), woff.U32(at + 16)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
    return entries;
}

std::string OffsetTableFault(const Image& woff, const Image& image) {
    const unsigned n = static_cast<unsigned>(woff.U16(12));
    const unsigned selector = n ? static_cast<unsigned>(std::bit_width(n)) - 1 : 0;
    const unsigned range = n ? (16u << selector) & 0xFFFF : 0;
    if (image.U32(0) != woff.U32(4) || image.U16(4) != n) return "offset table does not carry flavor and numTables";
    if (image.U16(6) != range || image.U16(8) != selector || image.U16(10) != ((n * 16 - range) & 0xFFFF))
        return "searchRange, entrySelector or rangeShift wrong";
    return {};
}

std::string TableDataFault(Span woff, const WoffEntry& entry, Span data) {
    const Span stored = woff.subspan(entry.offset, entry.compLength);
    if (entry.compLength == entry.origLength)
        return std::equal(stored.begin(), stored.end(), data.begin(), data.end()) ? "" : "stored table changed";
    std::vector<std::uint8_t> inflated(entry.origLength + 1);
    uLongf length = static_cast<uLongf>(inflated.size());
    if (uncompress(inflated.data(), &length, stored.data(), static_cast<uLong>(stored.size())) != Z_OK ||
        length != entry.origLength)
        return "a table registered from a stream that does not inflate to its length";
    return std::equal(data.begin(), data.end(), inflated.begin()) ? "" : "inflated table differs";
}

}  // namespace

std::string DecodedWoffFault(Span woffBytes, Span imageBytes) {
    const Image woff{woffBytes}, image{imageBytes};
    if (!woff.Holds(0, 44) || !woff.Holds(44, 20 * woff.U16(12))) return "decoded a WOFF file cut short";
    const std::vector<WoffEntry> entries = SortedWoffEntries(woff);
    const std::uint64_t headerSize = 12 + 16 * entries.size();
    if (!image.Holds(0, headerSize)) return "decoded image shorter than its directory";
    if (std::string fault = OffsetTableFault(woff, image); !fault.empty()) return fault;
    std::uint64_t p = headerSize;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const WoffEntry& e = entries[i];
        const std::uint64_t record = 12 + 16 * i, padded = (e.origLength + 3) / 4 * 4;
        if (image.U32(record) != e.tag || image.U32(record + 4) != e.checksum || image.U32(record + 8) != p ||
            image.U32(record + 12) != e.origLength)
            return "record " + std::to_string(i) + " wrong";
        if (!woff.Holds(e.offset, e.compLength)) return "decoded a table outside the file";
        if (!image.Holds(p, padded)) return "table " + std::to_string(i) + " past the end of the image";
        if (std::string fault = TableDataFault(woffBytes, e, imageBytes.subspan(p, e.origLength)); !fault.empty())
            return fault;
        if (std::any_of(imageBytes.begin() + p + e.origLength, imageBytes.begin() + p + padded,
                        [](auto b) { return b != 0; }))
            return "fill after table " + std::to_string(i) + " is not zero";
        p += padded;
    }
    if (p != imageBytes.size()) return "decoded image longer than its tables";
    return {};
}

bool HasCollectionTag(Span image) {
    static constexpr char kTag[] = "ttcf";
    if (image.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if ((image[i] | 0x20) != kTag[i]) return false;
    return true;
}

std::string RegistrationFault(Span image) {
    if (image.size() < 12) return "image of " + std::to_string(image.size()) + " bytes";
    const Image checked{image};
    return HasCollectionTag(image) ? CollectionFault(checked) : DirectoryFault(checked, 0, "");
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
