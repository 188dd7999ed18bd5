#include <algorithm>
#include <cstdio>
#include <span>

#include "collection.h"
#include "commands.h"
#include "face_traits.h"
#include "files_in_order.h"
#include "open_font.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

// Where listed face `index` has its offset table in the registered image.
std::optional<std::uint64_t> FaceOffset(const OpenedFont& font, std::size_t index) {
    if (font.plan.faceMembers.empty()) return 0;
    auto member = ReadCollectionMember(font.RegisteredBytes(), font.plan.faceMembers[index]);
    if (!member) return std::nullopt;
    return member->directory.at;
}

// Whether face `offset` of the image passes every filter of the query.
bool Passes(Bytes image, std::uint64_t offset, const FindOptions& options, std::span<const char32_t> wanted) {
    if (!wanted.empty() && !MapsEveryCharacter(image, offset, wanted)) return false;
    if (options.traits && (ReadFaceTraits(image, offset).flags & options.traits) != options.traits) return false;
    if (options.features.empty()) return true;
    const std::vector<std::uint32_t> tags = ReadFeatureTags(image, offset);
    return std::all_of(options.features.begin(), options.features.end(),
                       [&](std::uint32_t tag) { return HasFeature(tags, tag); });
}

// Well formed whatever the bytes: a Linux file name need not be UTF-8.
std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : ValidUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned{byte});
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Listed face `index` of the plan, as one line or one JSON object.
std::string FoundFace(const std::string& file, const FontPlan& plan, std::size_t index, bool json) {
    const std::u16string& name = plan.faceNames[index];
    const std::string memberText =
        plan.faceMembers.empty() ? (json ? "null" : "") : std::to_string(plan.faceMembers[index]);
    if (json)
        return "{\"file\":" + JsonString(file) + ",\"member\":" + memberText + ",\"fullName\":" +
               JsonString(ToUtf8(name)) + "}";
    return file + "\t" + memberText + "\t" + ToUtf8(name) + "\n";
}

FileOutcome FindInFile(const FileToRead& file, const FindOptions& options, std::span<const char32_t> wanted) {
    auto font = OpenFont(file.path);
    if (!font) return Refused(font.reason());
    FileOutcome outcome;
    const FontPlan& plan = font->plan;
    for (std::size_t i = 0; i < plan.faceNames.size(); ++i) {
        const auto offset = FaceOffset(font.value(), i);
        const bool found = offset && Passes(font->RegisteredBytes(), *offset, options, wanted);
        // Each member of a CJK collection has a cmap of its own, some 250 KiB.
        font->file.ReleaseReadPages();
        if (!found) continue;
        outcome.items.push_back(FoundFace(file.text, plan, i, options.json));
    }
    return outcome;
}

}  // namespace

int RunFindCommand(const FindOptions& options) {
    const std::vector<char32_t> wanted = CharactersToFind(Utf16FromUtf8(options.text));
    if (wanted.empty() && !options.traits && options.features.empty()) {
        std::fputs("tavrel-cli: the text holds no character to find\n", stderr);
        return 2;
    }
    bool first = true;
    const auto print = [&](const FileToRead&, FileOutcome& outcome) {
        for (const std::string& face : outcome.items) {
            if (options.json) std::fputs(first ? "[" : ",", stdout);
            std::fwrite(face.data(), 1, face.size(), stdout);
            first = false;
        }
    };
    const int status = ReadInPathOrder(
        ListFilesToRead(options.paths), [&](const FileToRead& file) { return FindInFile(file, options, wanted); },
        print);
    if (options.json) std::fputs(first ? "[]\n" : "]\n", stdout);
    return std::fflush(stdout) == 0 ? status : 1;
}

}  // namespace tavrel
