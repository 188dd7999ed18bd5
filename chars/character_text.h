#pragma once
// Who a character is, written for a person: the rows the 文字 page's panel and
// `tavrel-cli char` show, and the codes as both write and read them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "character_identity.h"

namespace tavrel {

// "1-19-75": plane, row and cell.
std::string JisX0213Text(JisPosition position);
// "19-75".
std::string JisX0208Text(JisX0208Position position);
// "non-kanji", "level-1", "level-2".
std::string_view JisX0208KindText(JisX0208Kind kind);
// "8A8B", or "5C" for one byte.
std::string BytesText(std::uint16_t bytes);
// "CID+7652".
std::string CidText(std::uint16_t cid);

struct CharacterRow {
    std::string_view key;               // the JSON key
    std::string_view label;             // English, for the command line
    std::u16string_view labelJapanese;  // for the window
    std::string value;                  // UTF-8
};

// The rows of the fields the character has, in the order the JSON lists them.
std::vector<CharacterRow> CharacterRows(const CharacterIdentity& identity);

// What a search box can ask for besides a character.
struct CodeQuery {
    enum class Kind { Jis, Bytes, Cid } kind;
    std::optional<JisPosition> jis;  // "1-19-75"; "19-75" is plane 1
    std::uint16_t value = 0;         // the bytes ("8A8B", "0x8A8B") or the CID ("CID+1533")
};
std::optional<CodeQuery> ParseCodeQuery(std::u16string_view text);

// The character a query names: by JIS X 0213 (a row and cell alone by JIS X
// 0208 first), by Shift_JIS-2004 then code page 932 bytes, or by CID.
std::optional<char32_t> FindCharacter(const CodeQuery& query);

}  // namespace tavrel
