#pragma once
// The records of a 'name' table and the choice among them: the first Windows
// Japanese record of a name ID, else its last Macintosh Japanese, last Windows
// English, last Macintosh English one.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "face_tables.h"

namespace tavrel {

struct NameRecord {
    std::uint16_t platformID = 0, encodingID = 0, languageID = 0, nameID = 0, length = 0, offset = 0;
};

// False when the record lies outside the table.
bool ReadNameRecord(Bytes nameTable, std::uint16_t index, NameRecord& record);

// The record's string, empty (and false) when it does not lie inside the table.
bool NameRecordText(Bytes nameTable, const NameRecord& record, Bytes& text);

// Where a record stands in the preference; Other records are never chosen.
enum class NameSource { WindowsJapanese, MacJapanese, WindowsEnglish, MacEnglish, Other };
NameSource ClassifyNameRecord(const NameRecord& record);

// The record's text as the choice decodes it: UTF-16 for Unicode records and
// Windows records of encodings 0 to 2 and 10, the ANSI code page for Macintosh
// Roman and Japanese ones; empty for the encodings it cannot decode.
std::u16string DecodeNameText(const NameRecord& record, Bytes text);

// The choice for one name ID, offered its records' strings in table order.
class NameChoice {
public:
    // False once a Windows Japanese record has been offered: it ends the choice,
    // even when its text turns out empty.
    bool open() const { return open_; }
    void Offer(NameSource source, Bytes text);
    // The first candidate, in order of preference, that `decode` makes a
    // non-empty name of; empty when there is none.
    template <class Decode>
    std::u16string Decide(Decode decode) const {
        for (const Candidate& candidate : candidates_) {
            if (!candidate.offered) continue;
            std::u16string name = decode(candidate.source, candidate.text);
            if (!name.empty()) return name;
        }
        return {};
    }

private:
    struct Candidate {
        NameSource source;
        Bytes text;
        bool offered = false;
    };
    bool open_ = true;
    Candidate candidates_[4] = {{NameSource::WindowsJapanese, {}}, {NameSource::MacJapanese, {}},
                                {NameSource::WindowsEnglish, {}}, {NameSource::MacEnglish, {}}};
};

// At most this many name IDs are read from one table.
constexpr std::size_t kMaxNameIds = 8192;
// Names read together hold at most the table's bytes plus this many.
constexpr std::size_t kNameTextSlack = 64 * 1024;

// Every name ID's choice, with the records' whole text (line breaks kept). A
// record list or string leaving the table is a problem line; so are names
// beyond kMaxNameIds and names that would make those read together hold more
// text than the table plus 64 KiB, which records sharing strings could.
std::map<std::uint16_t, std::u16string> ReadNames(Bytes nameTable, Problems& problems);

}  // namespace tavrel
