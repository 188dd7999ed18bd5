#include "font_samples.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "file_bytes.h"

namespace tavrel::test {

namespace {

FontLoader LoaderOfKind(const std::string& kind) {
    if (kind == "sfnt") return FontLoader::Sfnt;
    if (kind == "ttc") return FontLoader::Collection;
    if (kind == "woff") return FontLoader::Woff;
    if (kind == "woff2") return FontLoader::Woff2;
    throw std::runtime_error("unknown sample kind " + kind);
}

std::u16string FromHexUnits(const std::string& hex) {
    std::u16string name;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4)
        name += static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16));
    return name;
}

}  // namespace

std::vector<FontSample> ReadFontSamples(const std::filesystem::path& manifest) {
    std::ifstream in(manifest);
    if (!in) throw std::runtime_error("cannot read " + manifest.string());
    std::vector<FontSample> samples;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, path, name;
        std::getline(fields, kind, '\t');
        std::getline(fields, path, '\t');
        FontSample sample{LoaderOfKind(kind), path, {}};
        while (std::getline(fields, name, '\t')) sample.names.push_back(FromHexUnits(name));
        if (line.back() == '\t') sample.names.push_back(u"");
        samples.push_back(std::move(sample));
    }
    return samples;
}

std::vector<FontSample> SamplesFor(const std::vector<FontSample>& samples, FontLoader loader) {
    std::vector<FontSample> chosen;
    for (const FontSample& sample : samples)
        if (sample.loader == loader) chosen.push_back(sample);
    return chosen;
}

ByteVector ReadSample(const FontSample& sample) {
    auto bytes = ReadFileBytes(sample.path);
    if (!bytes) throw std::runtime_error(sample.path.string() + ": " + bytes.reason());
    return std::move(bytes.value());
}

}  // namespace tavrel::test
