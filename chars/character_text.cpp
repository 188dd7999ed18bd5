#include "character_text.h"

#include <cstdio>
#include <cstdlib>

#include "unicode_text.h"

namespace tavrel {

namespace {

std::string Joined(const std::vector<std::u16string>& items, std::u16string_view separator) {
    std::u16string text;
    for (const std::u16string& item : items) text.append(text.empty() ? u"" : separator).append(item);
    return ToUtf8(text);
}

std::string RadicalText(const RadicalStrokes& r) {
    std::string text = std::to_string(r.radical) + (r.simplified ? "'" : "") + " ";
    AppendUtf8(text, r.radicalCharacter);
    return text + (r.residualStrokes < 0 ? " - " : " + ") + std::to_string(std::abs(r.residualStrokes));
}

// Digits in `text` from `at` in base 10 or 16, at most `limit`; false for none or a stray character.
bool ReadNumber(std::u16string_view text, int base, unsigned limit, unsigned& value) {
    if (text.empty() || text.size() > 8) return false;
    value = 0;
    for (char16_t c : text) {
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : base == 16 && c >= u'A' && c <= u'F' ? c - u'A' + 10
                          : base == 16 && c >= u'a' && c <= u'f'                                  ? c - u'a' + 10
                                                                                                  : -1;
        if (digit < 0) return false;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    return value <= limit;
}

std::optional<CodeQuery> ParseJis(std::u16string_view text) {
    unsigned parts[3] = {}, count = 0;
    for (std::size_t at = 0; count < 3; ++count) {
        const std::size_t dash = text.find(u'-', at);
        if (!ReadNumber(text.substr(at, dash == text.npos ? text.npos : dash - at), 10, 94, parts[count])) return std::nullopt;
        if (dash == text.npos) break;
        at = dash + 1;
    }
    if (count == 0 || count > 2) return std::nullopt;
    const unsigned plane = count == 2 ? parts[0] : 0, row = parts[count - 1], cell = parts[count];
    if (count == 2 && plane != 1 && plane != 2) return std::nullopt;
    if (row == 0 || cell == 0) return std::nullopt;
    return CodeQuery{CodeQuery::Kind::Jis,
                     JisPosition{static_cast<std::uint8_t>(plane), static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(cell)}};
}

}  // namespace

std::string JisX0213Text(JisPosition p) {
    return std::to_string(p.plane) + "-" + std::to_string(p.row) + "-" + std::to_string(p.cell);
}

std::string JisX0208Text(JisX0208Position p) { return std::to_string(p.row) + "-" + std::to_string(p.cell); }

std::string_view JisX0208KindText(JisX0208Kind kind) {
    switch (kind) {
        case JisX0208Kind::Level1: return "level-1";
        case JisX0208Kind::Level2: return "level-2";
        case JisX0208Kind::NonKanji: break;
    }
    return "non-kanji";
}

std::string BytesText(std::uint16_t bytes) {
    char text[8];
    std::snprintf(text, sizeof text, bytes < 0x100 ? "%02X" : "%04X", static_cast<unsigned>(bytes));
    return text;
}

std::string CidText(std::uint16_t cid) { return "CID+" + std::to_string(cid); }

std::vector<CharacterRow> CharacterRows(const CharacterIdentity& id) {
    std::vector<CharacterRow> rows;
    const auto add = [&](std::string_view key, std::string_view label, std::u16string_view japanese, std::string value) {
        if (!value.empty()) rows.push_back({key, label, japanese, std::move(value)});
    };
    add("name", "Name", u"名前", id.name);
    add("block", "Block", u"ブロック", std::string(id.block));
    if (id.jisX0213) add("jis", "JIS X 0213", u"JIS X 0213 面区点", JisX0213Text(*id.jisX0213));
    if (id.jisX0208)
        add("jis", "JIS X 0208", u"JIS X 0208 区点",
            JisX0208Text(*id.jisX0208) + " (" + std::string(JisX0208KindText(id.jisX0208->kind)) + ")");
    if (id.shiftJis2004) add("shiftJis", "Shift_JIS-2004", u"Shift_JIS-2004", BytesText(*id.shiftJis2004));
    if (id.cp932) add("cp932", "Code page 932", u"CP932", BytesText(*id.cp932));
    if (id.cid) add("aj1Cid", "Adobe-Japan1", u"Adobe-Japan1", CidText(*id.cid));
    if (id.cidJis90) add("aj1CidJis90", "Adobe-Japan1 JIS90", u"Adobe-Japan1 JIS90 字形", CidText(*id.cidJis90));
    add("on", "On", u"音読み", Joined(id.on, u"、"));
    add("kun", "Kun", u"訓読み", Joined(id.kun, u"、"));
    if (id.radical) add("radical", "Radical", u"部首", RadicalText(*id.radical));
    if (id.totalStrokes) add("strokes", "Strokes", u"総画数", std::to_string(*id.totalStrokes));
    return rows;
}

std::optional<CodeQuery> ParseCodeQuery(std::u16string_view text) {
    unsigned value = 0;
    if (text.size() > 4 && (text.substr(0, 4) == u"CID+" || text.substr(0, 4) == u"cid+"))
        return ReadNumber(text.substr(4), 10, 0xFFFF, value) ? std::optional(CodeQuery{CodeQuery::Kind::Cid, {}, std::uint16_t(value)})
                                                              : std::nullopt;
    if (text.find(u'-') != text.npos) return ParseJis(text);
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text.remove_prefix(2);
    else if (text.size() != 4) return std::nullopt;  // two hex digits alone are too like a character's name
    if (text.size() != 2 && text.size() != 4) return std::nullopt;
    if (!ReadNumber(text, 16, 0xFFFF, value)) return std::nullopt;
    return CodeQuery{CodeQuery::Kind::Bytes, {}, static_cast<std::uint16_t>(value)};
}

std::optional<char32_t> FindCharacter(const CodeQuery& query) {
    switch (query.kind) {
        case CodeQuery::Kind::Jis: {
            const JisPosition p = *query.jis;
            if (p.plane == 0) {
                if (auto found = CharacterAtJisX0208(p.row, p.cell)) return found;
                return CharacterAtJisX0213({1, p.row, p.cell});
            }
            return CharacterAtJisX0213(p);
        }
        case CodeQuery::Kind::Bytes:
            if (auto found = CharacterOfShiftJis2004(query.value)) return found;
            return CharacterOfCp932(query.value);
        case CodeQuery::Kind::Cid: return CharacterOfCid(query.value);
    }
    return std::nullopt;
}

}  // namespace tavrel
