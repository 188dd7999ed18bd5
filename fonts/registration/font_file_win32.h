#pragma once
// Font files read with the Win32 file API, and opening one: its faces are
// listed as the core's plan for the file says.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "font_plan.h"
#include "loaded_font_list.h"
#include "result.h"

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

// Lists the faces of a .ttf, .otf, .ttc, .woff or .woff2 file; any other
// file, one that cannot be read, and one that does not fit in memory, adds
// nothing but the file and its reason among the refused files. The first face to reach an empty list is registered from the bytes
// in hand, since it is shown at once; the others when first used. Paths of
// any length open.
void OpenFontFile(const wchar_t* path);

// A file read and planned whole, as OpenFontFile reads it. Fails saying why
// for a file that would add nothing; may throw std::bad_alloc.
struct PlannedFontFile {
    std::wstring fullPath;
    FontImage image;
    FontPlan plan;
};
Result<PlannedFontFile> PlanFontFileAt(const wchar_t* path);

// The path made absolute, so the file can be found again after the current
// folder has changed (the file dialog changes it).
std::wstring FullPath(const wchar_t* path);

// Nothing when the file's attributes cannot be read.
std::optional<FileStamp> StampOf(const wchar_t* path);

// What the list keeps of a file: its faces' names and members, and its stamp.
struct ListedFontFile {
    std::wstring fullPath;
    FileStamp stamp;
    std::vector<std::u16string> faceNames;
    std::vector<std::uint32_t> faceMembers;  // empty outside a collection
};

// A file's faces read from a read-only mapping, nothing of it kept: only the
// pages naming touches are read. Touches nothing shared and may run on any
// thread; fails saying why; may throw std::bad_alloc.
Result<ListedFontFile> ListFontFileAt(const wchar_t* path);

// Lists the file's faces, unregistered; memory running out part way takes
// back the faces this file had added.
void AddListedFontFile(const ListedFontFile& file);

}  // namespace tavrel
