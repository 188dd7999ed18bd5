#pragma once
// A folder's font files read on a thread of their own: listed in Explorer's
// order, then read and planned one after another. The reader runs at most a
// few files ahead of the user-interface thread, which takes the results one
// at a time; it never touches the list, the controls or GDI.

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "font_file_win32.h"

namespace tavrel {

// Explorer's order (StrCmpLogicalW), and names it finds equal in code unit order.
bool ExplorerBefore(std::u16string_view a, std::u16string_view b);

class FolderReader {
public:
    // Starts reading at once. Posts `message` to `hwnd` when the files are
    // counted, when a result lands where none was waiting, and at the end.
    FolderReader(std::wstring folder, HWND hwnd, UINT message);
    // Stops at the next file (or folder, while listing) and waits for the thread.
    ~FolderReader();

    struct Progress {
        std::optional<std::size_t> total;  // the files to read, once listed
        std::size_t waiting = 0;           // results not yet taken
        bool finished = false;             // every file read
    };
    Progress progress();

    // The next file's result: its plan, or nothing for a file that adds nothing.
    using FileResult = std::optional<PlannedFontFile>;
    std::optional<FileResult> Take();

private:
    void Run(const std::wstring& folder);
    bool WaitForRoom();
    void Hand(FileResult result);
    void Post() const { PostMessageW(hwnd_, message_, 0, 0); }

    HWND hwnd_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FileResult> results_;
    std::size_t waitingBytes_ = 0;
    Progress progress_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace tavrel
