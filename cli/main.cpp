// tavrel-cli: the font core of tavrel on the command line.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "commands.h"

static const char kUsage[] =
    "usage: tavrel-cli names FILE...\n"
    "\n"
    "names   Prints the face names tavrel would list after opening the files\n"
    "        one after another, one per line in UTF-8, in list order. A name\n"
    "        already listed is listed once. Files are read by extension:\n"
    "        .ttf, .otf, .ttc, .woff, .woff2 (letter case ignored).\n"
    "\n"
    "A file that adds nothing is reported on standard error as\n"
    "'tavrel-cli: FILE: REASON'. The exit status is 1 when any file was\n"
    "refused or could not be read, 2 for a usage error, 0 otherwise.\n";

int main(int argc, char** argv) {
#ifdef _WIN32
    // Names are written as UTF-8 bytes, with no newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::vector<std::string> rest(argv + (argc > 2 ? 2 : argc), argv + argc);
    if (argc >= 3 && !std::strcmp(argv[1], "names")) return tavrel::RunNamesCommand(rest);
    std::fputs(kUsage, stderr);
    return 2;
}
