#include "gdi_object_count.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace tavrel::test {
namespace {

// One slot of the GDI handle table that the process environment block points
// at; the layout is the same on 64-bit Windows and in Wine, where a slot in
// use has a non-zero type.
struct GdiHandleEntry {
    std::uint64_t kernelObject;
    std::uint16_t processId;
    std::uint16_t count;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userObject;
};
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kGdiSharedHandleTableOffset = 0xF8;  // in the 64-bit PEB
constexpr int kGdiHandleCount = 0x10000;

long CountHandleTableEntries() {
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kGdiSharedHandleTableOffset);
    if (!table) return -1;
    long live = 0;
    for (int i = 0; i < kGdiHandleCount; ++i)
        if (table[i].type != 0) ++live;
    return live;
}

}  // namespace

// Windows answers GetGuiResources. Wine 8 leaves it a stub that returns 0, so
// there the count comes from its GDI handle table, which is private to the
// process and keeps the Windows layout.
long CountGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return reported != 0 ? long(reported) : CountHandleTableEntries();
}

}  // namespace tavrel::test
