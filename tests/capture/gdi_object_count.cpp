#include "gdi_object_count.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace tavrel::test {

// Windows answers GetGuiResources. Wine 8 leaves it a stub that returns 0, so
// there the count comes from its GDI handle table, which is private to the
// process and keeps the Windows layout: the 64-bit process environment block
// points at it from offset 0xF8; it has 0x10000 slots of 24 bytes (kernel
// object 8, process id, count and unique 2 each, type and flags 1 each, user
// object 8), and a slot in use has a non-zero type.
long CountGdiObjects() {
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return long(reported);
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + 0xF8);
    if (!table) return -1;
    long live = 0;
    for (std::size_t slot = 0; slot < 0x10000; ++slot) live += table[24 * slot + 14] != 0;
    return live;
}

}  // namespace tavrel::test
