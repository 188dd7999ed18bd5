// POSIX mapping: open without blocking (a FIFO would otherwise wait for a
// writer), check what the path is, then map the whole file read-only.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "mapped_file.h"

namespace tavrel {

namespace {

const char* NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory, not a font file";
    if (S_ISFIFO(mode)) return "a FIFO, not a font file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a font file";
    if (!S_ISREG(mode)) return "not a regular file";
    return nullptr;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

Result<MappedFile> MappedFile::Open(const std::filesystem::path& path) {
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return Failure{errno == ENOENT || errno == ENOTDIR ? "no such file or folder" : "cannot open the file"};
    struct stat status {};
    if (fstat(fd.get(), &status) != 0) return Failure{"cannot read the file"};
    if (const char* reason = NotRegularReason(status.st_mode)) return Failure{reason};
    if (status.st_size >= INT32_MAX) return Failure{"the file is 2 GiB or larger"};
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size == 0) return MappedFile(nullptr, 0);
    void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (view == MAP_FAILED) return Failure{"cannot read the file"};
    return MappedFile(view, size);
}

void MappedFile::ReleaseReadPages() const {
    // The mapping is private and never written, so dropping a page loses nothing.
    if (view_) madvise(const_cast<void*>(view_), size_, MADV_DONTNEED);
}

void MappedFile::Release() {
    if (view_) munmap(const_cast<void*>(view_), size_);
    view_ = nullptr;
    size_ = 0;
}

}  // namespace tavrel
