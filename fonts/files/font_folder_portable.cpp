// POSIX folders: readdir's types where it knows them, stat where it does not
// or the item is a link, so that links are followed as the system follows them.

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "font_folder.h"
#include "unicode_text.h"

namespace tavrel {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

ItemKind KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return ItemKind::Folder;
    return S_ISREG(mode) ? ItemKind::File : ItemKind::Other;
}

// A link that leads nowhere stays a file: opening it says why it adds nothing.
ItemKind KindOf(DIR* dir, const dirent& entry) {
    if (entry.d_type == DT_REG) return ItemKind::File;
    if (entry.d_type != DT_DIR && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return ItemKind::Other;
    struct stat status {};
    if (fstatat(dirfd(dir), entry.d_name, &status, 0) != 0) return ItemKind::File;
    return KindOf(status.st_mode);
}

}  // namespace

Result<FolderContents> ReadFolder(const std::filesystem::path& folder) {
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return Failure{errno == ENOTDIR ? "not a folder" : "cannot read the folder"};
    struct stat self {};
    if (fstat(dirfd(dir.get()), &self) != 0) return Failure{"cannot read the folder"};
    FolderContents contents{{self.st_dev, self.st_ino}, {}};
    // readdir reports an error only through errno, which stat may have set.
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) break;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        contents.items.push_back({std::filesystem::path(name), Utf16FromUtf8(name), KindOf(dir.get(), *entry)});
    }
    if (errno != 0) return Failure{"cannot read the folder"};
    return contents;
}

bool IsFolder(const std::filesystem::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace tavrel
