#include "loader_choice.h"

#include <algorithm>

namespace tavrel {

static bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view lower) {
    return std::equal(text.begin(), text.end(), lower.begin(), lower.end(), [](char16_t a, char16_t b) {
        return (a >= u'A' && a <= u'Z' ? a - u'A' + u'a' : a) == b;
    });
}

FontLoader ChooseLoader(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    const std::u16string_view fileName = slash == path.npos ? path : path.substr(slash + 1);
    const std::size_t dot = fileName.rfind(u'.');
    if (dot == fileName.npos) return FontLoader::None;
    const std::u16string_view extension = fileName.substr(dot);
    static constexpr std::pair<std::u16string_view, FontLoader> kLoaders[] = {
        {u".ttc", FontLoader::Collection}, {u".ttf", FontLoader::Sfnt},   {u".otf", FontLoader::Sfnt},
        {u".woff", FontLoader::Woff},      {u".woff2", FontLoader::Woff2},
    };
    for (const auto& [known, loader] : kLoaders)
        if (EqualsIgnoringCase(extension, known)) return loader;
    return FontLoader::None;
}

}  // namespace tavrel
