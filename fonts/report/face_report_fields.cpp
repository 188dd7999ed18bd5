#include "face_report_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tavrel {

const NameField kNameFields[15] = {
    {"family", 1, "Family", u"ファミリー"},
    {"subfamily", 2, "Style", u"スタイル"},
    {"typographicFamily", 16, "Typographic family", u"タイポグラフィック ファミリー"},
    {"typographicSubfamily", 17, "Typographic style", u"タイポグラフィック スタイル"},
    {"postScriptName", 6, "PostScript name", u"PostScript 名"},
    {"version", 5, "Version", u"バージョン"},
    {"copyright", 0, "Copyright", u"著作権"},
    {"trademark", 7, "Trademark", u"商標"},
    {"manufacturer", 8, "Manufacturer", u"製造元"},
    {"designer", 9, "Designer", u"デザイナー"},
    {"description", 10, "Description", u"説明"},
    {"vendorUrl", 11, "Vendor URL", u"ベンダー URL"},
    {"designerUrl", 12, "Designer URL", u"デザイナー URL"},
    {"license", 13, "License", u"ライセンス"},
    {"licenseUrl", 14, "License URL", u"ライセンス URL"},
};

static bool EndsWithIgnoringCase(std::string_view text, std::string_view lowerSuffix) {
    if (text.size() < lowerSuffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - lowerSuffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
        if (c != lowerSuffix[i]) return false;
    }
    return true;
}

std::optional<std::string_view> FormatText(const FaceReport& report) {
    switch (report.loader) {
        case FontLoader::Collection:
            return "ttc";
        case FontLoader::Sfnt:
            return EndsWithIgnoringCase(report.file, ".otf") ? "otf" : "ttf";
        case FontLoader::Woff:
            return "woff";
        case FontLoader::Woff2:
            return "woff2";
        case FontLoader::None:
            break;
    }
    return std::nullopt;
}

std::string_view OutlinesText(Outlines outlines) {
    switch (outlines) {
        case Outlines::TrueType:
            return "TrueType";
        case Outlines::Cff:
            return "CFF";
        case Outlines::Cff2:
            break;
    }
    return "CFF2";
}

std::string_view EmbeddingText(std::uint16_t fsType) {
    if (fsType & 0x8) return "editable";
    if (fsType & 0x4) return "preview-print";
    if (fsType & 0x2) return "restricted";
    return "installable";
}

std::u16string_view EmbeddingTextJapanese(std::uint16_t fsType) {
    if (fsType & 0x8) return u"編集可能";
    if (fsType & 0x4) return u"プレビューと印刷";
    if (fsType & 0x2) return u"制限付き";
    return u"インストール可能";
}

std::string NumberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string TagString(std::uint32_t tag) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>(tag >> shift & 0xFF);
        text += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return text;
}

std::string CodePointText(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

}  // namespace tavrel
