#include "malformed_fonts.h"

#include <cstdio>
#include <stdexcept>
#include <tuple>

#include "face_info.h"
#include "face_summary.h"
#include "woff_builder.h"

namespace tavrel::test {

namespace {

struct Field { std::string name; std::size_t at; unsigned width; };  // a field of 1, 2 or 4 bytes at `at`

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

ByteVector With(ByteVector bytes, const Field& field, std::uint64_t value) {
    if (field.width == 1) bytes.at(field.at) = static_cast<std::uint8_t>(value);
    else if (field.width == 2) PutU16(bytes, field.at, static_cast<std::uint16_t>(value));
    else PutU32(bytes, field.at, static_cast<std::uint32_t>(value));
    return bytes;
}

// The cases made from one valid file.
class Subject {
public:
    Subject(std::vector<MalformedFont>& cases, std::string name, FontLoader loader, ByteVector base)
        : cases_(cases), name_(std::move(name)), loader_(loader), base_(std::move(base)) {}

    const ByteVector& base() const { return base_; }

    void Add(const std::string& damage, ByteVector bytes, Listed expected) {
        cases_.push_back({name_ + ": " + damage, loader_, std::move(bytes), std::move(expected), {}, {}});
    }

    // One case per value of a field of a table the face's details come from:
    // the file still lists `listed`, and its details change as recorded.
    void Details(const Field& field, const Listed& listed, std::initializer_list<std::pair<std::uint64_t, std::string>> values) {
        for (const auto& [value, change] : values) {
            Add(field.name + " = " + Hex(value), With(base_, field, value), listed);
            cases_.back().infoBefore = SummaryItems(DescribeFace(base_, 0));
            cases_.back().infoChange = change;
        }
    }

    // One case per value of the field, each with its outcome.
    void Values(const Field& field, std::initializer_list<std::pair<std::uint64_t, Listed>> values) {
        for (const auto& [value, expected] : values) Add(field.name + " = " + Hex(value), With(base_, field, value), expected);
    }

    // An offset or length field set so that offset + length ends one byte
    // before `end`, at `end`, and one byte past it; `other` is the field's partner.
    void EndsAround(const Field& field, std::uint64_t other, std::uint64_t end, const std::string& endName,
                    Listed before, Listed at, Listed past) {
        const std::pair<std::int64_t, Listed> ends[] = {{-1, before}, {0, at}, {1, past}};
        for (const auto& [delta, expected] : ends) {
            const std::uint64_t value = end - other + static_cast<std::uint64_t>(delta);
            const std::string where = delta < 0 ? endName + " - 1" : delta > 0 ? endName + " + 1" : endName;
            Add(field.name + " = " + Hex(value) + " (ends at " + where + ")", With(base_, field, value), expected);
        }
    }

private:
    std::vector<MalformedFont>& cases_;
    std::string name_;
    FontLoader loader_;
    ByteVector base_;
};

// Finds a table record by tag in the directory at `directory`.
std::size_t RecordOf(const ByteVector& font, std::size_t directory, std::uint32_t tag) {
    const std::uint16_t numTables = GetU16(font, directory + 4);
    for (std::size_t i = 0; i < numTables; ++i)
        if (GetU32(font, directory + 12 + 16 * i) == tag) return directory + 12 + 16 * i;
    throw std::logic_error("a sample without the table it needs");
}

void Expect(bool holds, const char* layout) {
    if (!holds) throw std::logic_error(std::string("the builder's layout changed: ") + layout);
}

// OS/2 (78 bytes) at 92, cmap (22) at 172, head (54) at 196, name (36) at 252,
// post (5) at 288; 296 bytes. The name table holds one Windows English full
// name, "Sans Base", 18 bytes at string offset 18.
void AddSfntCases(std::vector<MalformedFont>& cases) {
    Subject s(cases, "sfnt", FontLoader::Sfnt, BuildNamedFont(NameTableBuilder().Windows(0x0409, u"Sans Base")));
    Expect(s.base().size() == 296 && GetU32(s.base(), 60) == MakeTag("name"), "sfnt");
    const Listed named{u"Sans Base"}, empty = kEmptyName, nothing = kNothingAdded;
    const std::size_t size = 296;

    s.Values({"sfntVersion", 0, 4}, {{0x00010000, named}, {MakeTag("OTTO"), named}, {MakeTag("true"), empty},
                                    {0, empty}, {0xFFFFFFFF, empty}, {MakeTag("ttcf"), nothing},
                                    {MakeTag("TTCF"), nothing}});
    s.Values({"numTables", 4, 2}, {{0, empty}, {1, empty}, {3, empty}, {4, named}, {6, nothing},
                                   {0x8000, nothing}, {0xFFFE, nothing}, {0xFFFF, nothing}});
    const Field nameOffset{"'name' record offset", 68, 4}, nameLength{"'name' record length", 72, 4};
    s.Values(nameOffset, {{0, empty}, {1, empty}, {0x8000, nothing}, {0xFFFF, nothing}, {0x80000000, nothing},
                          {0xFFFFFFFE, nothing}, {0xFFFFFFFF, nothing}, {196, empty}});
    s.EndsAround(nameOffset, 36, size, "file size", empty, empty, nothing);
    s.Values(nameLength, {{0, empty}, {1, empty}, {6, empty}, {35, empty}, {0x8000, nothing}, {0xFFFF, nothing},
                          {0x80000000, nothing}, {0xFFFFFFFF, nothing}});
    s.EndsAround(nameLength, 252, size, "file size", named, named, nothing);
    const Field postOffset{"'post' record offset", 84, 4}, postLength{"'post' record length", 88, 4};
    s.Values(postOffset, {{0, named}, {252, named}, {0xFFFFFFFF, nothing}, {0x80000000, nothing}});
    s.EndsAround(postOffset, 5, size, "file size", named, named, nothing);
    s.Values(postLength, {{0, named}, {0xFFFF, nothing}, {0x80000000, nothing}, {0xFFFFFFFF, nothing}});
    s.EndsAround(postLength, 288, size, "file size", named, named, nothing);
    s.Values({"'post' record tag", 76, 4}, {{MakeTag("name"), named}});
    s.Values({"'OS/2' record tag", 12, 4}, {{MakeTag("name"), empty}});

    s.Values({"name count", 254, 2}, {{0, empty}, {1, named}, {2, named}, {0x8000, named}, {0xFFFE, named},
                                      {0xFFFF, named}});
    s.Values({"name stringOffset", 256, 2}, {{0, empty}, {1, empty}, {17, empty}, {18, named}, {19, empty},
                                             {0x8000, empty}, {0xFFFE, empty}, {0xFFFF, empty}});
    s.Values({"name record platformID", 258, 2}, {{0, empty}, {1, empty}, {2, empty}, {4, empty}, {0xFFFF, empty}});
    s.Values({"name record encodingID", 260, 2}, {{0, named}, {2, named}, {3, empty}, {10, empty}, {0xFFFF, empty}});
    s.Values({"name record languageID", 262, 2}, {{0x0411, named}, {0x0407, empty}, {0, empty}, {0xFFFF, empty}});
    s.Values({"name record nameID", 264, 2}, {{1, empty}, {0xFFFF, empty}});
    const Field recordLength{"name record length", 266, 2}, recordOffset{"name record offset", 268, 2};
    s.Values(recordLength, {{0, empty}, {1, empty}, {2, {u"S"}}, {0x8000, empty}, {0xFFFE, empty}, {0xFFFF, empty}});
    s.EndsAround(recordLength, 0, 18, "string storage size", {u"Sans Bas"}, named, empty);
    s.Values(recordOffset, {{1, empty}, {0x8000, empty}, {0xFFFE, empty}, {0xFFFF, empty}});
}

// As above with the name table last: post (5) at 252, name (36) at 260.
void AddNameLastCases(std::vector<MalformedFont>& cases) {
    const ByteVector names = NameTableBuilder().Windows(0x0409, u"Sans Base").Build();
    Subject s(cases, "sfnt, name last", FontLoader::Sfnt,
              BuildSfnt({{MakeTag("OS/2"), ByteVector(78, 0x11)}, {MakeTag("cmap"), ByteVector(22, 0x22)},
                         {MakeTag("head"), ByteVector(54, 0x33)}, {MakeTag("post"), ByteVector(5, 0x55)},
                         {MakeTag("name"), names}}));
    Expect(s.base().size() == 296 && GetU32(s.base(), 76) == MakeTag("name"), "sfnt, name last");
    s.EndsAround({"'name' record offset", 84, 4}, 36, 296, "file size", kEmptyName, {u"Sans Base"}, kNothingAdded);
    s.EndsAround({"'name' record length", 88, 4}, 260, 296, "file size", kEmptyName, {u"Sans Base"}, kNothingAdded);
}

// Two members, "Member A" and "Member B": header and offsets 0 to 19, member
// directories at 20 and 112, member A's tables from 204, member B's from 408
// (its 'name' at 568, its 'post' of 5 bytes at 604); 612 bytes.
void AddCollectionCases(std::vector<MalformedFont>& cases) {
    Subject c(cases, "ttc", FontLoader::Collection,
              BuildCollection({NamedFontTables(u"Member A"), NamedFontTables(u"Member B")}));
    Expect(c.base().size() == 612 && GetU32(c.base(), 16) == 112 && GetU32(c.base(), 196) == 604, "ttc");
    const Listed both{u"Member A", u"Member B"}, a{u"Member A"}, b{u"Member B"}, aEmpty{u"Member A", u""};
    const Listed nothing = kNothingAdded;

    c.Values({"tag", 0, 4}, {{MakeTag("TTCF"), both}, {MakeTag("ttcx"), nothing}, {0x00010000, nothing}});
    const Field numFonts{"numFonts", 8, 4};
    c.Values(numFonts, {{0, nothing}, {1, a}, {3, nothing}, {0x8000, nothing}, {0xFFFF, nothing},
                        {0x80000000, nothing}, {0xFFFFFFFE, nothing}, {0xFFFFFFFF, nothing}});
    c.Values({"offsetTable[0]", 12, 4}, {{0, nothing}, {1, nothing}, {112, b}, {0x8000, nothing},
                                         {0xFFFF, nothing}, {0x80000000, nothing}, {0xFFFFFFFF, nothing}});
    const Field second{"offsetTable[1]", 16, 4};
    c.Values(second, {{0, nothing}, {1, nothing}, {20, a}, {0x8000, nothing}, {0xFFFF, nothing},
                      {0x80000000, nothing}, {0xFFFFFFFE, nothing}, {0xFFFFFFFF, nothing}});
    c.EndsAround(second, 12, 612, "file size", nothing, nothing, nothing);
    c.Values({"member B numTables", 116, 2}, {{0, aEmpty}, {1, aEmpty}, {3, aEmpty}, {4, both}, {6, nothing},
                                              {0x8000, nothing}, {0xFFFF, nothing}});
    const Field nameOffset{"member B 'name' record offset", 180, 4}, nameLength{"member B 'name' record length", 184, 4};
    c.Values(nameOffset, {{0, aEmpty}, {364, a}, {0x80000000, nothing}, {0xFFFFFFFF, nothing}});
    c.Values(nameLength, {{0, aEmpty}, {0xFFFF, nothing}, {0xFFFFFFFF, nothing}});
    const Field postOffset{"member B 'post' record offset", 196, 4}, postLength{"member B 'post' record length", 200, 4};
    c.EndsAround(postOffset, 5, 612, "file size", both, both, nothing);
    c.EndsAround(postLength, 604, 612, "file size", both, both, nothing);
    c.Values(postLength, {{0x80000000, nothing}, {0xFFFFFFFF, nothing}});
}

// Header 0 to 43, directory 44 to 143: OS/2, cmap and head compressed, post
// (5 bytes) and name (36 bytes, "Woff Base") stored, in that order, the name
// table's data last and ending the file; totalSfntSize 296.
void AddWoffCases(std::vector<MalformedFont>& cases) {
    const ByteVector names = NameTableBuilder().Windows(0x0409, u"Woff Base").Build();
    Subject w(cases, "woff", FontLoader::Woff,
              BuildWoff({{MakeTag("OS/2"), ByteVector(78, 0x11)},
                         {MakeTag("cmap"), ByteVector(22, 0x22)},
                         {MakeTag("head"), ByteVector(54, 0x33)},
                         {MakeTag("post"), ByteVector(5, 0x55), 0, Storage::Stored},
                         {MakeTag("name"), names, 0, Storage::Stored}}));
    const ByteVector& base = w.base();
    const auto entry = [](std::size_t index, std::size_t field) { return WoffEntryField(index, field); };
    const std::size_t size = base.size(), nameAt = GetU32(base, entry(4, kWoffEntryOffset));
    const std::size_t os2At = GetU32(base, entry(0, kWoffEntryOffset)), os2Stored = GetU32(base, entry(0, kWoffEntryCompLength));
    Expect(GetU32(base, kWoffTotalSfntSize) == 296 && nameAt + 36 == size && os2Stored < 78 &&
               GetU32(base, entry(3, kWoffEntryCompLength)) == 5,
           "woff");
    const Listed named{u"Woff Base"}, empty = kEmptyName, nothing = kNothingAdded;

    w.Values({"signature", 0, 4}, {{0, named}, {MakeTag("wOF2"), named}});
    w.Values({"flavor", 4, 4}, {{MakeTag("OTTO"), named}, {MakeTag("true"), empty}, {0, empty},
                                {MakeTag("ttcf"), nothing}});
    w.Values({"length", 8, 4}, {{0, named}, {0xFFFFFFFF, named}});
    w.Values({"numTables", 12, 2}, {{0, nothing}, {1, nothing}, {4, nothing}, {6, nothing}, {0x8000, nothing},
                                    {0xFFFE, nothing}, {0xFFFF, nothing}});
    w.Values({"reserved", 14, 2}, {{0xFFFF, named}});
    w.Values({"totalSfntSize", kWoffTotalSfntSize, 4},
             {{0, nothing}, {1, nothing}, {295, nothing}, {297, nothing}, {300, nothing}, {0x8000, nothing},
              {0xFFFF, nothing}, {0x80000000, nothing}, {0xFFFFFFFF, nothing}});
    w.Values({"majorVersion", 20, 2}, {{0xFFFF, named}});
    w.Values({"metaOffset", 24, 4}, {{0xFFFFFFFF, named}});
    w.Values({"metaLength", 28, 4}, {{0xFFFFFFFF, named}});
    w.Values({"privOffset", 36, 4}, {{0xFFFFFFFF, named}});
    w.Values({"privLength", 40, 4}, {{0xFFFFFFFF, named}});

    const Field nameOffset{"name entry offset", entry(4, kWoffEntryOffset), 4};
    const Field nameStored{"name entry compLength", entry(4, kWoffEntryCompLength), 4};
    const Field nameLength{"name entry origLength", entry(4, kWoffEntryOrigLength), 4};
    w.Values(nameOffset, {{0, empty}, {1, empty}, {0x8000, nothing}, {0xFFFF, nothing}, {0x80000000, nothing},
                          {0xFFFFFFFE, nothing}, {0xFFFFFFFF, nothing}});
    w.EndsAround(nameOffset, 36, size, "file size", empty, named, nothing);
    w.Values(nameStored, {{0, nothing}, {1, nothing}, {0x8000, nothing}, {0xFFFF, nothing}, {0x80000000, nothing},
                          {0xFFFFFFFF, nothing}});
    w.EndsAround(nameStored, nameAt, size, "file size", nothing, named, nothing);
    w.Values(nameLength, {{0, nothing}, {35, nothing}, {37, nothing}, {0x8000, nothing}, {0xFFFFFFFF, nothing}});

    w.Values({"OS/2 entry offset", entry(0, kWoffEntryOffset), 4}, {{0, nothing}, {os2At + 1, nothing}, {0xFFFFFFFF, nothing}});
    // compLength equal to origLength makes the stream and what follows it a stored table.
    w.Values({"OS/2 entry compLength", entry(0, kWoffEntryCompLength), 4},
             {{0, nothing}, {os2Stored - 1, nothing}, {78, named}, {0xFFFFFFFF, nothing}});
    // Inflating to more or less than origLength; 77 and 79 keep the layout's size.
    w.Values({"OS/2 entry origLength", entry(0, kWoffEntryOrigLength), 4}, {{77, nothing}, {79, nothing}, {0xFFFFFFFF, nothing}});
    for (const auto& [at, flip, what] : {std::tuple{os2At + os2Stored / 2, 0xFF, "OS/2 stream corrupted in the middle"},
                                         {os2At + os2Stored - 1, 0x01, "OS/2 stream's checksum corrupted"}}) {
        ByteVector corrupt = base;
        corrupt[at] ^= static_cast<std::uint8_t>(flip);
        w.Add(what, corrupt, nothing);
    }

    // Two entries over the same compressed data, the layout kept consistent.
    ByteVector shared = base;
    for (std::size_t field : {kWoffEntryOffset, kWoffEntryCompLength, kWoffEntryOrigLength})
        PutU32(shared, entry(1, field), GetU32(base, entry(0, field)));
    PutU32(shared, kWoffTotalSfntSize, 296 - 24 + 80);
    w.Add("cmap entry over OS/2's data", shared, named);
    w.Values({"name entry offset over 'post'", nameOffset.at, 4}, {{GetU32(base, entry(3, kWoffEntryOffset)), empty}});
    w.Values({"post entry tag", entry(3, 0), 4}, {{MakeTag("name"), empty}});
    ByteVector bare = With(base, {"numTables", 12, 2}, 0);
    w.Add("numTables = 0x0 with totalSfntSize = 0xC", With(bare, {"totalSfntSize", kWoffTotalSfntSize, 4}, 12), empty);
}

const FontSample& Sample(const std::vector<FontSample>& samples, const std::string& fileName) {
    for (const FontSample& sample : samples)
        if (sample.path.filename() == fileName) return sample;
    throw std::logic_error("no font sample " + fileName);
}

// The full-name records (nameID 4) of `platformID` in the name table at `name`.
std::vector<std::size_t> FullNameRecords(const ByteVector& font, std::size_t name, std::uint16_t platformID) {
    std::vector<std::size_t> records;
    for (std::size_t i = 0, count = GetU16(font, name + 2); i < count; ++i) {
        const std::size_t record = name + 6 + 12 * i;
        if (GetU16(font, record) == platformID && GetU16(font, record + 6) == 4) records.push_back(record);
    }
    return records;
}

void AddSampleSfntCases(std::vector<MalformedFont>& cases, const FontSample& sample, const Listed& macName) {
    Subject s(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    const std::size_t record = RecordOf(s.base(), 0, MakeTag("name")), name = GetU32(s.base(), record + 8);
    s.Values({"numTables", 4, 2}, {{0, kEmptyName}, {0xFFFF, kNothingAdded}});
    s.Values({"'name' record offset", record + 8, 4}, {{0x80000000, kNothingAdded}, {0xFFFFFFFF, kNothingAdded}});
    s.Values({"'name' record length", record + 12, 4}, {{0, kEmptyName}, {0xFFFFFFFF, kNothingAdded}});
    s.Values({"name count", name + 2, 2}, {{0, kEmptyName}, {0xFFFF, sample.names}});
    s.Values({"name stringOffset", name + 4, 2}, {{0xFFFF, kEmptyName}});
    ByteVector noWindows = s.base();
    for (std::size_t windows : FullNameRecords(noWindows, name, 3)) PutU16(noWindows, windows, 0xFFFF);
    s.Add("Windows full names on platform 0xFFFF", noWindows, macName);
    ByteVector noMac = noWindows;
    for (std::size_t mac : FullNameRecords(noMac, name, 1)) PutU16(noMac, mac + 8, 0xFFFF);
    s.Add("Windows full names on platform 0xFFFF, Macintosh lengths 0xFFFF", noMac, kEmptyName);
}

void AddSampleCollectionCases(std::vector<MalformedFont>& cases, const FontSample& sample) {
    Subject c(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    const std::uint32_t numFonts = GetU32(c.base(), 8);
    const Listed first{sample.names.front()};
    c.Values({"numFonts", 8, 4}, {{0, kNothingAdded}, {1, first}, {numFonts + 1, kNothingAdded},
                                  {0xFFFFFFFF, kNothingAdded}});
    c.Values({"last offsetTable", 12 + 4 * std::size_t{numFonts - 1}, 4}, {{0xFFFFFFFF, kNothingAdded}});
    const std::size_t record = RecordOf(c.base(), GetU32(c.base(), 12), MakeTag("name"));
    Listed firstUnnamed = sample.names;
    firstUnnamed.front() = u"";
    c.Values({"member 0 'name' record length", record + 12, 4}, {{0, firstUnnamed}, {0xFFFFFFFF, kNothingAdded}});
}

std::size_t WoffEntryOf(const ByteVector& woff, std::uint32_t tag) {
    for (std::size_t i = 0, n = GetU16(woff, 12); i < n; ++i)
        if (GetU32(woff, WoffEntryField(i, 0)) == tag) return i;
    throw std::logic_error("a WOFF sample without the table it needs");
}

void AddSampleWoffCases(std::vector<MalformedFont>& cases, const FontSample& sample) {
    Subject w(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    const std::uint32_t total = GetU32(w.base(), kWoffTotalSfntSize);
    const std::size_t last = GetU16(w.base(), 12) - 1, name = WoffEntryOf(w.base(), MakeTag("name"));
    w.Values({"totalSfntSize", kWoffTotalSfntSize, 4}, {{total - 4, kNothingAdded}, {total + 4, kNothingAdded}});
    w.Values({"numTables", 12, 2}, {{0, kNothingAdded}, {0xFFFF, kNothingAdded}});
    w.Values({"flavor", 4, 4}, {{MakeTag("true"), kEmptyName}});
    w.Values({"metaOffset", 24, 4}, {{0xFFFFFFFF, sample.names}});
    w.Values({"last entry offset", WoffEntryField(last, kWoffEntryOffset), 4}, {{0xFFFFFFFF, kNothingAdded}});
    const Field nameStored{"name entry compLength", WoffEntryField(name, kWoffEntryCompLength), 4};
    w.Values(nameStored, {{GetU32(w.base(), nameStored.at) - 1, kNothingAdded}});
}

// Where the Brotli stream of a single font's WOFF2 file starts: after the
// 48-byte header and the table directory, whose entries are a flags byte, an
// optional tag, origLength and, for a transformed table, transformLength.
std::size_t Woff2StreamStart(const ByteVector& woff2) {
    std::size_t at = 48;
    const auto skipBase128 = [&] {
        while (woff2.at(at++) & 0x80) {
        }
    };
    for (std::size_t i = 0, n = GetU16(woff2, 12); i < n; ++i) {
        const unsigned flags = woff2.at(at++), known = flags & 0x3F, version = flags >> 6;
        if (known == 0x3F) at += 4;
        skipBase128();
        const bool glyfOrLoca = known == 10 || known == 11;  // transformed unless version 3
        if (glyfOrLoca ? version != 3 : version != 0) skipBase128();
    }
    return at;
}

void AddSampleWoff2Cases(std::vector<MalformedFont>& cases, const FontSample& sample) {
    Subject w(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    const std::uint32_t size = static_cast<std::uint32_t>(w.base().size());
    const Listed named = sample.names, nothing = kNothingAdded;
    w.Values({"signature", 0, 4}, {{MakeTag("wOFF"), nothing}});
    w.Values({"length", 8, 4}, {{0, nothing}, {size - 1, nothing}, {size + 1, nothing}, {0xFFFFFFFF, nothing}});
    w.Values({"numTables", 12, 2}, {{0, nothing}, {0xFFFF, nothing}});
    w.Values({"reserved", 14, 2}, {{0xFFFF, named}});
    w.Values({"totalSfntSize", 16, 4}, {{0, named}, {1, named}, {0xFFFFFFFF, named}});
    w.Values({"totalCompressedSize", 20, 4}, {{0, nothing}, {0xFFFFFFFF, nothing}});
    w.Values({"majorVersion", 24, 2}, {{0xFFFF, named}});
    w.Values({"metaOffset", 28, 4}, {{size, nothing}, {0xFFFFFFFF, nothing}});
    w.Values({"privOffset", 40, 4}, {{size, nothing}, {0xFFFFFFFF, nothing}});
    w.Add("cut by one byte", ByteVector(w.base().begin(), w.base().end() - 1), nothing);
    if (GetU32(w.base(), 4) == MakeTag("ttcf")) {
        w.Values({"flavor", 4, 4}, {{0x00010000, nothing}});
        return;
    }
    w.Values({"flavor", 4, 4}, {{MakeTag("true"), kEmptyName}});
    const std::tuple<std::size_t, std::uint8_t, const char*> mangles[] = {
        {48, 0x3F, "first directory entry's flags = 0x3F"},  // an arbitrary tag follows, shifting the whole directory
        {49, 0x80, "first directory entry's origLength begins with 0x80"},  // a leading zero digit
        {Woff2StreamStart(w.base()), 0xFF, "Brotli stream's first byte = 0xFF"}};
    for (const auto& [at, value, what] : mangles) {
        ByteVector mangled = w.base();
        mangled.at(at) = value;
        w.Add(what, mangled, nothing);
    }
}

constexpr std::uint64_t kTableLength = std::uint64_t{1} << 32;  // stands for the length of the field's table

// A field of a table a variable or colour face is drawn from: `at` bytes into
// the table, or past the 32-bit offset `via` bytes into it when `via` is set.
struct DrawnField { const char* tag; const char* name; std::size_t via, at; unsigned width; std::vector<std::uint64_t> values; };

// The loader reads none of these tables, so the names stay; shaping and
// drawing at every axis's extremes must stay inside the file.
void AddSampleDrawnCases(std::vector<MalformedFont>& cases, const FontSample& sample, std::initializer_list<DrawnField> fields) {
    Subject s(cases, sample.path.filename().string(), sample.loader, ReadSample(sample));
    for (const DrawnField& f : fields) {
        const std::size_t record = RecordOf(s.base(), 0, MakeTag(f.tag)), table = GetU32(s.base(), record + 8);
        const Field field{std::string(f.tag) + " " + f.name, table + (f.via ? GetU32(s.base(), table + f.via) : 0) + f.at, f.width};
        for (std::uint64_t value : f.values) s.Values(field, {{value == kTableLength ? GetU32(s.base(), record + 12) : value, sample.names}});
    }
}

// The described font (DescribedFontTables) with fields of the tables its
// details come from at the edges of their range: the face keeps its full name
// (but for the name table's own cases), and its details change as recorded.
void AddDescribedCases(std::vector<MalformedFont>& cases) {
    Subject s(cases, "described", FontLoader::Sfnt, BuildSfnt(DescribedFontTables()));
    const auto record = [&s](const char* tag) { return RecordOf(s.base(), 0, MakeTag(tag)); };
    const auto at = [&](const char* tag) { return std::size_t{GetU32(s.base(), record(tag) + 8)}; };
    const auto in = [](const char* tag, const std::string& what) { return "+table '" + std::string(tag) + "': " + what + ";"; };
    const Listed named{u"Described Bold"};
    const std::size_t os2 = at("OS/2"), cmap = at("cmap"), fvar = at("fvar"), gsub = at("GSUB"), name = at("name");
    const std::string best = "-cmap=4 +cmap=3 ", changes = "-changes=kern:1,liga:2,smcp:1, ";
    const std::string noSmcp = "-features=kern,liga,smcp, " + changes + "+features=kern,liga, ";
    const std::string noGsub = changes + "+changes=kern:1,liga:1,smcp:0,", unmapped = "+changes=kern:0,liga:0,smcp:0,";
    const std::string noInstances = "-instance=Light:wght=100 -instance=Heavy:wght=900 ";
    const std::string noAxes = "-axis=wght:100/400/900:Weight " + noInstances;
    const std::string axesPast = noAxes + in("fvar", "the axis records extend past the table");
    const std::string instancesPast = noInstances + in("fvar", "the instance records extend past the table");
    const std::string groupsPast = best + in("cmap", "subtable 1 has more groups than bytes");
    s.Details({"OS/2 version", os2, 2}, named, {{0, ""}, {0xFFFF, in("OS/2", "version 65535 needs 100 bytes, the table has 96")}});
    s.Details({"'OS/2' record length", record("OS/2") + 12, 4}, named,
              {{61, "-vendor=TEST " + in("OS/2", "version 4 needs 96 bytes, the table has 61")}});
    s.Details({"OS/2 achVendID", os2 + 58, 4}, named,
              {{0x41420043, "-vendor=TEST " + in("OS/2", "achVendID is not four printable characters")}});
    s.Details({"'glyf' record tag", record("glyf"), 4}, named, {{MakeTag("CFF2"), "-outlines=TrueType +outlines=CFF2"}});
    s.Details({"cmap numTables", cmap + 2, 2}, named, {{0, "-cmap=4 " + changes + unmapped}, {0xFFFF, in("cmap", "the encoding records extend past the table")}});
    s.Details({"cmap record 1 offset", cmap + 16, 4}, named,
              {{0, "-cmap=4 +cmap=3"}, {0xFFFFFFFF, best + in("cmap", "subtable 1 starts past the end of the table")}});
    s.Details({"cmap subtable 1 length", cmap + 56, 4}, named,
              {{39, groupsPast}, {41, best + in("cmap", "subtable 1 extends past the table")}});
    s.Details({"cmap subtable 1 numGroups", cmap + 64, 4}, named, {{0, "-cmap=4 " + changes + "+cmap=0 " + unmapped}, {3, groupsPast}, {0xFFFFFFFF, groupsPast}});
    s.Details({"cmap subtable 1 first group's end", cmap + 72, 4}, named, {{0xFFFFFFFF, "-cmap=4 +cmap=1111999"}});
    s.Details({"fvar axesArrayOffset", fvar + 4, 2}, named, {{0, noAxes + in("fvar", "the axis records overlap the header")}});
    s.Details({"fvar axisCount", fvar + 8, 2}, named, {{0, noAxes + in("fvar", "it has no axes")}, {2, axesPast}, {0xFFFF, axesPast}});
    s.Details({"fvar axisSize", fvar + 10, 2}, named, {{24, instancesPast}, {0xFFFF, axesPast}});
    s.Details({"fvar instanceCount", fvar + 12, 2}, named, {{3, instancesPast}, {0xFFFF, instancesPast}});
    s.Details({"fvar instanceSize", fvar + 14, 2}, named,
              {{12, noInstances + in("fvar", "instance size 12 does not fit an axis count of 1")}, {10, instancesPast}});
    const std::string noList = noSmcp + "+changes=kern:1,liga:1, " + in("GSUB", "the feature list extends past the table");
    s.Details({"GSUB featureListOffset", gsub + 6, 2}, named, {{27, noList}});
    s.Details({"GSUB featureCount", gsub + 10, 2}, named, {{0xFFFF, noList}});
    s.Details({"GSUB feature 1 offset", gsub + 22, 2}, named,
              {{0xFFFF, noSmcp + "+changes=kern:1,liga:2, " + in("GSUB", "feature tables outside the table: 1")}});
    s.Details({"GSUB lookupListOffset", gsub + 8, 2}, named, {{0xFFFF, noGsub + " " + in("GSUB", "the lookup list extends past the table")}});
    s.Details({"GSUB lookupIndexCount", gsub + 26, 2}, named, {{0xFFFF, noGsub + " " + in("GSUB", "feature lookup indices outside the table: 2")}});
    s.Details({"GSUB lookup index", gsub + 28, 2}, named, {{1, noGsub}});
    s.Details({"GSUB subTableCount", gsub + 38, 2}, named, {{0xFFFF, noGsub + " " + in("GSUB", "lookups outside the table: 1")}});
    const std::string subtableOutside = noGsub + " " + in("GSUB", "lookup subtables outside the table: 1");
    s.Details({"GSUB subtable offset", gsub + 40, 2}, named, {{0xFFFF, subtableOutside}});
    s.Details({"GSUB deltaGlyphID", gsub + 46, 2}, named, {{0, noGsub}, {0xFFFF, ""}});
    s.Details({"GSUB coverage glyphCount", gsub + 50, 2}, named, {{0, noGsub}, {0xFFFF, subtableOutside}});
    const std::string noGpos = changes + "+changes=kern:0,liga:1,smcp:1,";
    s.Details({"GPOS valueFormat", at("GPOS") + 46, 2}, named,
              {{0x10, noGpos}, {0xFFFF, noGpos + " " + in("GPOS", "lookup subtables outside the table: 1")}});
    s.Details({"GPOS XAdvance", at("GPOS") + 48, 2}, named, {{0, noGpos}});
    s.Details({"name count", name + 2, 2}, named, {{0xFFFF, in("name", "record 17 extends past the table")}});
    s.Details({"name stringOffset", name + 4, 2}, kEmptyName,
              {{0xFFFF, "-full=Described Bold -names=0,1,2,4,256,257,258, " + noAxes + "+names= +axis=wght:100/400/900:- "
                        "+instance=-:wght=100 +instance=-:wght=900 " + in("name", "strings outside the table: 7")}});
    s.Details({"name record 6 length", name + 6 + 12 * 6 + 8, 2}, named, {{0xFFFF, "-names=0,1,2,4,256,257,258, -instance=Heavy:wght=900 "
              "+names=0,1,2,4,256,257, +instance=-:wght=900 " + in("name", "strings outside the table: 1")}});
}

// The described font with a cmap of a format 12 and a format 14 subtable.
void AddVariationSequenceCases(std::vector<MalformedFont>& cases) {
    std::vector<Table> tables = DescribedFontTables();
    for (Table& table : tables)
        if (table.tag == MakeTag("cmap"))
            table.data = BuildCmap({{3, 10, CmapGroups(12, {{0x41, 0x43, 1}})}, {0, 5, CmapVariationSequences()}});
    Subject s(cases, "variation sequences", FontLoader::Sfnt, BuildSfnt(tables));
    const std::size_t uvs = GetU32(s.base(), RecordOf(s.base(), 0, MakeTag("cmap")) + 8) + 48;
    const Listed named{u"Described Bold"};
    const auto damaged = [](const std::string& what) { return "-uvs=3/2/1 +table 'cmap': subtable 1 " + what + ";"; };
    const std::string leaving = damaged("has a selector's sequences leaving it");
    s.Details({"format", uvs, 2}, named, {{4, damaged("of variation sequences is format 4")}});
    s.Details({"length", uvs + 2, 4}, named, {{50, damaged("extends past the table")}});
    s.Details({"numVarSelectorRecords", uvs + 6, 4}, named,
              {{0, "-uvs=3/2/1 +uvs=0/0/0"}, {4, damaged("has more selector records than bytes")}});
    s.Details({"U+FE00 defaultUVSOffset", uvs + 13, 4}, named, {{0xFFFFFFFF, leaving}});
    s.Details({"U+E0100 defaultUVSOffset", uvs + 24, 4}, named, {{32, "-uvs=3/2/1 +uvs=5/2/3"}});  // U+FE00's, shared
    s.Details({"numUnicodeValueRanges", uvs + 32, 4}, named, {{4, leaving}, {0xFFFFFFFF, leaving}});
    s.Details({"numUVSMappings", uvs + 40, 4}, named, {{2, leaving}});
}

}  // namespace

std::vector<MalformedFont> MalformedBuilderFonts() {
    std::vector<MalformedFont> cases;
    AddSfntCases(cases);
    AddNameLastCases(cases);
    AddCollectionCases(cases);
    AddWoffCases(cases);
    AddDescribedCases(cases);
    AddVariationSequenceCases(cases);
    return cases;
}

std::vector<MalformedFont> MalformedSampleFonts(const std::vector<FontSample>& samples) {
    std::vector<MalformedFont> cases;
    AddSampleSfntCases(cases, Sample(samples, "dejavu-sans.ttf"), {u"DejaVu Sans"});
    AddSampleSfntCases(cases, Sample(samples, "ipa-gothic.ttf"), {u"IPAGothic"});
    AddSampleSfntCases(cases, Sample(samples, "noto-sans-cjk-jp.otf"), kEmptyName);
    AddSampleCollectionCases(cases, Sample(samples, "noto-sans-cjk.ttc"));
    AddSampleCollectionCases(cases, Sample(samples, "dejavu-three.ttc"));
    AddSampleWoffCases(cases, Sample(samples, "dejavu-sans-sfnt2woff.woff"));
    AddSampleWoffCases(cases, Sample(samples, "noto-serif-cjk-kr-fonttools.woff"));
    AddSampleWoff2Cases(cases, Sample(samples, "dejavu-sans.woff2"));
    AddSampleWoff2Cases(cases, Sample(samples, "noto-sans-cjk-jp.woff2"));
    AddSampleWoff2Cases(cases, Sample(samples, "noto-sans-cjk.woff2"));
    AddSampleDrawnCases(cases, Sample(samples, "inter-variable.ttf"),
                        {{"fvar", "axesArrayOffset", 0, 4, 2, {0, kTableLength, 0xFFFF}},
                         {"fvar", "axisCount", 0, 8, 2, {0, 0xFFFF}},
                         {"fvar", "instanceCount", 0, 12, 2, {0xFFFF}},
                         {"gvar", "sharedTuplesOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"gvar", "flags", 0, 14, 2, {1, 0xFFFF}},  // 1: long offsets where short ones are
                         {"gvar", "glyphVariationDataArrayOffset", 0, 16, 4, {kTableLength, 0xFFFFFFFF}},
                         {"HVAR", "itemVariationStoreOffset", 0, 4, 4, {kTableLength, 0xFFFFFFFF}}});
    // fontTools writes this font's top DICT as FDArray 87, CharStrings 48 and
    // VariationStore 16, each a one-byte operand (the offset + 139).
    AddSampleDrawnCases(cases, Sample(samples, "variable-cff2.otf"),
                        {{"CFF2", "topDictLength", 0, 3, 2, {0, 0xFFFF}},
                         {"CFF2", "CharStrings offset", 0, 8, 1, {139, 246}},  // 0 and 107, past the table
                         {"CFF2", "CharStrings count", 0, 48, 4, {0xFFFFFFFF}},
                         {"CFF2", "last charstring's end", 0, 55, 1, {0xFF}},
                         {"avar", "axisCount", 0, 6, 2, {0xFFFF}},
                         {"avar", "positionMapCount", 0, 8, 2, {0, 1, 0xFFFF}}});
    AddSampleDrawnCases(cases, Sample(samples, "colr-layers.ttf"),
                        {{"COLR", "baseGlyphRecordsOffset", 0, 4, 4, {kTableLength, 0xFFFFFFFF}},
                         {"COLR", "layerRecordsOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"COLR", "numLayerRecords", 0, 12, 2, {0xFFFF}},
                         {"COLR", "first base glyph's numLayers", 4, 4, 2, {3, 0xFFFF}},
                         {"COLR", "first layer's glyphID", 8, 0, 2, {0xFFFF}},
                         {"COLR", "first layer's paletteIndex", 8, 2, 2, {2, 0xFFFE}},  // the palette has 2
                         {"CPAL", "numPaletteEntries", 0, 2, 2, {0xFFFF}},
                         {"CPAL", "colorRecordsArrayOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}}});
    AddSampleDrawnCases(cases, Sample(samples, "noto-color-emoji.ttf"),
                        {{"CBLC", "numSizes", 0, 4, 4, {0, 0xFFFFFFFF}},
                         {"CBLC", "indexSubTableArrayOffset", 0, 8, 4, {kTableLength, 0xFFFFFFFF}},
                         {"CBLC", "numberOfIndexSubTables", 0, 16, 4, {0xFFFFFFFF}},
                         // the one index subtable's offset into CBDT (of 7 KB), after its 8-byte array record
                         {"CBLC", "imageDataOffset", 8, 12, 4, {0x10000, 0xFFFFFFFF}}});
    return cases;
}

}  // namespace tavrel::test
