#pragma once
// The files a command reads: its arguments, each folder among them replaced by
// the font files under it in Explorer's order; and reading them on every core
// while the results are printed in that order.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tavrel {

struct FileToRead {
    std::filesystem::path path;
    std::string text;     // the path as printed, UTF-8
    std::string refusal;  // set when the listing already knows it adds nothing
};

// A folder that holds no font file, or cannot be read, is one refused entry.
std::vector<FileToRead> ListFilesToRead(const std::vector<std::string>& arguments);

struct FileOutcome {
    std::string refusal;              // why the file adds nothing; empty when it was read
    std::vector<std::string> items;   // what the command prints for it, in order
    std::vector<std::u16string> faceNames;  // for `names`, which lists each name once
};

inline FileOutcome Refused(std::string reason) {
    FileOutcome outcome;
    outcome.refusal = std::move(reason);
    return outcome;
}

// Reads every file with `read` on all cores and hands each outcome to `take`
// in the files' order (an entry refused by the listing without reading it);
// a few outcomes per core at most wait for an earlier file. Returns 1 when any
// file was refused, after reporting it, else 0.
int ReadInPathOrder(const std::vector<FileToRead>& files, const std::function<FileOutcome(const FileToRead&)>& read,
                    const std::function<void(const FileToRead&, FileOutcome&)>& take);

}  // namespace tavrel
