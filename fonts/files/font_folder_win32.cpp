// Win32 folders: FindFirstFileExW through the extended-length form of a long
// path, and the folder's volume and file index, read through a handle on it,
// as its identity (the same whichever link or junction led to it).

#include <windows.h>

#include <memory>

#include "font_folder.h"
#include "long_path_win32.h"

namespace tavrel {

namespace {

struct FindCloser {
    void operator()(HANDLE find) const { FindClose(find); }
};
struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

Result<std::pair<std::uint64_t, std::uint64_t>> FolderIdentity(const std::filesystem::path& folder) {
    const HANDLE opened = CreateFileW(OpenablePath(folder.c_str()).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return Failure{"cannot read the folder"};
    const std::unique_ptr<void, HandleCloser> handle(opened);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info)) return Failure{"cannot read the folder"};
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Failure{"not a folder"};
    return std::pair<std::uint64_t, std::uint64_t>{info.dwVolumeSerialNumber,
                                                   std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

ItemKind KindOf(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ItemKind::Folder;
    return attributes & FILE_ATTRIBUTE_DEVICE ? ItemKind::Other : ItemKind::File;
}

}  // namespace

Result<FolderContents> ReadFolder(const std::filesystem::path& folder) {
    auto identity = FolderIdentity(folder);
    if (!identity) return Failure{identity.reason()};
    FolderContents contents{identity.value(), {}};
    WIN32_FIND_DATAW found{};
    const HANDLE first = FindFirstFileExW(OpenablePath((folder / L"*").c_str()).c_str(), FindExInfoBasic, &found,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    // A drive's root holds no "." or "..", so nothing at all matches in an empty one.
    if (first == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? Result<FolderContents>(std::move(contents))
                                                      : Failure{"cannot read the folder"};
    const std::unique_ptr<void, FindCloser> find(first);
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        contents.items.push_back({std::filesystem::path(name), std::u16string(name.begin(), name.end()),
                                  KindOf(found.dwFileAttributes)});
    } while (FindNextFileW(first, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) return Failure{"cannot read the folder"};
    return contents;
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(OpenablePath(path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tavrel
