#include "open_font.h"

#include <filesystem>

#include "utf8.h"

namespace tavrel {

Result<MappedFont> MapFont(const std::string& file) { return MapFont(PathFromUtf8(file)); }

Result<MappedFont> MapFont(const std::filesystem::path& path) {
    const FontLoader loader = ChooseLoader(Utf16FromUtf8(PathText(path)));
    if (loader == FontLoader::None) return Failure{"not a font file extension"};
    auto mapped = MappedFile::Open(path);
    if (!mapped) return Failure{mapped.reason()};
    return MappedFont{loader, std::move(mapped.value())};
}

Result<OpenedFont> OpenFont(const std::string& file) { return OpenFont(PathFromUtf8(file)); }

Result<OpenedFont> OpenFont(const std::filesystem::path& path) {
    auto font = MapFont(path);
    if (!font) return Failure{font.reason()};
    auto plan = PlanFontFile(font->loader, font->file.bytes());
    if (!plan) return Failure{plan.reason()};
    return OpenedFont{std::move(font->file), std::move(plan.value())};
}

}  // namespace tavrel
