#include "layout_features.h"

#include <algorithm>

namespace tavrel {

namespace {

constexpr std::size_t kFeatureRecordSize = 6, kFeatureTableHeader = 4;

}  // namespace

std::vector<FeatureRecord> ReadFeatureRecords(std::uint32_t tag, Bytes table, Problems& problems) {
    std::vector<FeatureRecord> features;
    std::uint16_t major = 0, listOffset = 0, count = 0;
    const auto damaged = [&](const std::string& what) {
        problems.push_back(TableProblem(tag, what));
        return features;
    };
    if (!ReadU16BE(table, 0, major) || !ReadU16BE(table, 6, listOffset)) return damaged("the header extends past the table");
    if (major != 1) return damaged("version " + std::to_string(major) + " is unknown");
    if (listOffset == 0) return features;
    if (!ReadU16BE(table, listOffset, count) ||
        !RangeInside(std::uint64_t{listOffset} + 2, kFeatureRecordSize * std::uint64_t{count}, table.size()))
        return damaged("the feature list extends past the table");
    std::size_t outside = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        ByteReader reader(table, listOffset + 2 + kFeatureRecordSize * std::size_t{i});
        std::uint32_t featureTag = 0;
        std::uint16_t offset = 0;
        reader.ReadU32(featureTag);
        reader.ReadU16(offset);
        if (RangeInside(std::uint64_t{listOffset} + offset, kFeatureTableHeader, table.size()))
            features.push_back({featureTag, std::uint32_t{listOffset} + offset});
        else
            ++outside;
    }
    if (outside) problems.push_back(TableProblem(tag, "feature tables outside the table: " + std::to_string(outside)));
    return features;
}

std::vector<std::uint32_t> ListFeatureTags(const FaceTables& tables, Problems& problems) {
    std::vector<std::uint32_t> tags;
    for (const std::uint32_t table : {Tag("GSUB"), Tag("GPOS")})
        if (tables.Has(table))
            for (const FeatureRecord& record : ReadFeatureRecords(table, tables.Find(table), problems)) tags.push_back(record.tag);
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    return tags;
}

}  // namespace tavrel
