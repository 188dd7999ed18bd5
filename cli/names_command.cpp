#include <algorithm>
#include <cstdio>

#include "commands.h"
#include "open_font.h"
#include "utf8.h"

namespace tavrel {

// Lists faces as the window would after opening the files one after another:
// a name already listed, by this file or an earlier one, is listed once.
int RunNamesCommand(const std::vector<std::string>& files) {
    std::vector<std::u16string> listed;
    int status = 0;
    for (const std::string& file : files) {
        auto font = OpenFont(file);
        if (!font) {
            ReportFile(file, font.reason());
            status = 1;
            continue;
        }
        std::size_t added = 0;
        for (const std::u16string& name : font->plan.faceNames) {
            if (std::find(listed.begin(), listed.end(), name) != listed.end()) continue;
            listed.push_back(name);
            std::printf("%s\n", ToUtf8(name).c_str());
            ++added;
        }
        if (added == 0) ReportFile(file, "every face it holds is listed already");
    }
    return status;
}

}  // namespace tavrel
