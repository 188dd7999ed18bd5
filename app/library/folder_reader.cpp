#include "folder_reader.h"

#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>
#include <vector>

#include "font_folder.h"

namespace tavrel {

namespace {

// A result holds a file's names only; the window takes them in batches of
// whatever waits, so the reader may run well ahead.
constexpr std::size_t kMostWaiting = 1024;

FolderReader::FileResult Refused(const std::wstring& path, std::string reason) {
    return {std::nullopt, RefusedFile{path, std::move(reason)}};
}

// Memory running out refuses the file alone.
FolderReader::FileResult ListFile(const std::wstring& path) {
    try {
        auto listed = ListFontFileAt(path.c_str());
        if (!listed) return Refused(path, listed.reason());
        return {std::move(listed.value()), {}};
    } catch (const std::bad_alloc&) {
        return Refused(path, kOutOfMemory);
    }
}

}  // namespace

bool ExplorerBefore(std::u16string_view a, std::u16string_view b) {
    return ExplorerBefore(std::wstring(a.begin(), a.end()), std::wstring(b.begin(), b.end()));
}

bool ExplorerBefore(std::wstring_view a, std::wstring_view b) { return ExplorerBefore(std::wstring(a), std::wstring(b)); }

bool ExplorerBefore(const std::wstring& a, const std::wstring& b) {
    const int order = StrCmpLogicalW(a.c_str(), b.c_str());
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
        ++taken_;
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
    {
        const std::lock_guard lock(mutex_);
        progress_.total = entries.size();
    }
    Post();
    try {
        NameInOrder(entries);
    } catch (const std::bad_alloc&) {
    }
    {
        const std::lock_guard lock(mutex_);
        progress_.finished = true;
    }
    Post();
}

// Files are named on up to four cores, each thread taking the next file; the
// results are handed on in the folder's order as the files before them are
// done. Memory running out drops that file's result and what follows it.
void FolderReader::NameInOrder(const std::vector<FolderEntry>& entries) {
    std::vector<std::optional<FileResult>> named(entries.size());
    std::atomic<std::size_t> next = 0;
    const auto work = [&] {
        try {
            for (std::size_t i; (i = next++) < entries.size() && WaitForRoom(i);) {
                const FolderEntry& entry = entries[i];
                HandInOrder(named, i,
                            entry.refusal.empty() ? ListFile(entry.path.wstring()) : Refused(entry.path.wstring(), entry.refusal));
            }
        } catch (const std::bad_alloc&) {
        }
    };
    std::vector<std::jthread> helpers;
    const unsigned namers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    try {
        while (helpers.size() + 1 < namers) helpers.emplace_back(work);
    } catch (const std::exception&) {
    }
    work();
}

// False once stopping.
bool FolderReader::WaitForRoom(std::size_t index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || index < taken_ + kMostWaiting; });
    return !stopping_;
}

void FolderReader::HandInOrder(std::vector<std::optional<FileResult>>& named, std::size_t index, FileResult result) {
    bool landedInEmpty = false;
    {
        const std::lock_guard lock(mutex_);
        named[index] = std::move(result);
        const bool wasEmpty = results_.empty();
        for (; handed_ < named.size() && named[handed_]; ++handed_) {
            results_.push_back(std::move(*named[handed_]));
            named[handed_].reset();
        }
        // One message for what lands within a gap, which the window takes at its
        // next look (kLookEvery): a message a file would wake it once a file.
        const auto now = std::chrono::steady_clock::now();
        landedInEmpty = wasEmpty && !results_.empty() && now - lastPost_ >= kLookEvery;
        if (landedInEmpty) lastPost_ = now;
    }
    if (landedInEmpty) Post();
}

}  // namespace tavrel
