// DescribeFace on the input as an sfnt image, and for a collection at each of
// its first ten members' offsets, with the coverage of every set and of a
// text: code points ascending, unique and Unicode scalars, no set or text
// covered beyond its total, and the heap within the info budget.
#include "collection.h"
#include "fuzz_check.h"
#include "sfnt_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tavrel::Bytes image(data, size);
    const std::u16string_view text = u"Aa\u3042\U0001F600\xDC00\r\n";
    tavrel::fuzz::RequireNoFault(tavrel::test::InfoFault(image, 0, text));
    if (!tavrel::IsCollection(image)) return 0;
    std::uint32_t members = 0;
    tavrel::ReadU32BE(image, 8, members);
    for (std::uint32_t i = 0; i < members && i < tavrel::kMaxCollectionMembers; ++i) {
        std::uint32_t offset = 0;
        if (!tavrel::ReadU32BE(image, 12 + 4 * std::uint64_t{i}, offset)) break;
        tavrel::fuzz::RequireNoFault(tavrel::test::InfoFault(image, offset, text));
    }
    return 0;
}
