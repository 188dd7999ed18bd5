#include "font_folder.h"

#include <algorithm>
#include <set>

#include "loader_choice.h"

namespace tavrel {

namespace {

// A folder being listed: its path, its sorted items and the next to take.
struct OpenFolder {
    std::filesystem::path path;
    std::vector<FolderItem> items;
    std::size_t next = 0;
};

class FolderWalk {
public:
    FolderWalk(NameOrder before, const std::function<bool()>& stopped) : before_(before), stopped_(stopped) {}

    std::vector<FolderEntry> Run(const std::filesystem::path& folder) {
        Enter(folder);
        while (!open_.empty() && !(stopped_ && stopped_())) {
            OpenFolder& top = open_.back();
            if (top.next == top.items.size()) {
                open_.pop_back();
                continue;
            }
            const FolderItem& item = top.items[top.next++];
            std::filesystem::path path = top.path / item.name;
            if (item.kind == ItemKind::Folder) Enter(std::move(path));
            else if (ChooseLoader(item.text) != FontLoader::None)
                entries_.push_back({std::move(path), item.kind == ItemKind::File ? "" : "not a regular file"});
        }
        return std::move(entries_);
    }

private:
    void Enter(std::filesystem::path folder) {
        auto contents = ReadFolder(folder);
        if (!contents) return entries_.push_back({std::move(folder), contents.reason()});
        if (!seen_.insert(contents->identity).second)
            return entries_.push_back({std::move(folder), "a folder listed already: a link leads back to it"});
        std::sort(contents->items.begin(), contents->items.end(),
                  [this](const FolderItem& a, const FolderItem& b) { return before_(a.text, b.text); });
        open_.push_back({std::move(folder), std::move(contents->items)});
    }

    NameOrder before_;
    const std::function<bool()>& stopped_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen_;
    std::vector<OpenFolder> open_;
    std::vector<FolderEntry> entries_;
};

}  // namespace

std::vector<FolderEntry> ListFontFolder(const std::filesystem::path& folder, NameOrder before,
                                        const std::function<bool()>& stopped) {
    return FolderWalk(before, stopped).Run(folder);
}

}  // namespace tavrel
