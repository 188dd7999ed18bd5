#include <cstdio>
#include <unordered_set>

#include "commands.h"
#include "files_in_order.h"
#include "open_font.h"
#include "utf8.h"

namespace tavrel {

// Lists faces as the window would after opening the files one after another:
// a name already listed, by this file or an earlier one, is listed once.
int RunNamesCommand(const std::vector<std::string>& arguments) {
    std::unordered_set<std::u16string> listed;
    const auto read = [](const FileToRead& file) {
        auto font = OpenFont(file.path);
        if (!font) return Refused(font.reason());
        FileOutcome outcome;
        outcome.faceNames = std::move(font->plan.faceNames);
        return outcome;
    };
    const auto print = [&listed](const FileToRead& file, FileOutcome& outcome) {
        if (!outcome.refusal.empty()) return;
        std::size_t added = 0;
        for (std::u16string& name : outcome.faceNames) {
            const std::string text = ToUtf8(name);
            if (!listed.insert(std::move(name)).second) continue;
            std::printf("%s\n", text.c_str());
            ++added;
        }
        if (added == 0) ReportFile(file.text, "every face it holds is listed already");
    };
    return ReadInPathOrder(ListFilesToRead(arguments), read, print);
}

}  // namespace tavrel
