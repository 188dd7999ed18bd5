#include "folder_reader.h"

#include <shlwapi.h>

#include <new>

#include "font_folder.h"

namespace tavrel {

namespace {

// Finished plans wait in memory, each holding its whole file: a few at most.
constexpr std::size_t kMostWaiting = 8;
constexpr std::size_t kMostWaitingBytes = 64 << 20;

std::size_t BytesOf(const FolderReader::FileResult& result) { return result ? result->image.size : 0; }

}  // namespace

bool ExplorerBefore(std::u16string_view a, std::u16string_view b) {
    const std::wstring x(a.begin(), a.end()), y(b.begin(), b.end());
    const int order = StrCmpLogicalW(x.c_str(), y.c_str());
    return order != 0 ? order < 0 : a < b;
}

FolderReader::FolderReader(std::wstring folder, HWND hwnd, UINT message)
    : hwnd_(hwnd), message_(message), thread_([this, folder = std::move(folder)] { Run(folder); }) {}

FolderReader::~FolderReader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

FolderReader::Progress FolderReader::progress() {
    const std::lock_guard lock(mutex_);
    Progress now = progress_;
    now.waiting = results_.size();
    return now;
}

std::optional<FolderReader::FileResult> FolderReader::Take() {
    std::optional<FileResult> next;
    {
        const std::lock_guard lock(mutex_);
        if (results_.empty()) return std::nullopt;
        next = std::move(results_.front());
        results_.pop_front();
        waitingBytes_ -= BytesOf(*next);
    }
    changed_.notify_all();
    return next;
}

void FolderReader::Run(const std::wstring& folder) {
    const auto stopped = [this] {
        const std::lock_guard lock(mutex_);
        return stopping_;
    };
    std::vector<FolderEntry> entries;
    try {
        entries = ListFontFolder(folder, ExplorerBefore, stopped);
    } catch (const std::bad_alloc&) {
    }
    std::erase_if(entries, [](const FolderEntry& entry) { return !entry.refusal.empty(); });
    {
        const std::lock_guard lock(mutex_);
        progress_.total = entries.size();
    }
    Post();
    for (const FolderEntry& entry : entries) {
        if (!WaitForRoom()) return;
        try {
            Hand(PlanFontFileAt(entry.path.c_str()));
        } catch (const std::bad_alloc&) {
        }
    }
    {
        const std::lock_guard lock(mutex_);
        progress_.finished = true;
    }
    Post();
}

// False once stopping.
bool FolderReader::WaitForRoom() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
        return stopping_ || (results_.size() < kMostWaiting && waitingBytes_ < kMostWaitingBytes);
    });
    return !stopping_;
}

void FolderReader::Hand(FileResult result) {
    bool wasEmpty = false;
    {
        const std::lock_guard lock(mutex_);
        wasEmpty = results_.empty();
        waitingBytes_ += BytesOf(result);
        results_.push_back(std::move(result));
    }
    if (wasEmpty) Post();
}

}  // namespace tavrel
