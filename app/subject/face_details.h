#pragma once
// What the details dialog says about one listed face: the rows of the core's
// report, labelled in Japanese, read afresh from where the face came from.

#include <string>
#include <vector>

#include "face_info.h"
#include "loaded_font_list.h"

namespace tavrel {

// The face the dialog is about, and the sample text measured against it. A
// face that is not listed (the sample's, once the fonts are reset) is not
// loaded: GDI would draw and describe another font under its name.
struct DetailsSubject {
    std::wstring faceName;
    FaceSource source;
    std::wstring sampleText;
    bool listed = true;
};

struct DetailRow {
    std::wstring label;
    std::wstring value;
};

// The face selected in the face box, else the face of the sample at the
// caret; the sample's current text.
DetailsSubject CurrentSubject();

// Registers the subject's face with GDI if it is listed but not yet used: the
// pages draw it by name. Called as the dialog opens on a face.
void RegisterSubjectFace(const DetailsSubject& subject);

// The report's rows for the face, or a single row saying why there are none:
// the face is not loaded, its file is gone or unreadable or no longer holds
// it, or the installed face cannot be read.
std::vector<DetailRow> DescribeSubject(const DetailsSubject& subject);

struct SubjectFace;
// The same rows of a face read already (ReadSubjectFace), with what is slow
// left out of a quick report.
std::vector<DetailRow> DescribeSubjectFace(const DetailsSubject& subject, const SubjectFace& face, ReportDepth depth);

// Tab-separated text as spreadsheets exchange it: one row a line, the label,
// a tab, the value; a field holding a tab, a line break or a double quote is
// put in double quotes, with the quotes inside doubled.
std::wstring RowsAsText(const std::vector<DetailRow>& rows);

// One field of such text, quoted where it needs to be.
std::wstring SpreadsheetField(const std::wstring& value);

}  // namespace tavrel
