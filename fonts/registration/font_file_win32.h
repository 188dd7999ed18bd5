#pragma once
// Font files read with the Win32 file API, and opening one: its faces are
// listed and registered as the core's plan for the file says.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "byte_reader.h"
#include "font_plan.h"

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

// Nothing when the file cannot be opened, is no disk file (a pipe, a device),
// is 2 GiB or larger, cannot be held in memory, or reads fewer bytes than its size.
std::optional<FontImage> ReadFontFile(const wchar_t* path);

// The reading step of ReadFontFile, for a file opened for reading whose size
// is `size`.
std::optional<FontImage> ReadOpenFile(HANDLE file, std::uint32_t size);

// Lists the faces of a .ttf, .otf, .ttc, .woff or .woff2 file and registers
// them; any other file, one that cannot be read, and one that does not fit in
// memory, adds nothing. Paths of any length open.
void OpenFontFile(const wchar_t* path);

// OpenFontFile in two steps: reading and planning, which touches nothing
// shared and may run on any thread, then listing and registering, on the
// user-interface thread.
struct PlannedFontFile {
    std::wstring fullPath;
    FontImage image;
    FontPlan plan;
};
// Nothing for a file that would add nothing; may throw std::bad_alloc.
std::optional<PlannedFontFile> PlanFontFileAt(const wchar_t* path);
// Memory running out part way takes back the faces this file had added.
void AddPlannedFontFile(const PlannedFontFile& file);
// Lists and registers face `index` of the plan alone (a collection registers
// its whole image once per face), so a caller may spread a file's faces over
// time; throws std::bad_alloc with nothing of that face left behind.
void AddPlannedFace(const PlannedFontFile& file, std::size_t index);

}  // namespace tavrel
