// Win32 mapping: the path's attributes and the handle's type are checked
// before anything is read, so a directory, a pipe or a device is refused;
// a path of any length opens.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "long_path_win32.h"
#include "mapped_file.h"

namespace tavrel {

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

const char* NotDiskFileReason(DWORD type) {
    if (type == FILE_TYPE_PIPE) return "a FIFO, not a font file";
    if (type == FILE_TYPE_CHAR) return "a device, not a font file";
    if (type != FILE_TYPE_DISK) return "not a regular file";
    return nullptr;
}

}  // namespace

Result<MappedFile> MappedFile::Open(const std::filesystem::path& path) {
    const std::wstring openable = OpenablePath(path.c_str());
    const DWORD attributes = GetFileAttributesW(openable.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure{"a directory, not a font file"};
    Handle file(CreateFileW(openable.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return Failure{missing ? "no such file or folder" : "cannot open the file"};
    }
    if (const char* reason = NotDiskFileReason(GetFileType(file.get()))) return Failure{reason};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return Failure{"cannot read the file"};
    if (size.QuadPart >= INT32_MAX) return Failure{"the file is 2 GiB or larger"};
    if (size.QuadPart == 0) return MappedFile(nullptr, 0);
    const Handle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.valid()) return Failure{"cannot read the file"};
    const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    if (!view) return Failure{"cannot read the file"};
    return MappedFile(view, static_cast<std::size_t>(size.QuadPart), file.release());
}

void MappedFile::ReleaseReadPages() const {
    // Unlocking pages that were never locked takes them out of the working set.
    if (view_) VirtualUnlock(const_cast<void*>(view_), size_);
}

void MappedFile::Release() {
    if (view_) UnmapViewOfFile(view_);
    if (file_) CloseHandle(file_);
    view_ = nullptr;
    file_ = nullptr;
    size_ = 0;
}

}  // namespace tavrel
