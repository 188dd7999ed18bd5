#include "open_font.h"

#include <filesystem>

#include "collection.h"
#include "utf8.h"

namespace tavrel {

Result<MappedFont> MapFont(const std::string& file) { return MapFont(PathFromUtf8(file)); }

Result<MappedFont> MapFont(const std::filesystem::path& path) {
    // Opened first, so that a path that does not exist says so whatever its extension.
    auto mapped = MappedFile::Open(path);
    if (!mapped) return Failure{mapped.reason()};
    const FontLoader loader = ChooseLoader(Utf16FromUtf8(PathText(path)));
    if (loader == FontLoader::None) return Failure{"not a font file extension"};
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

Result<FaceAt> FindFace(const OpenedFont& font, std::optional<std::uint32_t> member) {
    if (font.plan.faceMembers.empty()) {
        if (member) return Failure{"not a font collection, so it has no members"};
        return FaceAt{};
    }
    const std::uint32_t index = member.value_or(0);
    auto found = ReadCollectionMember(font.RegisteredBytes(), index);
    if (!found) return Failure{found.reason()};
    return FaceAt{index, found->directory.at};
}

}  // namespace tavrel
