// tavrel-cli: the font core of tavrel on the command line.

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "commands.h"
#include "face_traits.h"

static const char kUsage[] =
    "usage: tavrel-cli names PATH...\n"
    "       tavrel-cli decode IN OUT [--member N]\n"
    "       tavrel-cli info PATH [--member N] [--text TEXT] [--json]\n"
    "       tavrel-cli find [TEXT] PATH... [--features LIST] [--variable]\n"
    "                  [--color] [--set LIST] [--json]\n"
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
    "        TEXT (UTF-8; control characters and line breaks left out) and that\n"
    "        pass every filter given, one line a face: the file, the member\n"
    "        (empty outside a collection) and the full name, separated by\n"
    "        tabs. With a filter, TEXT may be empty ('') or, before a single\n"
    "        PATH, left out. Options may stand anywhere; --features and --set\n"
    "        may be given more than once:\n"
    "        --features LIST  GSUB or GPOS features the face has, every one,\n"
    "                         comma-separated tags: vert,palt (vert is also\n"
    "                         had through vrt2)\n"
    "        --variable       a variable face (fvar with an axis)\n"
    "        --color          colour glyphs (COLR, CBDT, sbix or SVG)\n"
    "        --set LIST       maps every character of each set, comma-\n"
    "                         separated: joyo, jis-level-1, jis-level-2\n"
    "        --json           an array of {file, member, fullName}, member\n"
    "                         null outside a collection\n"
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
    "for a usage error (said on one line), 0 otherwise.\n";

namespace {

// A usage error: what was wrong, said on one line by Run.
struct UsageFault {
    std::string what;
};

[[noreturn]] void Fault(std::string what) { throw UsageFault{std::move(what)}; }

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

[[noreturn]] void CannotRead(const std::string& option, const std::string& value) {
    Fault(option + ": cannot read " + Quoted(value));
}

// A command's arguments in order: options, each at most once, and the words
// between them, which the command wants between `least` and `most` of.
class Arguments {
public:
    Arguments(std::string command, const std::vector<std::string>& args) : command_(std::move(command)), args_(args) {}

    // The words, in order; each option is handed to `take`, which takes its value.
    std::vector<std::string> Read(const std::function<void(const std::string& option)>& take) {
        std::vector<std::string> words;
        while (next_ < args_.size()) {
            if (args_[next_].starts_with("--")) take(Option());
            else words.push_back(args_[next_++]);
        }
        return words;
    }

    std::string Option() {
        std::string option = args_[next_++];
        for (const std::string& seen : seen_)
            if (seen == option) Fault(option + ": given twice");
        if (std::find(repeatable_.begin(), repeatable_.end(), option) == repeatable_.end()) seen_.push_back(option);
        return option;
    }
    // Options whose values add up when given again.
    void Repeatable(std::vector<std::string> options) { repeatable_ = std::move(options); }
    const std::string& Value(const std::string& option) {
        if (next_ >= args_.size()) Fault(option + ": needs a value");
        return args_[next_++];
    }
    [[noreturn]] void Unknown(const std::string& option) const { Fault(command_ + ": no option " + option); }

    // The words, once all are read; `names` says what they stand for.
    void Expect(const std::vector<std::string>& words, std::size_t least, std::size_t most, const char* names) const {
        if (words.size() < least) Fault(command_ + ": needs " + names);
        if (words.size() > most) Fault(command_ + ": one argument too many, " + Quoted(words[most]));
    }

private:
    std::string command_;
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
    std::vector<std::string> seen_, repeatable_;
};

// A member index: decimal digits only, at most nine of them.
std::uint32_t ParseIndex(const std::string& option, const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        CannotRead(option, text);
    return static_cast<std::uint32_t>(std::stoul(text));
}

std::vector<tavrel::AxisSetting> ParseVariations(const std::string& option, const std::string& text) {
    auto axes = tavrel::ParseVariationList(text);
    if (!axes || axes->empty()) CannotRead(option, text);
    return std::move(*axes);
}

int RunDecode(Arguments args) {
    std::optional<std::uint32_t> member;
    const auto words = args.Read([&](const std::string& option) {
        if (option != "--member") args.Unknown(option);
        member = ParseIndex(option, args.Value(option));
    });
    args.Expect(words, 2, 2, "IN and OUT");
    return tavrel::RunDecodeCommand(words[0], words[1], member);
}

int RunInfo(Arguments args) {
    tavrel::InfoOptions options;
    const auto words = args.Read([&](const std::string& option) {
        if (option == "--json") options.json = true;
        else if (option == "--member") options.member = ParseIndex(option, args.Value(option));
        else if (option == "--text") options.text = args.Value(option);
        else args.Unknown(option);
    });
    args.Expect(words, 1, 1, "PATH");
    options.file = words[0];
    return tavrel::RunInfoCommand(options);
}

// The items of a comma-separated list, none empty.
std::vector<std::string> ListItems(const std::string& option, const std::string& text) {
    std::vector<std::string> items;
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
        end = text.find(',', at);
        items.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        if (items.back().empty()) CannotRead(option, text);
    }
    return items;
}

// A tag of one to four printable ASCII characters, padded with spaces.
std::uint32_t ParseTag(const std::string& option, const std::string& text) {
    if (text.size() > 4 || text[0] == ' ') CannotRead(option, text);
    std::uint32_t tag = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c < 0x20 || c > 0x7E) CannotRead(option, text);
        tag = tag << 8 | static_cast<std::uint8_t>(c);
    }
    return tag;
}

// The traits of the sets a --set list names.
std::uint16_t ParseSets(const std::string& option, const std::string& text) {
    std::uint16_t traits = 0;
    for (const std::string& set : ListItems(option, text)) {
        const std::uint16_t trait = tavrel::TraitOfSet(set);
        if (!trait) CannotRead(option, set);
        traits |= trait;
    }
    return traits;
}

// One filter of `find` and its value.
void TakeFindOption(Arguments& args, const std::string& option, tavrel::FindOptions& options) {
    if (option == "--json") {
        options.json = true;
    } else if (option == "--variable") {
        options.traits |= tavrel::kTraitVariable;
    } else if (option == "--color") {
        options.traits |= tavrel::kTraitColor;
    } else if (option == "--set") {
        options.traits |= ParseSets(option, args.Value(option));
    } else if (option == "--features") {
        for (const std::string& tag : ListItems(option, args.Value(option))) options.features.push_back(ParseTag(option, tag));
    } else {
        args.Unknown(option);
    }
}

// TEXT, then the paths, with the options anywhere; with a filter, a single word is the path.
int RunFind(Arguments args) {
    tavrel::FindOptions options;
    args.Repeatable({"--features", "--set"});
    const auto words = args.Read([&](const std::string& option) { TakeFindOption(args, option, options); });
    const bool filtered = options.traits || !options.features.empty();
    args.Expect(words, filtered ? 1 : 2, words.size(), filtered ? "a PATH" : "TEXT and a PATH");
    const bool withText = !filtered || words.size() > 1;
    if (withText) options.text = words[0];
    options.paths.assign(words.begin() + (withText ? 1 : 0), words.end());
    return tavrel::RunFindCommand(options);
}

tavrel::TextDirection ParseDirection(const std::string& option, const std::string& text) {
    using tavrel::TextDirection;
    if (text == "ltr") return TextDirection::LeftToRight;
    if (text == "rtl") return TextDirection::RightToLeft;
    if (text == "ttb") return TextDirection::TopToBottom;
    if (text == "btt") return TextDirection::BottomToTop;
    CannotRead(option, text);
}

// One option of `shape` and its value.
void TakeShapeOption(Arguments& args, const std::string& option, tavrel::ShapeCommandOptions& options) {
    if (option == "--json") {
        options.json = true;
        return;
    }
    if (option != "--member" && option != "--script" && option != "--language" && option != "--direction" &&
        option != "--variations" && option != "--features")
        args.Unknown(option);
    const std::string& value = args.Value(option);
    if (option == "--member") options.member = ParseIndex(option, value);
    if (option == "--script") options.shape.script = value;
    if (option == "--language") options.shape.language = value;
    if (option == "--direction") options.shape.direction = ParseDirection(option, value);
    if (option == "--variations") options.variations = ParseVariations(option, value);
    if (option == "--features") {
        auto features = tavrel::ParseFeatureList(value);
        if (!features) CannotRead(option, value);
        options.features = std::move(*features);
    }
}

// FILE, then TEXT, with the options anywhere.
int RunShape(Arguments args) {
    tavrel::ShapeCommandOptions options;
    const auto words = args.Read([&](const std::string& option) { TakeShapeOption(args, option, options); });
    args.Expect(words, 2, 2, "FILE and TEXT");
    options.file = words[0];
    options.text = words[1];
    return tavrel::RunShapeCommand(options);
}

// FILE, then TEXT, with the options anywhere.
int RunGlyph(Arguments args) {
    tavrel::GlyphCommandOptions options;
    const auto words = args.Read([&](const std::string& option) {
        if (option == "--json") options.json = true;
        else if (option == "--svg") options.svg = true;
        else if (option == "--member") options.member = ParseIndex(option, args.Value(option));
        else if (option == "--variations") options.variations = ParseVariations(option, args.Value(option));
        else args.Unknown(option);
    });
    if (options.json && options.svg) Fault("glyph: --json or --svg, not both");
    args.Expect(words, 2, 2, "FILE and TEXT");
    options.file = words[0];
    options.text = words[1];
    return tavrel::RunGlyphCommand(options);
}

// FILE, then TEXT, with the options anywhere.
int RunChar(Arguments args) {
    tavrel::CharCommandOptions options;
    const auto words = args.Read([&](const std::string& option) {
        if (option == "--json") options.json = true;
        else if (option == "--member") options.member = ParseIndex(option, args.Value(option));
        else args.Unknown(option);
    });
    args.Expect(words, 2, 2, "FILE and TEXT");
    options.file = words[0];
    options.text = words[1];
    return tavrel::RunCharCommand(options);
}

int RunCommand(const std::string& command, const std::vector<std::string>& rest) {
    if (command == "names") {
        if (rest.empty()) Fault("names: needs PATH");
        return tavrel::RunNamesCommand(rest);
    }
    if (command == "decode") return RunDecode(Arguments(command, rest));
    if (command == "info") return RunInfo(Arguments(command, rest));
    if (command == "shape") return RunShape(Arguments(command, rest));
    if (command == "glyph") return RunGlyph(Arguments(command, rest));
    if (command == "find") return RunFind(Arguments(command, rest));
    if (command == "char") return RunChar(Arguments(command, rest));
    Fault("no command " + Quoted(command));
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
    try {
        if (arguments.size() < 2) Fault("needs a command: names, decode, info, find, shape, glyph or char");
        return RunCommand(arguments[1], std::vector<std::string>(arguments.begin() + 2, arguments.end()));
    } catch (const UsageFault& fault) {
        std::fprintf(stderr, "tavrel-cli: %s (see tavrel-cli --help)\n", fault.what.c_str());
        return 2;
    }
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
