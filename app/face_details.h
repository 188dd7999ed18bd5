#pragma once
// What the details dialog says about one listed face: the rows of the core's
// report, labelled in Japanese, read afresh from where the face came from.

#include <string>
#include <vector>

#include "loaded_font_list.h"

namespace tavrel {

// The face the dialog is about, and the sample text measured against it.
struct DetailsSubject {
    std::wstring faceName;
    FaceSource source;
    std::wstring sampleText;
};

struct DetailRow {
    std::wstring label;
    std::wstring value;
};

// The face selected in the face box, else the face of the sample at the caret
// (an installed face when it is not listed); the sample's current text.
DetailsSubject CurrentSubject();

// The report's rows for the face, or a single row saying why there are none:
// the file is gone or unreadable, no longer holds the face, or the installed
// face cannot be read.
std::vector<DetailRow> DescribeSubject(const DetailsSubject& subject);

// One row a line: the label, a tab, the value.
std::wstring RowsAsText(const std::vector<DetailRow>& rows);

}  // namespace tavrel
