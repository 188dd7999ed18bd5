#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "file_bytes.h"
#include "font_plan.h"
#include "utf8.h"

namespace tavrel {

void ReportFile(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "tavrel-cli: %s: %s\n", file.c_str(), reason.c_str());
}

// Lists faces as the window would after opening the files one after another:
// a name already listed, by this file or an earlier one, is listed once.
int RunNamesCommand(const std::vector<std::string>& files) {
    std::vector<std::u16string> listed;
    int status = 0;
    for (const std::string& file : files) {
        const std::filesystem::path path(file);
        const FontLoader loader = ChooseLoader(path.u16string());
        if (loader == FontLoader::None) {
            ReportFile(file, "not a font file extension");
            status = 1;
            continue;
        }
        auto bytes = ReadFileBytes(path);
        auto plan = bytes ? PlanFontFile(loader, bytes.value()) : Result<FontPlan>(Failure{bytes.reason()});
        if (!plan) {
            ReportFile(file, plan.reason());
            status = 1;
            continue;
        }
        std::size_t added = 0;
        for (const std::u16string& name : plan->faceNames) {
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
