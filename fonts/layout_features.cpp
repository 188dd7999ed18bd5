#include "layout_features.h"

namespace tavrel {

namespace {

constexpr std::size_t kFeatureRecordSize = 6, kFeatureTableHeader = 4;

}  // namespace

void ReadFeatureTags(std::uint32_t tag, Bytes table, std::vector<std::uint32_t>& features, Problems& problems) {
    std::uint16_t major = 0, listOffset = 0, count = 0;
    if (!ReadU16BE(table, 0, major) || !ReadU16BE(table, 6, listOffset))
        return problems.push_back(TableProblem(tag, "the header extends past the table"));
    if (major != 1) return problems.push_back(TableProblem(tag, "version " + std::to_string(major) + " is unknown"));
    if (listOffset == 0) return;
    if (!ReadU16BE(table, listOffset, count) ||
        !RangeInside(std::uint64_t{listOffset} + 2, kFeatureRecordSize * std::uint64_t{count}, table.size()))
        return problems.push_back(TableProblem(tag, "the feature list extends past the table"));
    std::size_t outside = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        ByteReader reader(table, listOffset + 2 + kFeatureRecordSize * std::size_t{i});
        std::uint32_t featureTag = 0;
        std::uint16_t offset = 0;
        reader.ReadU32(featureTag);
        reader.ReadU16(offset);
        if (RangeInside(std::uint64_t{listOffset} + offset, kFeatureTableHeader, table.size()))
            features.push_back(featureTag);
        else
            ++outside;
    }
    if (outside) problems.push_back(TableProblem(tag, "feature tables outside the table: " + std::to_string(outside)));
}

}  // namespace tavrel
