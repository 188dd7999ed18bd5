#include <filesystem>
#include <fstream>

#include "collection.h"
#include "commands.h"
#include "open_font.h"

namespace tavrel {

namespace {

// Member `index` of a collection image as a standalone font.
Result<std::vector<std::uint8_t>> ExtractMember(Bytes image, std::uint32_t index) {
    if (!IsCollection(image)) return Failure{"not a font collection, so it has no members"};
    if (auto member = ReadCollectionMember(image, index); !member) return Failure{member.reason()};
    std::vector<std::uint8_t> member(ExtractCollectionMember(image, index, true, {}));
    ExtractCollectionMember(image, index, false, member);
    return member;
}

int WriteImage(const std::string& file, Bytes image) {
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (out.flush()) return 0;
    ReportFile(file, "cannot write the file");
    return 1;
}

}  // namespace

int RunDecodeCommand(const std::string& in, const std::string& out, std::optional<std::uint32_t> member) {
    auto font = OpenFont(in);
    if (!font) {
        ReportFile(in, font.reason());
        return 1;
    }
    if (!member) return WriteImage(out, font->RegisteredBytes());
    auto memberImage = ExtractMember(font->RegisteredBytes(), *member);
    if (!memberImage) {
        ReportFile(in, memberImage.reason());
        return 1;
    }
    return WriteImage(out, memberImage.value());
}

}  // namespace tavrel
