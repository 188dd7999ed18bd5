#pragma once
// What the 文字 page's search box finds: one character ("永", "U+6C38"), a
// code's character ("19-75", "1-19-75", "8A8B", "0x8A8B", "CID+1533"), or
// the characters with a reading ("くず", "カツ").

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

struct CharacterSearch {
    std::vector<char32_t> found;  // ascending; all of them, the face may lack some
    bool byReading = false;
};

CharacterSearch SearchCharacters(std::wstring_view query);

}  // namespace tavrel
