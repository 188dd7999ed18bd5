#include "hostile_support.h"

#include <cstdio>

namespace tavrel::test {

std::filesystem::path FontSamplesManifest() { return TAVREL_FONT_SAMPLES_TSV; }

std::string Printable(const std::vector<std::u16string>& names) {
    std::string line;
    for (const std::u16string& name : names) {
        line += line.empty() ? "[" : " [";
        for (char16_t unit : name) {
            if (unit >= 0x20 && unit < 0x7F) {
                line += static_cast<char>(unit);
            } else {
                char code[12];
                std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(unit));
                line += code;
            }
        }
        line += "]";
    }
    return line.empty() ? "nothing added" : line;
}

}  // namespace tavrel::test
