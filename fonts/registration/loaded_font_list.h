#pragma once
// The faces offered in the face combo box and the registrations behind them.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavrel {

// A file's size and last write time when its faces were listed: a file that
// differs when a face is used has changed since.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};

// Where a listed face was read from: a file (its full path, and the member
// for a collection), or the fonts installed on the system.
struct FaceSource {
    std::wstring path;  // empty for an installed face
    std::optional<std::uint32_t> member;
    bool installed = false;
    FileStamp stamp;
};

// A file that added no face, and why (in the core's words).
struct RefusedFile {
    std::wstring path;
    std::string reason;
};

// Entry i of the three sequences belongs to item i of the face combo box. Names
// are unique under exact comparison (same length, same code units, case counts).
// A face is listed when its file is read and registered when first used; the
// faces of one file share its one registration.
struct LoadedFontList {
    std::vector<std::wstring> faceNames;
    // What AddFontMemResourceEx returned: null for an installed face, for a
    // face not used yet, and where the registration failed.
    std::vector<HANDLE> fontHandles;
    std::vector<FaceSource> faceSources;
    // Each name's hash and entry, so a library's names are checked for
    // duplicates without comparing each with every other.
    std::unordered_multimap<std::size_t, std::size_t> nameIndex;
    // Files that could not be read or used since the list was last emptied.
    std::vector<RefusedFile> refusedFiles;
    // The face combo box, kept item for item with the list; may be null.
    HWND hwndMirror = nullptr;
};

LoadedFontList& LoadedFonts();

bool IsFaceListed(std::wstring_view faceName);

// Lists the face unregistered, unless the name is listed already.
void ListFace(std::wstring_view faceName, FaceSource source);

// Keeps the file with its reason among the refused files; a file refused
// again keeps its newest reason. Running out of memory keeps nothing.
void RefuseFile(std::wstring_view path, std::string reason);

// Gives `handle` to every face listed from the file at `path` that has none yet.
void ShareRegistration(std::wstring_view path, HANDLE handle);

// Lists a face the system already has; nothing is registered.
void AddInstalledFace(std::wstring_view faceName);

// Drops entries `first` onwards, removing each registration that only they
// hold once; their combo box items go too when `emptyCombo` is set.
void UnloadFontsFrom(std::size_t first, bool emptyCombo);

// UnloadFontsFrom(0, ...): the list ends empty, and so do the refused files.
void UnloadAllFonts(bool emptyCombo);

}  // namespace tavrel
