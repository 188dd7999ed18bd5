// Writes the fuzz targets' seed inputs: small fonts from the test font
// builders, the font samples made from Debian's fonts (samples.tsv), and the
// damaged-file corpus. Usage:
//   tavrel-make-seeds SEEDS_DIR SAMPLES_TSV
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "font_builder.h"
#include "font_samples.h"
#include "malformed_fonts.h"
#include "woff_builder.h"

namespace {

namespace fs = std::filesystem;
using tavrel::test::ByteVector;
using tavrel::test::NameTableBuilder;

// Which targets read each kind of input.
const std::map<std::string, std::vector<std::string>> kTargetsOf = {
    {"sfnt", {"sfnt_plan", "full_name", "face_info"}},
    {"ttc", {"collection_plan", "collection_member", "sfnt_plan", "face_info"}},
    {"name", {"full_name"}},
    {"woff", {"woff_plan", "woff_decode"}},
    {"woff2", {"woff2_plan"}},
};

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
    Write(seeds, "sfnt", "builder-plain.ttf", tavrel::test::BuildFontNamed(u"Seed Plain"));
    Write(seeds, "sfnt", "builder-mixed.ttf", tavrel::test::BuildNamedFont(mixed));
    Write(seeds, "sfnt", "builder-cff.otf", tavrel::test::BuildNamedFont(mixed, tavrel::test::MakeTag("OTTO")));
    Write(seeds, "sfnt", "builder-true.ttf", tavrel::test::BuildNamedFont(mixed, tavrel::test::MakeTag("true")));
    Write(seeds, "sfnt", "builder-mac.ttf", tavrel::test::BuildNamedFont(macOnly));
    Write(seeds, "sfnt", "builder-no-name.ttf",
          tavrel::test::BuildSfnt({{tavrel::test::MakeTag("head"), ByteVector(54, 1)}}));
    Write(seeds, "sfnt", "builder-described.ttf", tavrel::test::BuildSfnt(tavrel::test::DescribedFontTables()));
    Write(seeds, "name", "builder-mixed.name", mixed.Build());
    Write(seeds, "name", "builder-mac.name", macOnly.Build());

    std::vector<std::vector<tavrel::test::Table>> members;
    for (char16_t c = u'A'; c < u'A' + 12; ++c) members.push_back(tavrel::test::NamedFontTables(u"Member " + std::u16string(1, c)));
    Write(seeds, "ttc", "builder-one.ttc", tavrel::test::BuildCollection({members[0]}));
    Write(seeds, "ttc", "builder-three.ttc", tavrel::test::BuildCollection({members[0], members[1], members[0]}));
    Write(seeds, "ttc", "builder-twelve.ttc", tavrel::test::BuildCollection(members));

    using tavrel::test::Storage;
    Write(seeds, "woff", "builder-plain.woff", tavrel::test::WoffFromSfnt(tavrel::test::BuildFontNamed(u"Seed Web")));
    Write(seeds, "woff", "builder-mixed.woff", tavrel::test::WoffFromSfnt(tavrel::test::BuildNamedFont(mixed)));
    Write(seeds, "woff", "builder-empty.woff", tavrel::test::BuildWoff({}));
    Write(seeds, "woff", "builder-extras.woff",
          tavrel::test::BuildWoff({{tavrel::test::MakeTag("name"), mixed.Build(), 0x1234, Storage::Stored},
                                   {tavrel::test::MakeTag("head"), ByteVector(54, 7), 0, Storage::Compressed}},
                                  {0x4F54544F, tavrel::test::Ascii("<metadata/>"), ByteVector(9, 0xEE)}));
}

std::string KindOf(tavrel::FontLoader loader) {
    switch (loader) {
        case tavrel::FontLoader::Sfnt:
            return "sfnt";
        case tavrel::FontLoader::Collection:
            return "ttc";
        case tavrel::FontLoader::Woff:
            return "woff";
        default:
            return "woff2";
    }
}

void WriteSampleSeeds(const fs::path& seeds, const std::vector<tavrel::test::FontSample>& samples) {
    for (const tavrel::test::FontSample& sample : samples) {
        if (fs::file_size(sample.path) > kMaxSeedBytes) continue;
        Write(seeds, KindOf(sample.loader), "sample-" + sample.path.filename().string(), tavrel::test::ReadSample(sample));
    }
}

void WriteDamagedSeeds(const fs::path& seeds, const std::vector<tavrel::test::MalformedFont>& cases,
                       const std::string& prefix) {
    for (std::size_t i = 0; i < cases.size(); ++i)
        Write(seeds, KindOf(cases[i].loader), prefix + std::to_string(i), cases[i].bytes);
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
    const auto samples = tavrel::test::ReadFontSamples(argv[2]);
    WriteSampleSeeds(seeds, samples);
    WriteDamagedSeeds(seeds, tavrel::test::MalformedBuilderFonts(), "damaged-builder-");
    WriteDamagedSeeds(seeds, tavrel::test::MalformedSampleFonts(samples), "damaged-sample-");
    return 0;
}
