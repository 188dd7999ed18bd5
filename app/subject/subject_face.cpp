#include "subject_face.h"

#include <algorithm>
#include <map>
#include <vector>

#include "cmap_table.h"
#include "collection.h"
#include "face_tables.h"
#include "installed_font_file.h"
#include "variation_sequences.h"
#include "loader_choice.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

bool HasFullName(const FaceInfo& info, std::wstring_view faceName) {
    return info.fullName && ToWide(*info.fullName) == faceName;
}

bool HasFamilyName(const FaceInfo& info, std::wstring_view faceName) {
    return std::any_of(info.names.begin(), info.names.end(), [&](const auto& name) {
        return (name.first == 1 || name.first == 16) && ToWide(name.second) == faceName;
    });
}

struct Candidate {
    std::uint32_t index;
    std::uint64_t offsetTable;
};

std::vector<Candidate> Candidates(const FontPlan& plan, Bytes image, std::optional<std::uint32_t> member) {
    if (plan.faceMembers.empty()) return {{0, 0}};
    std::vector<Candidate> found;
    for (std::uint32_t index : member ? std::vector<std::uint32_t>{*member} : plan.faceMembers)
        if (const auto read = ReadCollectionMember(image, index)) found.push_back({index, read->directory.at});
    return found;
}

bool Plan(SubjectFace& face, FontLoader loader) {
    auto plan = PlanFontFile(loader, face.FileBytes());
    if (!plan) return false;
    face.loader = loader;
    face.plan = std::move(plan.value());
    return true;
}

}  // namespace

std::optional<SubjectFace> ReadFaceFile(const FaceSource& source) {
    if (source.path.empty()) return std::nullopt;
    SubjectFace face;
    auto file = MappedFile::Open(std::filesystem::path(source.path));
    if (!file) return std::nullopt;
    face.mapped = std::move(file.value());
    if (!Plan(face, ChooseLoader(ToU16(source.path)))) return std::nullopt;
    face.index = source.member.value_or(0);
    return face;
}

std::optional<SubjectFace> ReadSubjectFace(const DetailsSubject& subject) {
    if (!subject.listed) return std::nullopt;
    std::optional<SubjectFace> read;
    if (subject.source.installed) {
        auto installed = ReadInstalledFontFile(subject.faceName);
        if (!installed) return std::nullopt;
        read.emplace().installed = std::move(installed->image);
        if (!Plan(*read, installed->collection ? FontLoader::Collection : FontLoader::Sfnt)) return std::nullopt;
    } else {
        read = ReadFaceFile(subject.source);
        if (!read) return std::nullopt;
    }
    SubjectFace& face = *read;
    const Bytes image = face.Image();
    const auto candidates =
        Candidates(face.plan, image, subject.source.installed ? std::nullopt : subject.source.member);
    if (candidates.empty()) return std::nullopt;
    for (const Candidate& candidate : candidates) {
        FaceInfo info = DescribeFace(image, candidate.offsetTable, ReportDepth::Quick);
        if (HasFullName(info, subject.faceName) || (subject.source.installed && HasFamilyName(info, subject.faceName))) {
            face.index = candidate.index;
            face.offsetTable = candidate.offsetTable;
            face.info = std::move(info);
            return read;
        }
    }
    if (!subject.source.installed) return std::nullopt;
    face.index = candidates.front().index;
    face.offsetTable = candidates.front().offsetTable;
    face.info = DescribeFace(image, candidates.front().offsetTable, ReportDepth::Quick);
    return read;
}

std::wstring UnpaintedColorNote(const FaceInfo& info) {
    const auto has = [&](std::string_view format) {
        return std::find(info.colorFormats.begin(), info.colorFormats.end(), format) != info.colorFormats.end();
    };
    if (has("COLRv0") || has("CBDT") || has("sbix") || !(has("COLRv1") || has("SVG"))) return {};
    return L"  カラー (COLRv1, SVG) は表示できません";
}

SubjectCharacters CharactersOf(const SubjectFace& face, const FaceCharacterGlyphs& glyphs) {
    if (!face.info.codePoints) return {};
    SubjectCharacters characters{*face.info.codePoints, {}};
    // Counted in a sorted copy: a CJK face has some 15,000 sequences, and a
    // node a sequence is several milliseconds of allocation under Wine.
    std::vector<char32_t> bases;
    bases.reserve(glyphs.sequences.size());
    for (const VariationSequence& sequence : glyphs.sequences) bases.push_back(sequence.base);
    std::sort(bases.begin(), bases.end());
    for (char32_t base : bases) {
        if (characters.sequences.empty() || characters.sequences.back().first != base)
            characters.sequences.emplace_back(base, 0);
        ++characters.sequences.back().second;
    }
    return characters;
}

std::map<std::uint32_t, std::vector<CharacterChange>> EveryFeatureChange(const SubjectFace& face,
                                                                         const std::atomic<bool>& stop) {
    Problems problems;
    const FaceTables tables(face.Image(), face.offsetTable, problems);
    const auto mappings = ReadCmapMappings(tables.Find(Tag("cmap")), problems);
    if (!mappings) return {};
    LayoutTables layout;
    if (tables.Has(Tag("GSUB"))) layout.gsub = tables.Find(Tag("GSUB"));
    if (tables.Has(Tag("GPOS"))) layout.gpos = tables.Find(Tag("GPOS"));
    if (face.info.glyphCount) layout.glyphCount = *face.info.glyphCount;
    std::map<std::uint32_t, std::vector<CharacterChange>> changes;
    for (std::uint32_t tag : face.info.features) {
        if (stop) break;
        changes[tag] = ReadFeatureChanges(layout, *mappings, tag, problems);
    }
    return changes;
}

}  // namespace tavrel
