#include "files_in_order.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <thread>

#include "commands.h"
#include "font_folder.h"
#include "logical_order.h"
#include "utf8.h"

namespace tavrel {

std::vector<FileToRead> ListFilesToRead(const std::vector<std::string>& arguments) {
    std::vector<FileToRead> files;
    for (const std::string& argument : arguments) {
        const std::filesystem::path path = PathFromUtf8(argument);
        if (!IsFolder(path)) {
            files.push_back({path, argument, {}});
            continue;
        }
        auto entries = ListFontFolder(path, LogicallyBefore);
        if (entries.empty()) files.push_back({path, argument, "the folder holds no font files"});
        for (FolderEntry& entry : entries)
            files.push_back({entry.path, PathText(entry.path), std::move(entry.refusal)});
    }
    return files;
}

namespace {

FileOutcome ReadOne(const FileToRead& file, const std::function<FileOutcome(const FileToRead&)>& read) {
    if (!file.refusal.empty()) return Refused(file.refusal);
    try {
        return read(file);
    } catch (const std::bad_alloc&) {
        return Refused(kOutOfMemory);
    }
}

// Workers take files in order, but never more than `kAhead` per worker past
// the first one not yet handed on, so a slow file holds back little memory.
class OrderedReading {
public:
    OrderedReading(const std::vector<FileToRead>& files, const std::function<FileOutcome(const FileToRead&)>& read)
        : files_(files), read_(read) {}

    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return next_ >= files_.size() || next_ < handedOn_ + window_; });
            if (next_ >= files_.size()) return;
            const std::size_t index = next_++;
            lock.unlock();
            FileOutcome outcome = ReadOne(files_[index], read_);
            lock.lock();
            done_.emplace(index, std::move(outcome));
            changed_.notify_all();
        }
    }

    // The outcome of file `index`, once it is there.
    FileOutcome Take(std::size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_.contains(index); });
        FileOutcome outcome = std::move(done_.extract(index).mapped());
        handedOn_ = index + 1;
        changed_.notify_all();
        return outcome;
    }

    void SetWorkers(std::size_t workers) { window_ = kAhead * workers; }

private:
    static constexpr std::size_t kAhead = 8;
    const std::vector<FileToRead>& files_;
    const std::function<FileOutcome(const FileToRead&)>& read_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::size_t, FileOutcome> done_;
    std::size_t next_ = 0, handedOn_ = 0, window_ = kAhead;
};

}  // namespace

int ReadInPathOrder(const std::vector<FileToRead>& files, const std::function<FileOutcome(const FileToRead&)>& read,
                    const std::function<void(const FileToRead&, FileOutcome&)>& take) {
    OrderedReading reading(files, read);
    const std::size_t workers = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), files.size());
    reading.SetWorkers(workers);
    std::vector<std::jthread> pool;
    for (std::size_t i = 0; files.size() > 1 && i < workers; ++i) pool.emplace_back([&reading] { reading.Work(); });
    int status = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileOutcome outcome = pool.empty() ? ReadOne(files[i], read) : reading.Take(i);
        if (!outcome.refusal.empty()) {
            ReportFile(files[i].text, outcome.refusal);
            status = 1;
        }
        take(files[i], outcome);
    }
    return status;
}

}  // namespace tavrel
