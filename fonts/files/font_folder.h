#pragma once
// The font files of a folder and of its subfolders, in the order a person
// sees them listed, for the window and the command line alike.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "result.h"

namespace tavrel {

enum class ItemKind { File, Folder, Other };

struct FolderItem {
    std::filesystem::path name;
    std::u16string text;  // the name as UTF-16, for ordering and the extension
    ItemKind kind = ItemKind::File;
};

struct FolderContents {
    // The folder itself, whichever link led to it: its volume and its number there.
    std::pair<std::uint64_t, std::uint64_t> identity;
    std::vector<FolderItem> items;  // without "." and ".."
};

// The items of one folder, links followed; fails, saying why, when it cannot be read.
Result<FolderContents> ReadFolder(const std::filesystem::path& folder);

// Whether the path names a folder, or a link to one.
bool IsFolder(const std::filesystem::path& path);

// A file to read, or a folder or file left out and why (`refusal` not empty).
struct FolderEntry {
    std::filesystem::path path;
    std::string refusal;
};

using NameOrder = bool (*)(std::u16string_view, std::u16string_view);

// Every file under `folder` whose extension a loader reads, depth first, the
// items of each folder (files and subfolders together) in the order `before`
// gives. A folder that cannot be read, one reached again through a link (a
// loop), and an item with a font's extension that is no regular file are
// listed with the reason. Stops, keeping what it has, once `stopped` says so.
std::vector<FolderEntry> ListFontFolder(const std::filesystem::path& folder, NameOrder before,
                                        const std::function<bool()>& stopped = {});

}  // namespace tavrel
