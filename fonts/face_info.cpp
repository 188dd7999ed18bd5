#include "face_info.h"

#include <algorithm>

#include "cmap_table.h"
#include "face_tables.h"
#include "full_name.h"
#include "header_tables.h"
#include "layout_features.h"
#include "name_table.h"
#include "variation_axes.h"

namespace tavrel {

namespace {

std::optional<Outlines> OutlinesOf(const FaceTables& tables) {
    if (tables.Has(Tag("glyf"))) return Outlines::TrueType;
    if (tables.Has(Tag("CFF "))) return Outlines::Cff;
    if (tables.Has(Tag("CFF2"))) return Outlines::Cff2;
    return std::nullopt;
}

// Reads a table the face has; a missing one leaves its fields absent.
template <class Reader>
void IfPresent(const FaceTables& tables, std::uint32_t tag, Reader read) {
    if (tables.Has(tag)) read(tables.Find(tag));
}

void ReadFeatures(const FaceTables& tables, FaceInfo& info) {
    for (std::uint32_t tag : {Tag("GSUB"), Tag("GPOS")})
        IfPresent(tables, tag, [&](Bytes table) { ReadFeatureTags(tag, table, info.features, info.problems); });
    std::sort(info.features.begin(), info.features.end());
    info.features.erase(std::unique(info.features.begin(), info.features.end()), info.features.end());
}

}  // namespace

FaceInfo DescribeFace(Bytes image, std::uint64_t offsetTableOffset) {
    FaceInfo info;
    std::u16string fullName;
    if (ReadFullName(fullName, image, offsetTableOffset) && !fullName.empty()) info.fullName = std::move(fullName);
    const FaceTables tables(image, offsetTableOffset, info.problems);
    IfPresent(tables, Tag("name"), [&](Bytes t) { info.names = ReadNames(t, info.problems); });
    info.outlines = OutlinesOf(tables);
    IfPresent(tables, Tag("head"), [&](Bytes t) { ReadHead(t, info); });
    IfPresent(tables, Tag("maxp"), [&](Bytes t) { ReadMaxp(t, info); });
    IfPresent(tables, Tag("hhea"), [&](Bytes t) { ReadHhea(t, info); });
    IfPresent(tables, Tag("OS/2"), [&](Bytes t) { ReadOs2(t, info); });
    IfPresent(tables, Tag("post"), [&](Bytes t) { ReadPost(t, info); });
    IfPresent(tables, Tag("cmap"), [&](Bytes t) { info.codePoints = ReadCmapCodePoints(t, info.problems); });
    IfPresent(tables, Tag("fvar"), [&](Bytes t) { ReadVariationAxes(t, info); });
    ReadFeatures(tables, info);
    return info;
}

}  // namespace tavrel
