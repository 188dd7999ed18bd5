#include "face_summary.h"

#include <algorithm>
#include <sstream>

namespace tavrel::test {

namespace {

std::string TagString(std::uint32_t tag) {
    return {char(tag >> 24), char(tag >> 16 & 0xFF), char(tag >> 8 & 0xFF), char(tag & 0xFF)};
}

// Names as ASCII, other units as '?': enough to tell names apart.
std::string Narrow(const std::optional<std::u16string>& text) {
    std::string narrow;
    for (char16_t unit : text.value_or(u"-")) narrow += unit < 0x80 ? char(unit) : '?';
    return narrow;
}

template <class T>
void Put(std::vector<std::string>& items, const char* label, const std::optional<T>& value) {
    if (!value) return;
    std::ostringstream item;
    item << label << '=' << *value;
    items.push_back(item.str());
}

}  // namespace

std::vector<std::string> SummaryItems(const FaceInfo& info) {
    static const char* const kOutlines[] = {"TrueType", "CFF", "CFF2"};
    std::vector<std::string> items;
    if (info.fullName) items.push_back("full=" + Narrow(info.fullName));
    Put(items, "upem", info.unitsPerEm), Put(items, "glyphs", info.glyphCount), Put(items, "weight", info.weightClass);
    Put(items, "width", info.widthClass), Put(items, "fsType", info.fsType), Put(items, "vendor", info.vendorId);
    Put(items, "italic", info.italicAngle), Put(items, "fixed", info.fixedPitch);
    if (info.outlines) items.push_back(std::string("outlines=") + kOutlines[static_cast<int>(*info.outlines)]);
    if (info.codePoints) items.push_back("cmap=" + std::to_string(info.codePoints->size()));
    std::ostringstream item;
    item << "names=";
    for (const auto& [id, text] : info.names) item << id << ',';
    items.push_back(item.str());
    for (const VariationAxis& axis : info.axes) {
        item.str("");
        item << "axis=" << TagString(axis.tag) << ':' << axis.minimum << '/' << axis.defaultValue << '/' << axis.maximum
             << ':' << Narrow(axis.name);
        items.push_back(item.str());
    }
    for (const NamedInstance& instance : info.instances) {
        item.str("");
        item << "instance=" << Narrow(instance.name);
        for (const auto& [tag, value] : instance.coordinates) item << ':' << TagString(tag) << '=' << value;
        items.push_back(item.str());
    }
    item.str("");
    item << "features=";
    for (std::uint32_t tag : info.features) item << TagString(tag) << ',';
    items.push_back(item.str());
    items.push_back("|");
    for (const std::string& problem : info.problems) items.push_back(problem + ";");
    return items;
}

std::string Summary(const FaceInfo& info) {
    std::string line;
    for (const std::string& item : SummaryItems(info)) line += (line.empty() ? "" : " ") + item;
    return line;
}

std::string Difference(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::string line;
    const auto lacking = [&line](const std::vector<std::string>& from, const std::vector<std::string>& in, char sign) {
        for (const std::string& item : from)
            if (std::find(in.begin(), in.end(), item) == in.end()) {
                if (!line.empty()) line += ' ';
                line += sign;
                line += item;
            }
    };
    lacking(before, after, '-');
    lacking(after, before, '+');
    return line;
}

}  // namespace tavrel::test
