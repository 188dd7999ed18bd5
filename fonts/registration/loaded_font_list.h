#pragma once
// The faces offered in the face combo box and the registrations behind them.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"

namespace tavrel {

// Where a listed face was read from: a file (its full path, and the member
// for a collection), or the fonts installed on the system.
struct FaceSource {
    std::wstring path;  // empty for an installed face
    std::optional<std::uint32_t> member;
    bool installed = false;
};

// Entry i of the three sequences belongs to item i of the face combo box. Names
// are unique under exact comparison (same length, same code units, case counts).
struct LoadedFontList {
    std::vector<std::wstring> faceNames;
    // What AddFontMemResourceEx returned: null for an installed face, and
    // where the registration failed.
    std::vector<HANDLE> fontHandles;
    std::vector<FaceSource> faceSources;
    // The face combo box, kept item for item with the list; may be null.
    HWND hwndMirror = nullptr;
};

LoadedFontList& LoadedFonts();

bool IsFaceListed(std::wstring_view faceName);

// Lists the face and registers `image` privately for the process, unless the
// name is listed already. A failed registration still lists the face.
void AddLoadedFont(std::wstring_view faceName, Bytes image, FaceSource source);

// Lists a face the system already has; nothing is registered.
void AddInstalledFace(std::wstring_view faceName);

// Removes the registrations of entries `first` onwards once and drops those
// entries; their combo box items go too when `emptyCombo` is set.
void UnloadFontsFrom(std::size_t first, bool emptyCombo);

// UnloadFontsFrom(0, ...): the list ends empty.
void UnloadAllFonts(bool emptyCombo);

}  // namespace tavrel
