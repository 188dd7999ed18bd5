// .ttf and .otf files share one loader: this target stands for both.
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireSoundLoad(tavrel::FontLoader::Sfnt, {data, size});
    return 0;
}
