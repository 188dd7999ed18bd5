// Writes the fuzz targets' seed inputs: small fonts from the test font builder
// and the font samples made from Debian's fonts (samples.tsv). Usage:
//   tavrel-make-seeds SEEDS_DIR SAMPLES_TSV
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "font_builder.h"
#include "woff_builder.h"

namespace {

namespace fs = std::filesystem;
using tavrel::test::ByteVector;
using tavrel::test::NameTableBuilder;

// Which targets read each kind of input.
const std::map<std::string, std::vector<std::string>> kTargetsOf = {
    {"sfnt", {"sfnt_plan", "full_name"}},
    {"ttc", {"collection_plan", "collection_member", "sfnt_plan"}},
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

int WriteSampleSeeds(const fs::path& seeds, const fs::path& manifest) {
    std::ifstream in(manifest);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", manifest.string().c_str());
        return 1;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, path;
        std::getline(fields, kind, '\t');
        std::getline(fields, path, '\t');
        if (!kTargetsOf.count(kind) || fs::file_size(path) > kMaxSeedBytes) continue;
        auto bytes = tavrel::ReadFileBytes(path);
        if (!bytes) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), bytes.reason().c_str());
            return 1;
        }
        Write(seeds, kind, "sample-" + fs::path(path).filename().string(), bytes.value());
    }
    return 0;
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
    return WriteSampleSeeds(seeds, argv[2]);
}
