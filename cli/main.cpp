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
    "usage: tavrel-cli names PATH...\n"
    "       tavrel-cli decode IN OUT [--member N]\n"
    "       tavrel-cli info PATH [--member N] [--text TEXT] [--json]\n"
    "       tavrel-cli find TEXT PATH... [--json]\n"
    "       tavrel-cli shape FILE TEXT [--member N] [--features LIST]\n"
    "                  [--variations LIST] [--direction ltr|rtl|ttb|btt]\n"
    "                  [--script TAG] [--language TAG] [--json]\n"
    "       tavrel-cli glyph FILE TEXT [--member N] [--variations LIST]\n"
    "                  [--json | --svg]\n"
    "       tavrel-cli char FILE TEXT [--member N] [--json]\n"
    "\n"
    "Files are read by extension: .ttf, .otf, .ttc, .woff, .woff2 (letter case\n"
    "ignored). A PATH that is a folder stands for every such file in it and in\n"
    "its subfolders, in the order Explorer lists names: runs of digits compared\n"
    "as numbers, letters without regard to case, each subfolder's files where\n"
    "its name falls among the names beside it. Links are followed; a folder\n"
    "reached a second time is left out. The files are read in parallel on\n"
    "every core, and what they give is printed in that order.\n"
    "\n"
    "names   Prints the face names tavrel would list after opening the files\n"
    "        one after another, one per line in UTF-8, in list order. A name\n"
    "        already listed is listed once.\n"
    "decode  Writes to OUT the font image tavrel would register for IN: the\n"
    "        decoded font for .woff and .woff2, the file itself otherwise.\n"
    "        With --member N, when that image is a collection, writes its\n"
    "        member N (counted from 0) as a standalone font instead.\n"
    "info    Prints the details of every face tavrel would list for PATH, in\n"
    "        list order, one 'Label: value' line per field, faces separated by\n"
    "        an empty line; a field that cannot be read is left out. Options\n"
    "        may stand before or after PATH:\n"
    "        --member N  only member N (from 0) of each collection\n"
    "        --text TEXT also how many of TEXT's distinct characters each face\n"
    "                    maps, and which it lacks\n"
    "        --json      a JSON array, one object per face, with the keys file,\n"
    "                    format, member, members, fullName, family, subfamily,\n"
    "                    typographicFamily, typographicSubfamily, postScriptName,\n"
    "                    version, copyright, trademark, manufacturer, designer,\n"
    "                    description, vendorUrl, designerUrl, license, licenseUrl,\n"
    "                    outlines, ros (the Registry-Ordering-Supplement of a\n"
    "                    CID-keyed CFF, as Adobe-Japan1-6), unitsPerEm,\n"
    "                    glyphCount, codePoints, weightClass, widthClass, fsType,\n"
    "                    embedding, vendorId, italicAngle, fixedPitch, axes,\n"
    "                    instances, features, featureChanges (each feature tag\n"
    "                    with how many characters its single and alternate\n"
    "                    substitutions and single adjustments change),\n"
    "                    variationSequences (total, standardized,\n"
    "                    ideographic), verticalMetrics,\n"
    "                    verticalOrigins, colorFormats (those of COLRv0,\n"
    "                    COLRv1, CPAL, CBDT, sbix and SVG the face has),\n"
    "                    coverage, text and problems; null\n"
    "                    for a value that cannot be read.\n"
    "        Coverage is given for the sets joyo, jis-level-1, jis-level-2,\n"
    "        gb2312, tongyong, big5, ksx1001-hanja, kana and latin-1.\n"
    "find    Prints the faces tavrel would list for the PATHs whose best\n"
    "        Unicode cmap subtable (as info reads it) maps every character of\n"
    "        TEXT (UTF-8; control characters and line breaks left out), one\n"
    "        line a face: the file, the member (empty outside a collection)\n"
    "        and the full name, separated by tabs. --json may stand anywhere:\n"
    "        --json      an array of {file, member, fullName}, member null\n"
    "                    outside a collection\n"
    "\n"
    "shape   Sets TEXT (UTF-8, at most 4096 characters) in one face of FILE\n"
    "        with HarfBuzz, as the window's 組版 page does, and prints one line\n"
    "        a glyph: its glyph id, cluster (the index of the first character\n"
    "        it comes from), advance and offset in font units. FILE is read\n"
    "        as the window reads it (a .woff or .woff2 file is decoded first).\n"
    "        Options may stand anywhere after the command:\n"
    "        --member N        member N (from 0) of a collection; else 0\n"
    "        --features LIST   HarfBuzz's feature syntax, comma-separated:\n"
    "                          palt,-liga,jp90=1 (on, off, a value)\n"
    "        --variations LIST a variable font's instance, HarfBuzz's syntax:\n"
    "                          wght=700,wdth=80 (axes not named stay at\n"
    "                          their defaults; values are clamped to each\n"
    "                          axis's range)\n"
    "        --direction D     ltr (default), rtl, ttb (down) or btt\n"
    "        --script TAG      an ISO 15924 script (Jpan, Latn); else guessed\n"
    "        --language TAG    a BCP 47 language (ja, ko); else guessed\n"
    "        --json            an array of {g, cl, dx, dy, ax, ay}, as\n"
    "                          hb-shape --output-format=json --no-glyph-names\n"
    "                          prints it\n"
    "glyph   Prints the glyph the face's best Unicode cmap subtable gives the\n"
    "        first character of TEXT, at the instance --variations names: its\n"
    "        glyph id, its advance across and the bounds of its outline's\n"
    "        points (control points included), in font units; 'none' for a\n"
    "        glyph without an outline. --member and --variations as for shape.\n"
    "        --json  {\"glyph\": ID, \"advance\": UNITS, \"bounds\": [xMin, yMin,\n"
    "                xMax, yMax]}, bounds null without an outline\n"
    "        --svg   a standalone SVG document whose one path is the outline,\n"
    "                as the window's Ctrl+Shift+C copies it\n"
    "char    Prints who each character of TEXT is and what one face of FILE\n"
    "        gives it, a 'Label: value' line per field and an empty line\n"
    "        between characters; a variation selector counts with the\n"
    "        character before it. From Unicode's data: the name and block;\n"
    "        the JIS X 0213 plane-row-cell, the JIS X 0208 row-cell and level,\n"
    "        the Shift_JIS-2004 and code page 932 bytes; the Adobe-Japan1 CID\n"
    "        of the JIS2004 forms and, where it differs, of the JIS90 forms;\n"
    "        the on readings in katakana and the kun readings in hiragana;\n"
    "        the radical and the strokes. From the face: the glyph (that of\n"
    "        the sequence, given a selector), the glyph's CID in a CID-keyed\n"
    "        CFF, and the character's variation sequences.\n"
    "        --member N  member N (from 0) of a collection; else 0\n"
    "        --json      an array of {character, codePoint, selector, name,\n"
    "                    block, jis: {x0213, x0208, x0208Level}, shiftJis,\n"
    "                    cp932 (bytes in hex, as 8A8B), aj1Cid, aj1CidJis90,\n"
    "                    on, kun, radical: {number, simplified, character,\n"
    "                    residualStrokes}, strokes, glyph, cid,\n"
    "                    variationSequences: [{selector, glyph}]}, null\n"
    "                    where a field has no value\n"
    "\n"
    "Only regular files are read: a FIFO or a device is refused, and so is a\n"
    "folder given to decode or shape. A file that adds nothing, a folder that\n"
    "cannot be read or holds no font file, is reported on standard error as\n"
    "'tavrel-cli: PATH: REASON', and the other files are read on. The exit\n"
    "status is 1 when any file was refused or could not be read or written, 2\n"
    "for a usage error, 0 otherwise.\n";

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

// FILE and the options in any order; each option at most once.
int RunInfo(const std::vector<std::string>& args) {
    tavrel::InfoOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--json" && !options.json) {
            options.json = true;
        } else if (arg == "--member" && hasValue && !options.member) {
            options.member = ParseIndex(args[++i].c_str());
            if (!options.member) return UsageError();
        } else if (arg == "--text" && hasValue && !options.text) {
            options.text = args[++i];
        } else if (!haveFile && !arg.starts_with("--")) {
            options.file = arg;
            haveFile = true;
        } else {
            return UsageError();
        }
    }
    return haveFile ? tavrel::RunInfoCommand(options) : UsageError();
}

// TEXT, then the paths, with --json anywhere.
int RunFind(const std::vector<std::string>& args) {
    tavrel::FindOptions options;
    bool haveText = false;
    for (const std::string& arg : args) {
        if (arg == "--json" && !options.json) {
            options.json = true;
        } else if (arg.starts_with("--")) {
            return UsageError();
        } else if (!haveText) {
            options.text = arg;
            haveText = true;
        } else {
            options.paths.push_back(arg);
        }
    }
    return options.paths.empty() ? UsageError() : tavrel::RunFindCommand(options);
}

std::optional<tavrel::TextDirection> ParseDirection(const std::string& text) {
    using tavrel::TextDirection;
    if (text == "ltr") return TextDirection::LeftToRight;
    if (text == "rtl") return TextDirection::RightToLeft;
    if (text == "ttb") return TextDirection::TopToBottom;
    if (text == "btt") return TextDirection::BottomToTop;
    return std::nullopt;
}

// Takes one option of `shape` at args[i], moving i past its value.
bool TakeShapeOption(const std::vector<std::string>& args, std::size_t& i, tavrel::ShapeCommandOptions& options) {
    const std::string& arg = args[i];
    if (arg == "--json" && !options.json) return options.json = true;
    if (i + 1 >= args.size()) return false;
    const std::string& value = args[++i];
    if (arg == "--member" && !options.member) return bool(options.member = ParseIndex(value.c_str()));
    if (arg == "--script" && !options.shape.script) return bool(options.shape.script = value);
    if (arg == "--language" && !options.shape.language) return bool(options.shape.language = value);
    if (arg == "--direction") {
        const auto direction = ParseDirection(value);
        if (direction) options.shape.direction = *direction;
        return direction.has_value();
    }
    if (arg == "--variations" && options.variations.empty()) {
        auto axes = tavrel::ParseVariationList(value);
        if (axes) options.variations = std::move(*axes);
        return axes.has_value() && !options.variations.empty();
    }
    if (arg == "--features" && options.features.empty()) {
        auto features = tavrel::ParseFeatureList(value);
        if (features) options.features = std::move(*features);
        return features.has_value();
    }
    return false;
}

// FILE, then TEXT, with the options anywhere; each option at most once.
int RunShape(const std::vector<std::string>& args) {
    tavrel::ShapeCommandOptions options;
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].starts_with("--")) {
            if (!TakeShapeOption(args, i, options)) return UsageError();
        } else if (positional < 2) {
            (positional++ == 0 ? options.file : options.text) = args[i];
        } else {
            return UsageError();
        }
    }
    return positional == 2 ? tavrel::RunShapeCommand(options) : UsageError();
}

// FILE, then TEXT, with the options anywhere; each option at most once.
int RunGlyph(const std::vector<std::string>& args) {
    tavrel::GlyphCommandOptions options;
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--json" && !options.json && !options.svg) {
            options.json = true;
        } else if (arg == "--svg" && !options.json && !options.svg) {
            options.svg = true;
        } else if (arg == "--member" && hasValue && !options.member) {
            if (!(options.member = ParseIndex(args[++i].c_str()))) return UsageError();
        } else if (arg == "--variations" && hasValue && options.variations.empty()) {
            auto axes = tavrel::ParseVariationList(args[++i]);
            if (!axes || axes->empty()) return UsageError();
            options.variations = std::move(*axes);
        } else if (!arg.starts_with("--") && positional < 2) {
            (positional++ == 0 ? options.file : options.text) = arg;
        } else {
            return UsageError();
        }
    }
    return positional == 2 ? tavrel::RunGlyphCommand(options) : UsageError();
}

// FILE, then TEXT, with the options anywhere; each option at most once.
int RunChar(const std::vector<std::string>& args) {
    tavrel::CharCommandOptions options;
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json" && !options.json) {
            options.json = true;
        } else if (arg == "--member" && i + 1 < args.size() && !options.member) {
            if (!(options.member = ParseIndex(args[++i].c_str()))) return UsageError();
        } else if (!arg.starts_with("--") && positional < 2) {
            (positional++ == 0 ? options.file : options.text) = arg;
        } else {
            return UsageError();
        }
    }
    return positional == 2 ? tavrel::RunCharCommand(options) : UsageError();
}

}  // namespace

namespace tavrel {

void ReportFile(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "tavrel-cli: %s: %s\n", file.c_str(), reason.c_str());
}

}  // namespace tavrel

static int Run(const std::vector<std::string>& arguments) {
    if (arguments.size() >= 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.size() < 3) return UsageError();
    const std::string& command = arguments[1];
    const std::vector<std::string> rest(arguments.begin() + 2, arguments.end());
    if (command == "names") return tavrel::RunNamesCommand(rest);
    if (command == "decode") return RunDecode(rest);
    if (command == "info") return RunInfo(rest);
    if (command == "shape") return RunShape(rest);
    if (command == "glyph") return RunGlyph(rest);
    if (command == "find") return RunFind(rest);
    if (command == "char") return RunChar(rest);
    return UsageError();
}

#ifdef _WIN32
#include "utf8.h"

int wmain(int argc, wchar_t** argv) {
    // Names are written as UTF-8 bytes, with no newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(tavrel::ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return Run(arguments);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv, argv + argc)); }
#endif
