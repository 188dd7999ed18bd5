// Writes the fuzz targets' seed inputs: small fonts from the test font
// builders, the font samples made from Debian's fonts (samples.tsv), and the
// damaged-file corpus. Usage:
//   tavrel-make-seeds SEEDS_DIR SAMPLES_TSV
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "font_builder.h"
#include "font_samples.h"
#include "malformed_fonts.h"
#include "woff_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace tavrel::test;

// Which targets read each kind of input.
const std::map<std::string, std::vector<std::string>> kTargetsOf = {
    {"sfnt", {"sfnt_plan", "full_name", "face_info", "typeset"}},
    {"ttc", {"collection_plan", "collection_member", "sfnt_plan", "face_info", "typeset"}},
    {"name", {"full_name"}},
    {"woff", {"woff_plan", "woff_decode", "typeset"}},
    {"woff2", {"woff2_plan", "typeset"}},
};
const std::map<tavrel::FontLoader, std::string> kKindOf = {{tavrel::FontLoader::Sfnt, "sfnt"},
    {tavrel::FontLoader::Collection, "ttc"}, {tavrel::FontLoader::Woff, "woff"}, {tavrel::FontLoader::Woff2, "woff2"}};

// Larger inputs slow every mutation; the sweeps in tests/ cover big files.
constexpr std::uintmax_t kMaxSeedBytes = 65536;

void Write(const fs::path& seeds, const std::string& kind, const std::string& name, const ByteVector& bytes) {
    for (const std::string& target : kTargetsOf.at(kind)) {
        fs::create_directories(seeds / target);
        std::ofstream(seeds / target / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

void WriteBuilderSeeds(const fs::path& seeds) {
    const auto mixed = NameTableBuilder()
                           .Mac(0, "Seed Roman")
                           .Mac(11, "\x83\x53\x83\x56\x83\x62\x83\x4E")
                           .Windows(0x0409, u"Seed Sans")
                           .Windows(0x0411, u"シード");
    const auto macOnly = NameTableBuilder().Mac(0, "Caf\xE9 \x80").Windows(0x0409, u"Family", 1);
    std::vector<std::vector<Table>> members;
    for (char16_t c = u'A'; c < u'A' + 12; ++c) members.push_back(NamedFontTables(u"Member " + std::u16string(1, c)));
    const std::tuple<const char*, const char*, ByteVector> builtSeeds[] = {
        {"sfnt", "builder-plain.ttf", BuildFontNamed(u"Seed Plain")},
        {"sfnt", "builder-mixed.ttf", BuildNamedFont(mixed)},
        {"sfnt", "builder-cff.otf", BuildNamedFont(mixed, MakeTag("OTTO"))},
        {"sfnt", "builder-true.ttf", BuildNamedFont(mixed, MakeTag("true"))},
        {"sfnt", "builder-mac.ttf", BuildNamedFont(macOnly)},
        {"sfnt", "builder-no-name.ttf", BuildSfnt({{MakeTag("head"), ByteVector(54, 1)}})},
        {"sfnt", "builder-described.ttf", BuildSfnt(DescribedFontTables())},
        {"name", "builder-mixed.name", mixed.Build()},
        {"name", "builder-mac.name", macOnly.Build()},
        {"ttc", "builder-one.ttc", BuildCollection({members[0]})},
        {"ttc", "builder-three.ttc", BuildCollection({members[0], members[1], members[0]})},
        {"ttc", "builder-twelve.ttc", BuildCollection(members)},
        {"woff", "builder-plain.woff", WoffFromSfnt(BuildFontNamed(u"Seed Web"))},
        {"woff", "builder-mixed.woff", WoffFromSfnt(BuildNamedFont(mixed))},
        {"woff", "builder-empty.woff", BuildWoff({})},
        {"woff", "builder-extras.woff",
         BuildWoff({{MakeTag("name"), mixed.Build(), 0x1234, Storage::Stored}, {MakeTag("head"), ByteVector(54, 7)}},
                   {0x4F54544F, Ascii("<metadata/>"), ByteVector(9, 0xEE)})},
    };
    for (const auto& [kind, name, bytes] : builtSeeds) Write(seeds, kind, name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavrel-make-seeds SEEDS_DIR SAMPLES_TSV\n");
        return 2;
    }
    const fs::path seeds = argv[1];
    fs::remove_all(seeds);
    WriteBuilderSeeds(seeds);
    const auto samples = ReadFontSamples(argv[2]);
    for (const FontSample& sample : samples)
        if (fs::file_size(sample.path) <= kMaxSeedBytes)
            Write(seeds, kKindOf.at(sample.loader), "sample-" + sample.path.filename().string(), ReadSample(sample));
    const std::pair<const char*, std::vector<MalformedFont>> damaged[] = {
        {"damaged-builder-", MalformedBuilderFonts()}, {"damaged-sample-", MalformedSampleFonts(samples)}};
    for (const auto& [prefix, cases] : damaged)
        for (std::size_t i = 0; i < cases.size(); ++i)
            Write(seeds, kKindOf.at(cases[i].loader), prefix + std::to_string(i), cases[i].bytes);
    return 0;
}
