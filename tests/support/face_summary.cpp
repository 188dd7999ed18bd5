#include "face_summary.h"

#include <algorithm>
#include <sstream>

namespace tavrel::test {

namespace {

std::string TagString(std::uint32_t tag) { return {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag)}; }

// Names as ASCII, other units as '?': enough to tell names apart.
std::string Narrow(const std::optional<std::u16string>& text) {
    std::string narrow;
    for (char16_t unit : text.value_or(u"-")) narrow += unit < 0x80 ? char(unit) : '?';
    return narrow;
}

std::string Join(const std::vector<std::string>& items) {
    std::string line;
    for (const std::string& item : items) line += (line.empty() ? "" : " ") + item;
    return line;
}

}  // namespace

std::vector<std::string> SummaryItems(const FaceInfo& info) {
    static const char* const kOutlines[] = {"TrueType", "CFF", "CFF2"};
    std::vector<std::string> items;
    std::ostringstream item;
    const auto flush = [&] { items.push_back(item.str()), item.str(""); };
    const auto put = [&](const char* label, const auto& value) { value ? (item << label << '=' << *value, flush()) : void(); };
    put("full", info.fullName ? std::optional(Narrow(info.fullName)) : std::nullopt);
    put("upem", info.unitsPerEm), put("glyphs", info.glyphCount), put("weight", info.weightClass);
    put("width", info.widthClass), put("fsType", info.fsType), put("vendor", info.vendorId);
    put("italic", info.italicAngle), put("fixed", info.fixedPitch);
    put("outlines", info.outlines ? std::optional(kOutlines[static_cast<int>(*info.outlines)]) : std::nullopt);
    put("cmap", info.codePoints ? std::optional(info.codePoints->size()) : std::nullopt);
    item << "names=";
    for (const auto& name : info.names) item << name.first << ',';
    flush();
    for (const VariationAxis& a : info.axes)
        item << "axis=" << TagString(a.tag) << ':' << a.minimum << '/' << a.defaultValue << '/' << a.maximum << ':' << Narrow(a.name), flush();
    for (const NamedInstance& instance : info.instances) {
        item << "instance=" << Narrow(instance.name);
        for (const auto& [tag, value] : instance.coordinates) item << ':' << TagString(tag) << '=' << value;
        flush();
    }
    item << "features=";
    for (std::uint32_t tag : info.features) item << TagString(tag) << ',';
    flush(), item << "changes=";
    for (const auto& [tag, count] : info.featureChanges) item << TagString(tag) << ':' << count << ',';
    flush();
    const auto& uvs = info.variationSequences;
    put("uvs", uvs ? std::optional(std::to_string(uvs->total) + '/' + std::to_string(uvs->standardized) + '/' + std::to_string(uvs->ideographic)) : std::nullopt);
    items.push_back("|");
    for (const std::string& problem : info.problems) items.push_back(problem + ";");
    return items;
}

std::string Summary(const FaceInfo& info) { return Join(SummaryItems(info)); }

std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<std::string> changes;
    for (const auto& [from, in, sign] : {std::tie(before, after, "-"), std::tie(after, before, "+")})
        for (const std::string& item : from)
            if (std::find(in.begin(), in.end(), item) == in.end()) changes.push_back(sign + item);
    return Join(changes);
}

}  // namespace tavrel::test
