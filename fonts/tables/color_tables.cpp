#include "color_tables.h"

namespace tavrel {

namespace {

constexpr std::size_t kVersion0Header = 14, kVersion1BaseGlyphList = 14;

void ReadColr(Bytes colr, std::vector<std::string_view>& formats, Problems& problems) {
    std::uint16_t version = 0, baseGlyphs = 0;
    std::uint32_t baseGlyphList = 0;
    if (!ReadU16BE(colr, 0, version) || !ReadU16BE(colr, 2, baseGlyphs) || colr.size() < kVersion0Header ||
        (version >= 1 && !ReadU32BE(colr, kVersion1BaseGlyphList, baseGlyphList)))
        return problems.push_back(TableProblem(Tag("COLR"), "the header extends past the table"));
    if (baseGlyphs > 0) formats.push_back("COLRv0");
    if (version >= 1 && baseGlyphList != 0) formats.push_back("COLRv1");
}

}  // namespace

std::vector<std::string_view> ReadColorFormats(const FaceTables& tables, Problems& problems) {
    std::vector<std::string_view> formats;
    if (tables.Has(Tag("COLR"))) ReadColr(tables.Find(Tag("COLR")), formats, problems);
    for (const auto& [tag, name] : {std::pair{Tag("CPAL"), "CPAL"}, {Tag("CBDT"), "CBDT"}, {Tag("sbix"), "sbix"},
                                    {Tag("SVG "), "SVG"}})
        if (tables.Has(tag)) formats.push_back(name);
    return formats;
}

}  // namespace tavrel
