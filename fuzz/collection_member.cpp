// ExtractCollectionMember, measuring and writing, on members 0 to 10 and past
// any possible end: a member measured is written at exactly that size into a
// buffer of exactly that size, is a faithful standalone image, and never
// needs more than the collection can justify; a buffer one byte short is
// refused untouched.
#include <vector>

#include "collection.h"
#include "fuzz_check.h"

namespace {

using tavrel::fuzz::Require;

void CheckMember(tavrel::Bytes collection, std::uint32_t index) {
    const std::uint32_t size = tavrel::ExtractCollectionMember(collection, index, true, {});
    const std::string which = "member " + std::to_string(index);
    if (size == 0) {
        std::vector<std::uint8_t> out(64, 0xA5);
        Require(tavrel::ExtractCollectionMember(collection, index, false, out) == 0, which + " absent, yet written");
        Require(out == std::vector<std::uint8_t>(64, 0xA5), which + " absent, yet its output changed");
        return;
    }
    // The member's tables hold at most the collection's bytes, plus its
    // offset table and up to 19 bytes of record and fill per table, each
    // record taking 16 bytes of the collection.
    const std::uint64_t justified = 12 + collection.size() + 19 * (collection.size() / 16);
    Require(size <= justified, which + " larger than the collection justifies");
    std::vector<std::uint8_t> shortOut(size - 1, 0xA5);
    Require(tavrel::ExtractCollectionMember(collection, index, false, shortOut) == 0, which + " written short");
    Require(shortOut == std::vector<std::uint8_t>(size - 1, 0xA5), which + " refused, yet its output changed");
    std::vector<std::uint8_t> out(size);
    Require(tavrel::ExtractCollectionMember(collection, index, false, out) == size, which + " measured and written apart");
    tavrel::fuzz::RequireNoFault(tavrel::test::ExtractedMemberFault(collection, index, out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tavrel::Bytes collection(data, size);
    for (std::uint32_t index = 0; index <= 10; ++index) CheckMember(collection, index);
    CheckMember(collection, 0xFFFFFFFF);
    return 0;
}
