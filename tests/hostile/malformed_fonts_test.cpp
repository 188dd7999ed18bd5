// Every case of the damaged-file corpus loads without breaking a rule, and
// adds, and describes, what damaged_outcomes.tsv records for it. After a
// deliberate change, TAVREL_RECORD_OUTCOMES=1 rewrites the file, to be read
// over in the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "face_summary.h"
#include "font_samples.h"
#include "load_check.h"
#include "malformed_fonts.h"
#include "unicode_text.h"

namespace tavrel::test {
namespace {

// What a case adds, "as before" when that is what the undamaged file lists,
// or why it adds nothing;
// and for a face's tables, how its details differ from the undamaged file's.
std::string Outcome(const MalformedFont& damaged) {
    const LoadOutcome load = LoadAndCheck(damaged.loader, damaged.bytes);
    EXPECT_EQ(load.fault, "") << damaged.what;
    std::string text;
    if (!load.added) text = "nothing added: " + load.refusal;
    else if (load.names == damaged.before) text = "as before";
    else for (const std::u16string& name : load.names) text += (text.empty() ? "\"" : ", \"") + ToUtf8(name) + "\"";
    if (!damaged.infoBefore.empty())
        text += "\t" + Difference(damaged.infoBefore, SummaryItems(DescribeFace(damaged.bytes, 0)));
    return text;
}

TEST(MalformedFonts, EachAddsWhatWasRecorded) {
    auto cases = MalformedBuilderFonts(), samples = MalformedSampleFonts(ReadFontSamples(TAVREL_FONT_SAMPLES_TSV));
    cases.insert(cases.end(), std::make_move_iterator(samples.begin()), std::make_move_iterator(samples.end()));
    std::map<std::string, std::string> recorded;
    std::ifstream in(TAVREL_DAMAGED_OUTCOMES);
    for (std::string line; std::getline(in, line);)
        if (const auto tab = line.find('\t'); tab != std::string::npos) recorded[line.substr(0, tab)] = line.substr(tab + 1);
    const bool record = std::getenv("TAVREL_RECORD_OUTCOMES");
    ASSERT_TRUE(record || recorded.size() >= 400) << "cannot read " << TAVREL_DAMAGED_OUTCOMES;
    std::ofstream out(record ? TAVREL_DAMAGED_OUTCOMES : "", std::ios::binary);
    for (const MalformedFont& damaged : cases) {
        const std::string outcome = Outcome(damaged);
        EXPECT_EQ(outcome, recorded[damaged.what]) << damaged.what;
        out << damaged.what << '\t' << outcome << '\n';
    }
    EXPECT_EQ(recorded.size(), cases.size()) << "cases recorded that the corpus no longer makes";
}

}  // namespace
}  // namespace tavrel::test
