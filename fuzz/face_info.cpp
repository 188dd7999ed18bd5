// DescribeFace on the input as an sfnt image and at each of a collection's
// first ten members, with the coverage of every set and of a text: code points
// ascending, unique and Unicode scalars, no set or text covered beyond its
// total, and the heap within the info budget.
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tavrel::fuzz::RequireNoFault(tavrel::test::InfoFault({data, size}));
    return 0;
}
