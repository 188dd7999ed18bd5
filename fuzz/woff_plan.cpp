// .woff files.
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireSoundLoad(tavrel::FontLoader::Woff, {data, size});
    return 0;
}
