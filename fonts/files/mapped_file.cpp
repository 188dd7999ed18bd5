#include "mapped_file.h"

#include <utility>

namespace tavrel {

MappedFile::MappedFile(MappedFile&& other) noexcept
    : view_(std::exchange(other.view_, nullptr)), size_(std::exchange(other.size_, 0)),
      file_(std::exchange(other.file_, nullptr)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Release();
        view_ = std::exchange(other.view_, nullptr);
        size_ = std::exchange(other.size_, 0);
        file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
}

MappedFile::~MappedFile() { Release(); }

}  // namespace tavrel
