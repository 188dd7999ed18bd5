// Writes the fuzz targets' seed inputs: the font samples made from Debian's
// fonts (samples.tsv) and the damaged-file corpus, whose cases are built
// from the test font builders' fonts. Usage:
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

namespace {

namespace fs = std::filesystem;
using namespace tavrel::test;

// Which targets read each kind of input.
const std::map<std::string, std::vector<std::string>> kTargetsOf = {
    {"sfnt", {"sfnt_plan", "full_name", "face_info", "typeset"}},
    {"ttc", {"collection_plan", "collection_member", "sfnt_plan", "face_info", "typeset"}},
    {"woff", {"woff_plan", "woff_decode", "typeset"}},
    {"woff2", {"woff2_plan", "typeset"}},
    {"name", {"full_name"}},
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavrel-make-seeds SEEDS_DIR SAMPLES_TSV\n");
        return 2;
    }
    const fs::path seeds = argv[1];
    fs::remove_all(seeds);
    // A bare 'name' table of every kind of record the full name is picked from.
    Write(seeds, "name", "mixed.name", NameTableBuilder().Mac(0, "Seed Roman").Mac(11, "\x83\x56\x81\x5B\x83\x68")
                                           .Windows(0x0409, u"Seed Sans").Windows(0x0411, u"シード").Build());
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
