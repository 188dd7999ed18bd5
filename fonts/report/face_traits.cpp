#include "face_traits.h"

#include <algorithm>
#include <array>

#include "cmap_table.h"
#include "color_tables.h"
#include "coverage.h"
#include "face_info.h"
#include "face_tables.h"
#include "header_tables.h"
#include "layout_features.h"
#include "name_table.h"
#include "variation_axes.h"

namespace tavrel {

namespace {

// Counts the characters of `wanted` (ascending) that a subtable maps, as its
// mappings arrive in ascending order, without holding them.
class WantedCharacters {
public:
    explicit WantedCharacters(std::span<const char32_t> wanted) : wanted_(wanted) {}
    void Map(std::span<const CodePointGlyph> batch) {
        // Nothing to count once a wanted character has passed unmapped, nor in a batch before the next one.
        if (found_ != next_ || next_ == wanted_.size() || batch.empty() || batch.back().codePoint < wanted_[next_]) return;
        for (const CodePointGlyph& mapping : batch) {
            while (next_ < wanted_.size() && wanted_[next_] < mapping.codePoint) ++next_;
            if (next_ < wanted_.size() && wanted_[next_] == mapping.codePoint) ++found_, ++next_;
        }
    }
    bool AllFound() const { return found_ == wanted_.size(); }

private:
    std::span<const char32_t> wanted_;
    std::size_t next_ = 0, found_ = 0;
};

// The same count for several lists at once, over one pass of the subtable.
class WantedLists final : public CmapVisitor {
public:
    explicit WantedLists(std::vector<WantedCharacters> lists) : lists_(std::move(lists)) {}
    void Map(std::span<const CodePointGlyph> batch) override {
        for (WantedCharacters& list : lists_) list.Map(batch);
    }
    const std::vector<WantedCharacters>& lists() const { return lists_; }

private:
    std::vector<WantedCharacters> lists_;
};

struct SetTrait {
    std::string_view set;
    FaceTraitFlag flag;
};
constexpr SetTrait kSetTraits[] = {{"joyo", kTraitJoyo}, {"jis-level-1", kTraitJisLevel1}, {"jis-level-2", kTraitJisLevel2}};

// The flags of the character sets the face's best cmap subtable maps whole.
std::uint16_t SetFlags(const FaceTables& tables, Problems& problems) {
    std::vector<WantedCharacters> lists;
    std::vector<std::uint16_t> flags;
    for (const CharacterSet& set : CharacterSets())
        if (const std::uint16_t flag = TraitOfSet(set.id)) lists.emplace_back(set.codePoints), flags.push_back(flag);
    WantedLists visitor(std::move(lists));
    if (!tables.Has(Tag("cmap")) || !VisitCmapMappings(tables.Find(Tag("cmap")), visitor, problems)) return 0;
    std::uint16_t found = 0;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (visitor.lists()[i].AllFound()) found |= flags[i];
    return found;
}

// Any colour format but a palette alone.
bool HasColor(const FaceTables& tables, Problems& problems) {
    const auto formats = ReadColorFormats(tables, problems);
    return std::any_of(formats.begin(), formats.end(), [](std::string_view format) { return format != "CPAL"; });
}

bool HasAxes(const FaceTables& tables, FaceInfo& info) {
    if (!tables.Has(Tag("fvar"))) return false;
    ReadVariationAxes(tables.Find(Tag("fvar")), info);
    return !info.axes.empty();
}

std::uint16_t LayoutFlags(const FaceTables& tables, Problems& problems) {
    const std::vector<std::uint32_t> tags = ListFeatureTags(tables, problems);
    return (HasFeature(tags, Tag("vert")) ? kTraitVertical : 0) | (HasFeature(tags, Tag("palt")) ? kTraitProportional : 0);
}

constexpr std::array<std::uint16_t, 4> kNameIdsFound = {1, 4, 16, 21};

}  // namespace

FaceTraits ReadFaceTraits(Bytes image, std::uint64_t offsetTable) {
    FaceInfo info;  // what the table readers fill; traits keep a few fields of it
    const FaceTables tables(image, offsetTable, info.problems);
    if (tables.Has(Tag("maxp"))) ReadMaxp(tables.Find(Tag("maxp")), info);
    if (tables.Has(Tag("OS/2"))) ReadOs2(tables.Find(Tag("OS/2")), info);
    FaceTraits traits;
    traits.weightClass = info.weightClass.value_or(0);
    traits.widthClass = info.widthClass.value_or(0);
    traits.glyphCount = info.glyphCount.value_or(0);
    traits.flags = LayoutFlags(tables, info.problems) | SetFlags(tables, info.problems) |
                   (HasAxes(tables, info) ? kTraitVariable : 0) | (HasColor(tables, info.problems) ? kTraitColor : 0);
    return traits;
}

std::vector<std::u16string> ReadFaceNames(Bytes image, std::uint64_t offsetTable) {
    Problems problems;
    const Bytes table = FaceTables(image, offsetTable, problems).Find(Tag("name"));
    std::uint16_t count = 0;
    ReadU16BE(table, 2, count);
    // Records may share and overlap their strings: what is decoded is bounded as ReadNames bounds it.
    std::size_t bytesLeft = table.size() + kNameTextSlack;
    std::vector<std::u16string> names;
    NameRecord record;
    Bytes text;
    for (std::uint16_t i = 0; i < count && ReadNameRecord(table, i, record); ++i) {
        const bool wanted = std::find(kNameIdsFound.begin(), kNameIdsFound.end(), record.nameID) != kNameIdsFound.end();
        if (!wanted || !NameRecordText(table, record, text) || text.size() > bytesLeft) continue;
        bytesLeft -= text.size();
        if (std::u16string name = DecodeNameText(record, text); !name.empty()) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<char32_t> CharactersToFind(std::u16string_view text) {
    // The text's distinct characters as `info --text` counts them.
    std::vector<char32_t> wanted = MeasureTextCoverage({}, text).missing;
    std::sort(wanted.begin(), wanted.end());
    return wanted;
}

bool MapsEveryCharacter(Bytes image, std::uint64_t offsetTable, std::span<const char32_t> wanted) {
    Problems problems;
    const FaceTables tables(image, offsetTable, problems);
    WantedLists visitor({WantedCharacters(wanted)});
    return VisitCmapMappings(tables.Find(Tag("cmap")), visitor, problems) && visitor.lists().front().AllFound();
}

std::vector<std::uint32_t> ReadFeatureTags(Bytes image, std::uint64_t offsetTable) {
    Problems problems;
    return ListFeatureTags(FaceTables(image, offsetTable, problems), problems);
}

bool HasFeature(std::span<const std::uint32_t> tags, std::uint32_t tag) {
    const auto has = [&](std::uint32_t t) { return std::binary_search(tags.begin(), tags.end(), t); };
    return has(tag) || (tag == Tag("vert") && has(Tag("vrt2")));
}

std::uint16_t TraitOfSet(std::string_view set) {
    for (const SetTrait& trait : kSetTraits)
        if (trait.set == set) return trait.flag;
    return 0;
}

}  // namespace tavrel
