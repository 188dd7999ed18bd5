#include "header_tables.h"

#include <algorithm>

namespace tavrel {

namespace {

constexpr std::size_t kHeadSize = 54, kHheaSize = 36, kPostHeaderSize = 32;
constexpr std::size_t kMaxpShortSize = 6, kMaxpLongSize = 32;
constexpr std::uint32_t kHeadMagic = 0x5F0F3CF5;
constexpr std::uint32_t kMaxpShortVersion = 0x00005000, kMaxpLongVersion = 0x00010000;
// The size of each OS/2 version's layout; later versions keep version 5's.
constexpr std::size_t kOs2Sizes[] = {78, 86, 96, 96, 96, 100};

void Short(std::uint32_t tag, std::size_t has, std::size_t needs, std::string_view layout, FaceInfo& info) {
    info.problems.push_back(TableProblem(tag, std::string(layout) + " needs " + std::to_string(needs) +
                                                  " bytes, the table has " + std::to_string(has)));
}

template <class T>
void ReadU16Field(Bytes table, std::size_t at, std::optional<T>& field) {
    std::uint16_t value = 0;
    if (ReadU16BE(table, at, value)) field = static_cast<T>(value);
}

}  // namespace

void ReadHead(Bytes head, FaceInfo& info) {
    const std::uint32_t tag = Tag("head");
    if (head.size() < kHeadSize) return Short(tag, head.size(), kHeadSize, "the header", info);
    std::uint32_t magic = 0;
    ReadU32BE(head, 12, magic);
    if (magic != kHeadMagic) return info.problems.push_back(TableProblem(tag, "the magic number is wrong"));
    ReadU16Field(head, 18, info.unitsPerEm);
}

void ReadHhea(Bytes hhea, FaceInfo& info) {
    const std::uint32_t tag = Tag("hhea");
    if (hhea.size() < kHheaSize) return Short(tag, hhea.size(), kHheaSize, "the header", info);
    std::uint16_t major = 0, metrics = 0;
    ReadU16BE(hhea, 0, major);
    ReadU16BE(hhea, 34, metrics);
    if (major != 1) return info.problems.push_back(TableProblem(tag, "version " + std::to_string(major) + " is unknown"));
    if (metrics == 0) return info.problems.push_back(TableProblem(tag, "it holds no horizontal metrics"));
    if (info.glyphCount && metrics > *info.glyphCount)
        info.problems.push_back(TableProblem(tag, std::to_string(metrics) + " horizontal metrics for " +
                                                      std::to_string(*info.glyphCount) + " glyphs"));
}

void ReadMaxp(Bytes maxp, FaceInfo& info) {
    const std::uint32_t tag = Tag("maxp");
    std::uint32_t version = 0;
    if (maxp.size() < kMaxpShortSize) return Short(tag, maxp.size(), kMaxpShortSize, "the header", info);
    ReadU32BE(maxp, 0, version);
    if (version != kMaxpShortVersion && version != kMaxpLongVersion)
        return info.problems.push_back(TableProblem(tag, "its version is unknown"));
    if (version == kMaxpLongVersion && maxp.size() < kMaxpLongSize)
        Short(tag, maxp.size(), kMaxpLongSize, "version 1.0", info);
    ReadU16Field(maxp, 4, info.glyphCount);
}

void ReadPost(Bytes post, FaceInfo& info) {
    const std::uint32_t tag = Tag("post");
    if (post.size() < kPostHeaderSize) return Short(tag, post.size(), kPostHeaderSize, "the header", info);
    std::uint32_t italicAngle = 0, fixedPitch = 0;
    ReadU32BE(post, 4, italicAngle);
    ReadU32BE(post, 12, fixedPitch);
    info.italicAngle = FixedToDouble(italicAngle);
    info.fixedPitch = fixedPitch != 0;
}

void ReadOs2(Bytes os2, FaceInfo& info) {
    const std::uint32_t tag = Tag("OS/2");
    std::uint16_t version = 0;
    if (!ReadU16BE(os2, 0, version)) return Short(tag, os2.size(), 2, "the version", info);
    const std::size_t needs = kOs2Sizes[std::min<std::size_t>(version, std::size(kOs2Sizes) - 1)];
    if (os2.size() < needs) Short(tag, os2.size(), needs, "version " + std::to_string(version), info);
    // Every version has these fields; each is read when the table reaches it.
    ReadU16Field(os2, 4, info.weightClass);
    ReadU16Field(os2, 6, info.widthClass);
    ReadU16Field(os2, 8, info.fsType);
    if (!RangeInside(58, 4, os2.size())) return;
    const Bytes vendor = os2.subspan(58, 4);
    if (std::all_of(vendor.begin(), vendor.end(), [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; }))
        info.vendorId = std::string(vendor.begin(), vendor.end());
    else
        info.problems.push_back(TableProblem(tag, "achVendID is not four printable characters"));
}

}  // namespace tavrel
