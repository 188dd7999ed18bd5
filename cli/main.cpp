// tavrel-cli: the font core of tavrel on the command line.

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "commands.h"

static const char kUsage[] =
    "usage: tavrel-cli names FILE...\n"
    "       tavrel-cli decode IN OUT [--member N]\n"
    "\n"
    "names   Prints the face names tavrel would list after opening the files\n"
    "        one after another, one per line in UTF-8, in list order. A name\n"
    "        already listed is listed once. Files are read by extension:\n"
    "        .ttf, .otf, .ttc, .woff, .woff2 (letter case ignored).\n"
    "decode  Writes to OUT the font image tavrel would register for IN: the\n"
    "        decoded font for .woff and .woff2, the file itself otherwise.\n"
    "        With --member N, when that image is a collection, writes its\n"
    "        member N (counted from 0) as a standalone font instead.\n"
    "\n"
    "A file that adds nothing is reported on standard error as\n"
    "'tavrel-cli: FILE: REASON'. The exit status is 1 when any file was\n"
    "refused or could not be read or written, 2 for a usage error, 0 otherwise.\n";

namespace {

int UsageError() {
    std::fputs(kUsage, stderr);
    return 2;
}

// A member index: decimal digits only, at most nine of them.
std::optional<std::uint32_t> ParseIndex(const char* text) {
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 9 || std::strspn(text, "0123456789") != length) return std::nullopt;
    return static_cast<std::uint32_t>(std::stoul(text));
}

int RunDecode(const std::vector<std::string>& args) {
    if (args.size() == 2) return tavrel::RunDecodeCommand(args[0], args[1], std::nullopt);
    if (args.size() == 4 && args[2] == "--member") {
        if (auto member = ParseIndex(args[3].c_str())) return tavrel::RunDecodeCommand(args[0], args[1], member);
    }
    return UsageError();
}

}  // namespace

namespace tavrel {

void ReportFile(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "tavrel-cli: %s: %s\n", file.c_str(), reason.c_str());
}

}  // namespace tavrel

int main(int argc, char** argv) {
#ifdef _WIN32
    // Names are written as UTF-8 bytes, with no newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 3) return UsageError();
    const std::string command = argv[1];
    const std::vector<std::string> rest(argv + 2, argv + argc);
    if (command == "names") return tavrel::RunNamesCommand(rest);
    if (command == "decode") return RunDecode(rest);
    return UsageError();
}
