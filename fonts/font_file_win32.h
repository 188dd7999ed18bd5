#pragma once
// Font files read with the Win32 file API, and opening one: its faces are
// listed and registered as the core's plan for the file says.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "byte_reader.h"

namespace tavrel {

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

// A whole file in one LocalAlloc block.
struct FontImage {
    std::unique_ptr<std::uint8_t, LocalFreer> memory;
    std::uint32_t size = 0;
    Bytes bytes() const { return {memory.get(), size}; }
};

// Nothing when the file cannot be opened, is 2 GiB or larger, cannot be held
// in memory, or reads fewer bytes than its size.
std::optional<FontImage> ReadFontFile(const wchar_t* path);

// The reading step of ReadFontFile, for a file opened for reading whose size
// is `size`.
std::optional<FontImage> ReadOpenFile(HANDLE file, std::uint32_t size);

// Lists the faces of a .ttf, .otf, .ttc, .woff or .woff2 file and registers
// them; any other file, one that cannot be read, and one that does not fit in
// memory, adds nothing. Paths of any length open.
void OpenFontFile(const wchar_t* path);

}  // namespace tavrel
