#include "feature_names.h"

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

#include "unicode_text.h"

namespace tavrel {

namespace {

struct RegisteredName {
    char tag[5];
    std::u16string_view name;
};

// Sorted by tag.
constexpr RegisteredName kRegistry[] = {
    {"aalt", u"すべての字形"},       {"abvm", u"Above-base Mark Positioning"},
    {"afrc", u"Alternative Fractions"}, {"blwm", u"Below-base Mark Positioning"},
    {"c2sc", u"Small Capitals From Capitals"}, {"calt", u"Contextual Alternates"},
    {"case", u"Case-Sensitive Forms"}, {"ccmp", u"Glyph Composition / Decomposition"},
    {"clig", u"Contextual Ligatures"}, {"cpct", u"Centered CJK Punctuation"},
    {"cpsp", u"Capital Spacing"},    {"curs", u"Cursive Positioning"},
    {"dlig", u"Discretionary Ligatures"}, {"dnom", u"Denominators"},
    {"expt", u"専門用語字形"},       {"falt", u"Final Glyph on Line Alternates"},
    {"frac", u"Fractions"},          {"fwid", u"全角字形"},
    {"halt", u"半角メトリクス"},     {"hist", u"Historical Forms"},
    {"hkna", u"横組み用かな"},       {"hlig", u"Historical Ligatures"},
    {"hngl", u"ハングルを漢字に"},   {"hojo", u"補助漢字字形 (JIS X 0212)"},
    {"hwid", u"半角字形"},           {"ital", u"Italics"},
    {"jp04", u"JIS2004 字形"},       {"jp78", u"JIS78 字形"},
    {"jp83", u"JIS83 字形"},         {"jp90", u"JIS90 字形"},
    {"kern", u"Kerning"},            {"liga", u"Standard Ligatures"}, {"ljmo", u"Leading Jamo Forms"},
    {"lnum", u"Lining Figures"},     {"locl", u"Localized Forms"},
    {"mark", u"Mark Positioning"},   {"mkmk", u"Mark to Mark Positioning"},
    {"nalt", u"囲み字形"},           {"nlck", u"印刷標準字体"},
    {"numr", u"Numerators"},         {"onum", u"Oldstyle Figures"},
    {"ordn", u"Ordinals"},           {"ornm", u"Ornaments"},
    {"palt", u"プロポーショナル幅"}, {"pcap", u"Petite Capitals"},
    {"pkna", u"プロポーショナルかな"}, {"pnum", u"Proportional Figures"},
    {"pwid", u"プロポーショナル字形"}, {"qwid", u"四分角字形"},
    {"rlig", u"Required Ligatures"}, {"ruby", u"ルビ用字形"},
    {"rvrn", u"Required Variation Alternates"}, {"salt", u"Stylistic Alternates"},
    {"sinf", u"Scientific Inferiors"}, {"smcp", u"Small Capitals"},
    {"smpl", u"簡体字字形"},
    {"subs", u"Subscript"},          {"sups", u"Superscript"},
    {"swsh", u"Swash"},              {"titl", u"Titling"}, {"tjmo", u"Trailing Jamo Forms"},
    {"tnam", u"旧字体の人名用字形"}, {"tnum", u"Tabular Figures"},
    {"trad", u"繁体字字形"},         {"twid", u"三分角字形"},
    {"unic", u"Unicase"},            {"valt", u"縦書き用字形位置調整"},
    {"vert", u"縦書き字形"},         {"vhal", u"縦書き半角メトリクス"},
    {"vjmo", u"Vowel Jamo Forms"}, {"vkna", u"縦書き用かな"},       {"vkrn", u"縦書きカーニング"},
    {"vpal", u"縦書きプロポーショナル幅"}, {"vrt2", u"縦書き字形と回転"},
    {"vrtr", u"縦書き用回転字形"},   {"zero", u"Slashed Zero"},
};

static_assert(std::is_sorted(std::begin(kRegistry), std::end(kRegistry),
                             [](const RegisteredName& a, const RegisteredName& b) { return Tag(a.tag) < Tag(b.tag); }));

std::u16string_view RegistryName(std::uint32_t tag) {
    const auto found = std::lower_bound(std::begin(kRegistry), std::end(kRegistry), tag,
                                        [](const RegisteredName& entry, std::uint32_t t) { return Tag(entry.tag) < t; });
    if (found != std::end(kRegistry) && Tag(found->tag) == tag) return found->name;
    return {};
}

std::u16string NameRecord(hb_face_t* face, hb_ot_name_id_t id) {
    for (const char* language : {"ja", "en"}) {
        const hb_language_t wanted = hb_language_from_string(language, -1);
        unsigned length = hb_ot_name_get_utf16(face, id, wanted, nullptr, nullptr);
        if (length == 0) continue;
        std::u16string text(std::min(length, 255u) + 1, u'\0');
        length = unsigned(text.size());
        hb_ot_name_get_utf16(face, id, wanted, &length, reinterpret_cast<std::uint16_t*>(text.data()));
        text.resize(length);
        return text;
    }
    return {};
}

// The first GSUB feature record with the tag.
std::optional<unsigned> FindGsubFeature(hb_face_t* face, std::uint32_t tag) {
    hb_tag_t tags[64];
    unsigned start = 0, count = 0;
    do {
        count = std::size(tags);
        hb_ot_layout_table_get_feature_tags(face, HB_OT_TAG_GSUB, start, &count, tags);
        if (const auto found = std::find(tags, tags + count, tag); found != tags + count)
            return start + unsigned(found - tags);
        start += count;
    } while (count == std::size(tags));
    return std::nullopt;
}

// A stylistic set's or character variant's name from its feature parameters.
std::u16string FontsOwnName(hb_face_t* face, std::uint32_t tag) {
    const auto index = FindGsubFeature(face, tag);
    hb_ot_name_id_t label = HB_OT_NAME_ID_INVALID;
    if (!index ||
        !hb_ot_layout_feature_get_name_ids(face, HB_OT_TAG_GSUB, *index, &label, nullptr, nullptr, nullptr, nullptr) ||
        label == HB_OT_NAME_ID_INVALID)
        return {};
    return NameRecord(face, label);
}

bool IsNumbered(std::uint32_t tag, const char (&prefix)[3]) {
    const auto digit = [](std::uint32_t c) { return c >= '0' && c <= '9'; };
    return (tag >> 24) == std::uint32_t(prefix[0]) && (tag >> 16 & 0xFF) == std::uint32_t(prefix[1]) &&
           digit(tag >> 8 & 0xFF) && digit(tag & 0xFF);
}

std::u16string TagText(std::uint32_t tag) {
    std::u16string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char16_t c = char16_t(tag >> shift & 0xFF);
        text += c >= 0x20 && c < 0x7F ? c : u'?';
    }
    return text;
}

}  // namespace

std::u16string FeatureLabel(const ShapingFace& face, std::uint32_t tag) {
    std::u16string name;
    if (IsNumbered(tag, "ss") || IsNumbered(tag, "cv")) name = FontsOwnName(hb_font_get_face(face.Font()), tag);
    if (name.empty() && IsNumbered(tag, "ss"))
        name = u"Stylistic Set " + Utf16FromUtf8(std::to_string((tag >> 8 & 0xFF) * 10 + (tag & 0xFF) - '0' * 11));
    if (name.empty() && IsNumbered(tag, "cv"))
        name = u"Character Variant " + Utf16FromUtf8(std::to_string((tag >> 8 & 0xFF) * 10 + (tag & 0xFF) - '0' * 11));
    if (name.empty()) name = RegistryName(tag);
    return name.empty() ? TagText(tag) : TagText(tag) + u"  " + name;
}

bool FeatureOnByDefault(std::uint32_t tag, bool down) {
    static constexpr char kEverywhere[][5] = {"abvm", "blwm", "ccmp", "locl", "mark", "mkmk", "rlig", "rvrn"};
    static constexpr char kAcross[][5] = {"calt", "clig", "curs", "dist", "kern", "liga", "rclt"};
    const auto in = [tag](const auto& tags) {
        return std::any_of(std::begin(tags), std::end(tags), [tag](const char(&t)[5]) { return Tag(t) == tag; });
    };
    if (in(kEverywhere)) return true;
    return down ? tag == Tag("vert") : in(kAcross);
}

}  // namespace tavrel
