#include "face_tables.h"

#include <algorithm>

#include "sfnt_layout.h"

namespace tavrel {

namespace {

// The tables the face readers look at; the others are passed over, so a
// directory of 65535 records costs no more than one of twelve.
constexpr std::uint32_t kReadTags[] = {Tag("head"), Tag("hhea"), Tag("maxp"), Tag("OS/2"), Tag("post"),
                                       Tag("name"), Tag("cmap"), Tag("fvar"), Tag("GSUB"), Tag("GPOS"),
                                       Tag("glyf"), Tag("CFF "), Tag("CFF2"), Tag("vhea"), Tag("vmtx"), Tag("VORG"),
                                       Tag("COLR"), Tag("CPAL"), Tag("CBDT"), Tag("sbix"), Tag("SVG ")};

bool IsRead(std::uint32_t tag) { return std::find(std::begin(kReadTags), std::end(kReadTags), tag) != std::end(kReadTags); }

}  // namespace

FaceTables::FaceTables(Bytes image, std::uint64_t offsetTableOffset, Problems& problems) {
    std::uint16_t numTables = 0;
    if (!ReadU16BE(image, offsetTableOffset + 4, numTables)) {
        problems.push_back("the offset table extends past the end of the file");
        return;
    }
    for (std::uint16_t i = 0; i < numTables; ++i) {
        ByteReader reader(image, offsetTableOffset + kOffsetTableSize + kTableRecordSize * std::uint64_t{i});
        TableRecord record;
        if (!reader.ReadU32(record.tag) || !reader.ReadU32(record.checksum) || !reader.ReadU32(record.offset) ||
            !reader.ReadU32(record.length)) {
            problems.push_back("the table records extend past the end of the file");
            return;
        }
        if (!IsRead(record.tag) || Seen(record.tag)) continue;
        // The first record of a tag decides, as for the full name: a damaged one hides any later one.
        if (!RangeInside(record.offset, record.length, image.size())) {
            problems.push_back("table " + TagText(record.tag) + " extends past the end of the file");
            tables_.push_back({record.tag, {}, false});
            continue;
        }
        tables_.push_back({record.tag, image.subspan(record.offset, record.length), true});
    }
}

const FaceTables::Entry* FaceTables::Lookup(std::uint32_t tag) const {
    const auto found = std::find_if(tables_.begin(), tables_.end(), [tag](const Entry& t) { return t.tag == tag; });
    return found == tables_.end() ? nullptr : &*found;
}

bool FaceTables::Seen(std::uint32_t tag) const { return Lookup(tag) != nullptr; }

Bytes FaceTables::Find(std::uint32_t tag) const {
    const Entry* entry = Lookup(tag);
    return entry ? entry->data : Bytes{};
}

bool FaceTables::Has(std::uint32_t tag) const {
    const Entry* entry = Lookup(tag);
    return entry && entry->inside;
}

std::string TableProblem(std::uint32_t tag, std::string_view what) {
    return "table " + TagText(tag) + ": " + std::string(what);
}

}  // namespace tavrel
