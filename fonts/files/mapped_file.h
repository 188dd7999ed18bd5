#pragma once
// A font file mapped read-only, for the command-line companion and the
// window's details dialog: only the pages the readers touch are read from
// disk, and nothing is copied. On Windows the file stays open, sharing no
// writes, while it is mapped: no program can change the bytes under readers
// that check a table once and trust it after (HarfBuzz). The window registers
// faces from files read whole through the Win32 API.

#include <cstddef>
#include <filesystem>

#include "byte_reader.h"
#include "result.h"

namespace tavrel {

class MappedFile {
public:
    // Refuses, saying why, a path that is not a regular file (a directory, a
    // FIFO, a device) before reading anything, and a file of 2 GiB or more,
    // as the window refuses it. An empty file maps as no bytes.
    static Result<MappedFile> Open(const std::filesystem::path& path);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    Bytes bytes() const { return {static_cast<const std::uint8_t*>(view_), size_}; }

    // Lets the system take back the pages read so far; the bytes stay the
    // same and are read again from the file when next touched. Called between
    // faces, it keeps the memory held to the tables of one face at a time.
    void ReleaseReadPages() const;

private:
    MappedFile(const void* view, std::size_t size, void* file = nullptr) : view_(view), size_(size), file_(file) {}
    void Release();

    const void* view_ = nullptr;
    std::size_t size_ = 0;
    void* file_ = nullptr;  // the Windows file handle, held while mapped
};

}  // namespace tavrel
