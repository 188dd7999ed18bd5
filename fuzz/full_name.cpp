// ReadFullName on the input as an sfnt image, and PickFullName on the input
// as a bare 'name' table: a name is at most 259 units with no NUL, and a
// refused image leaves the caller's buffer alone.
#include "full_name.h"
#include "fuzz_check.h"

namespace {

using tavrel::fuzz::Require;

void RequireFaceName(const std::u16string& name) {
    Require(name.size() <= tavrel::kMaxFaceNameUnits, "a name of " + std::to_string(name.size()) + " units");
    Require(name.find(u'\0') == std::u16string::npos, "a name holding NUL");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tavrel::Bytes image(data, size);
    const std::u16string untouched = u"untouched";
    std::u16string name = untouched;
    if (tavrel::ReadFullName(name, image, 0)) {
        if (name != untouched) RequireFaceName(name);
    } else {
        Require(name == untouched, "a refused image changed the name");
    }
    tavrel::PickFullName(name, image);
    RequireFaceName(name);
    return 0;
}
