#include "open_font.h"

#include <filesystem>

#include "file_bytes.h"

namespace tavrel {

Result<OpenedFont> OpenFont(const std::string& file) {
    const std::filesystem::path path(file);
    const FontLoader loader = ChooseLoader(path.u16string());
    if (loader == FontLoader::None) return Failure{"not a font file extension"};
    auto bytes = ReadFileBytes(path);
    if (!bytes) return Failure{bytes.reason()};
    auto plan = PlanFontFile(loader, bytes.value());
    if (!plan) return Failure{plan.reason()};
    return OpenedFont{std::move(bytes.value()), std::move(plan.value())};
}

}  // namespace tavrel
