#include "face_summary.h"

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
void Put(std::ostringstream& out, const char* label, const std::optional<T>& value) {
    if (value) out << label << '=' << *value << ' ';
}

}  // namespace

std::string Summary(const FaceInfo& info) {
    static const char* const kOutlines[] = {"TrueType", "CFF", "CFF2"};
    std::ostringstream out;
    if (info.fullName) out << "full=" << Narrow(info.fullName) << ' ';
    Put(out, "upem", info.unitsPerEm), Put(out, "glyphs", info.glyphCount), Put(out, "weight", info.weightClass);
    Put(out, "width", info.widthClass), Put(out, "fsType", info.fsType), Put(out, "vendor", info.vendorId);
    Put(out, "italic", info.italicAngle), Put(out, "fixed", info.fixedPitch);
    if (info.outlines) out << "outlines=" << kOutlines[static_cast<int>(*info.outlines)] << ' ';
    if (info.codePoints) out << "cmap=" << info.codePoints->size() << ' ';
    out << "names=";
    for (const auto& [id, text] : info.names) out << id << ',';
    for (const VariationAxis& axis : info.axes)
        out << " axis=" << TagString(axis.tag) << ':' << axis.minimum << '/' << axis.defaultValue << '/' << axis.maximum
            << ':' << Narrow(axis.name);
    for (const NamedInstance& instance : info.instances) {
        out << " instance=" << Narrow(instance.name);
        for (const auto& [tag, value] : instance.coordinates) out << ':' << TagString(tag) << '=' << value;
    }
    out << " features=";
    for (std::uint32_t tag : info.features) out << TagString(tag) << ',';
    out << " |";
    for (const std::string& problem : info.problems) out << ' ' << problem << ';';
    return out.str();
}

}  // namespace tavrel::test
