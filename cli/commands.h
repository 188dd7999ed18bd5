#pragma once

#include <string>
#include <vector>

namespace tavrel {

// Each returns the process exit status.
int RunNamesCommand(const std::vector<std::string>& files);

// "tavrel-cli: FILE: REASON" on standard error.
void ReportFile(const std::string& file, const std::string& reason);

}  // namespace tavrel
