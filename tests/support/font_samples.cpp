#include "font_samples.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "file_bytes.h"

namespace tavrel::test {

std::vector<FontSample> ReadFontSamples(const std::filesystem::path& manifest) {
    static const std::map<std::string, FontLoader> kLoaderOfKind = {
        {"sfnt", FontLoader::Sfnt}, {"ttc", FontLoader::Collection}, {"woff", FontLoader::Woff}, {"woff2", FontLoader::Woff2}};
    std::ifstream in(manifest);
    if (!in) throw std::runtime_error("cannot read " + manifest.string());
    std::vector<FontSample> samples;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, path, hex;
        std::getline(fields, kind, '\t');
        std::getline(fields, path, '\t');
        FontSample sample{kLoaderOfKind.at(kind), path, {}};
        while (std::getline(fields, hex, '\t')) {  // each name as UTF-16 code units, four hex digits each
            std::u16string& name = sample.names.emplace_back();
            for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) name += static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16));
        }
        if (line.back() == '\t') sample.names.push_back(u"");
        samples.push_back(std::move(sample));
    }
    return samples;
}

ByteVector ReadSample(const FontSample& sample) {
    auto bytes = ReadFileBytes(sample.path);
    if (!bytes) throw std::runtime_error(sample.path.string() + ": " + bytes.reason());
    return std::move(bytes.value());
}

}  // namespace tavrel::test
