// One file's bytes through the loader TAVREL_FUZZ_LOADER names, as the window
// would load it, held to the registration rules and the heap budget: .ttf and
// .otf files share one loader (sfnt_plan), then .ttc, .woff and .woff2 files.
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireNoFault(tavrel::test::LoadAndCheck(tavrel::FontLoader::TAVREL_FUZZ_LOADER, {data, size}).fault);
    return 0;
}
