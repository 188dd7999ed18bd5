#pragma once
// The texts a face report's rows and its JSON share, so the two always agree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "face_info.h"
#include "face_report.h"

namespace tavrel {

struct NameField {
    std::string_view key;
    std::uint16_t nameId;
    std::string_view label;
    std::u16string_view labelJapanese;
};

// The name IDs a report shows, in the order it shows them.
extern const NameField kNameFields[15];

// "ttf", "otf", "ttc", "woff", "woff2": the loader chosen by extension; absent for an installed face.
std::optional<std::string_view> FormatText(const FaceReport& report);
std::string_view OutlinesText(Outlines outlines);
// The least restrictive permission fsType grants.
std::string_view EmbeddingText(std::uint16_t fsType);
std::u16string_view EmbeddingTextJapanese(std::uint16_t fsType);
// The shortest text that reads back as the same number.
std::string NumberText(double value);
// Four characters; a byte outside printable ASCII shows as '?'.
std::string TagString(std::uint32_t tag);
// "U+4E00", "U+1F600".
std::string CodePointText(char32_t c);

}  // namespace tavrel
