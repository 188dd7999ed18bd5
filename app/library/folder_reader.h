#pragma once
// A folder's font files read on a thread of their own: listed in Explorer's
// order, then their faces named from read-only mappings on a few threads,
// nothing of a file kept but its names. The user-interface thread
// takes the results in batches; the reader never touches the list, the
// controls or GDI.

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "font_file_win32.h"
#include "font_folder.h"
#include "loaded_font_list.h"

namespace tavrel {

// Explorer's order (StrCmpLogicalW), and names it finds equal in code unit order.
bool ExplorerBefore(std::u16string_view a, std::u16string_view b);
bool ExplorerBefore(std::wstring_view a, std::wstring_view b);
bool ExplorerBefore(const std::wstring& a, const std::wstring& b);  // without copying either

// How often the window looks for results while a folder is read, without
// being told of each.
constexpr std::chrono::milliseconds kLookEvery{10};

class FolderReader {
public:
    // Starts reading at once. Posts `message` to `hwnd` when the files are
    // counted, when a result lands where none was waiting (at most once every
    // kLookEvery), and at the end.
    FolderReader(std::wstring folder, HWND hwnd, UINT message);
    // Stops at the next file (or folder, while listing) and waits for the thread.
    ~FolderReader();

    struct Progress {
        std::optional<std::size_t> total;  // the files to read, once listed
        std::size_t waiting = 0;           // results not yet taken
        bool finished = false;             // every file read
    };
    Progress progress();

    // The next file's result: its faces, or why it adds none.
    struct FileResult {
        std::optional<ListedFontFile> listed;
        RefusedFile refused;  // when nothing is listed
    };
    std::optional<FileResult> Take();

private:
    void Run(const std::wstring& folder);
    void NameInOrder(const std::vector<FolderEntry>& entries);
    bool WaitForRoom(std::size_t index);
    void HandInOrder(std::vector<std::optional<FileResult>>& named, std::size_t index, FileResult result);
    void Post() const { PostMessageW(hwnd_, message_, 0, 0); }

    HWND hwnd_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FileResult> results_;
    std::size_t taken_ = 0;   // results taken so far
    std::size_t handed_ = 0;  // files whose results have been handed on
    std::chrono::steady_clock::time_point lastPost_;
    Progress progress_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace tavrel
