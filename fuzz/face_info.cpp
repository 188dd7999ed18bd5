// DescribeFace and coverage on the input as an sfnt image and at a collection's
// first ten members, held to their invariants and the info budget.
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireNoFault(tavrel::test::InfoFault({data, size}));
    return 0;
}
