#include "face_details.h"

#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app_state.h"
#include "face_registration_win32.h"
#include "face_report.h"
#include "font_file_win32.h"
#include "formatting.h"
#include "installed_font_file.h"
#include "loader_choice.h"
#include "subject_face.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr wchar_t kFileLabel[] = L"ファイル";

std::wstring SampleText() {
    const int length = GetWindowTextLengthW(appState.hwndSample);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(appState.hwndSample, text.data(), length + 1)));
    return text;
}

std::wstring FaceAtCaret() {
    CHARFORMATW format = NewFormat(CFM_FACE);
    SendMessageW(appState.hwndSample, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.dwMask & CFM_FACE ? std::wstring(format.szFaceName) : std::wstring();
}

std::vector<DetailRow> InstalledUnreadable(const std::wstring& faceName) {
    return {{L"フォント", L"インストールされたフォント「" + faceName + L"」を読めません"}};
}

std::vector<DetailRow> RowsOf(const FaceReport& report) {
    std::vector<DetailRow> rows;
    for (const ReportRow& row : ReportRows(report))
        rows.push_back({ToWide(row.labelJapanese),
                        row.valueJapanese.empty() ? WideFromUtf8(row.value) : ToWide(row.valueJapanese)});
    return rows;
}

bool IsNamed(const FaceInfo& info, std::wstring_view faceName) {
    if (info.fullName && ToWide(*info.fullName) == faceName) return true;
    for (std::uint16_t id : {1, 16}) {
        const auto name = info.names.find(id);
        if (name != info.names.end() && ToWide(name->second) == faceName) return true;
    }
    return false;
}

// GDI names an installed face by its family, so the member of a collection is
// the one whose full or family name is the face's; the first when none is.
std::vector<DetailRow> InstalledFaceRows(const DetailsSubject& subject, FontLoader loader, Bytes bytes,
                                         std::optional<std::uint32_t> member, std::optional<std::u16string_view> text,
                                         ReportDepth depth) {
    auto reports = DescribeFontFile("", loader, bytes, member, text, depth);
    if (!reports || reports->empty()) return InstalledUnreadable(subject.faceName);
    const auto named = std::find_if(reports->begin(), reports->end(),
                                    [&](const FaceReport& report) { return IsNamed(report.info, subject.faceName); });
    FaceReport& report = named == reports->end() ? reports->front() : *named;
    report.loader = FontLoader::None;
    report.file = Utf8FromWide(L"インストール済み");
    return RowsOf(report);
}

std::vector<DetailRow> DescribeInstalledFace(const DetailsSubject& subject, std::u16string_view text) {
    const auto file = ReadInstalledFontFile(subject.faceName);
    if (!file) return InstalledUnreadable(subject.faceName);
    return InstalledFaceRows(subject, file->collection ? FontLoader::Collection : FontLoader::Sfnt, file->image.bytes(),
                             std::nullopt, text, ReportDepth::Whole);
}

std::vector<DetailRow> FileFaceRows(const DetailsSubject& subject, FontLoader loader, Bytes bytes,
                                    std::optional<std::u16string_view> text, ReportDepth depth) {
    const std::wstring& path = subject.source.path;
    const auto reports = DescribeFontFile(Utf8FromWide(path), loader, bytes, subject.source.member, text, depth);
    if (!reports || reports->size() != 1 || ToWide(reports->front().info.fullName.value_or(u"")) != subject.faceName)
        return {{kFileLabel, L"ファイルにこのフェイスがもうありません: " + path}};
    return RowsOf(reports->front());
}

std::vector<DetailRow> DescribeFileFace(const DetailsSubject& subject, std::u16string_view text) {
    const std::wstring& path = subject.source.path;
    const auto image = ReadFontFile(path.c_str());
    if (!image) return {{kFileLabel, L"ファイルがないか読めません: " + path}};
    return FileFaceRows(subject, ChooseLoader(ToU16(path)), image->bytes(), text, ReportDepth::Whole);
}

}  // namespace

DetailsSubject CurrentSubject() {
    const LoadedFontList& fonts = LoadedFonts();
    const LRESULT selected = SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < fonts.faceNames.size()) {
        const auto index = static_cast<std::size_t>(selected);
        return {fonts.faceNames[index], fonts.faceSources[index], SampleText()};
    }
    const std::wstring face = FaceAtCaret();
    const auto listed = std::find(fonts.faceNames.begin(), fonts.faceNames.end(), face);
    if (listed != fonts.faceNames.end())
        return {face, fonts.faceSources[static_cast<std::size_t>(listed - fonts.faceNames.begin())], SampleText()};
    return {face, FaceSource{}, SampleText(), false};
}

void RegisterSubjectFace(const DetailsSubject& subject) {
    if (subject.listed && !subject.source.installed) RegisterListedFaceNamed(subject.faceName);
}

std::vector<DetailRow> DescribeSubject(const DetailsSubject& subject) {
    if (!subject.listed) return {{L"フォント", L"「" + subject.faceName + L"」は読み込まれていません"}};
    const std::u16string text = ToU16(subject.sampleText);
    return subject.source.installed ? DescribeInstalledFace(subject, text) : DescribeFileFace(subject, text);
}

namespace {

// A file's face as the quick report describes it, from what reading it found
// already: the dialog opens without describing the face a second time.
std::vector<DetailRow> QuickFileFaceRows(const DetailsSubject& subject, const SubjectFace& face) {
    FaceReport report;
    report.file = Utf8FromWide(subject.source.path);
    report.loader = face.loader;
    if (std::uint32_t count = 0; subject.source.member && ReadU32BE(face.Image(), 8, count)) {
        report.member = subject.source.member;
        report.members = count;
    }
    report.info = face.info;
    return RowsOf(report);
}

}  // namespace

std::vector<DetailRow> DescribeSubjectFace(const DetailsSubject& subject, const SubjectFace& face, ReportDepth depth) {
    if (depth == ReportDepth::Quick && !subject.source.installed) return QuickFileFaceRows(subject, face);
    const std::u16string text = ToU16(subject.sampleText);
    const auto measured = depth == ReportDepth::Whole ? std::optional<std::u16string_view>(text) : std::nullopt;
    if (!subject.source.installed) return FileFaceRows(subject, face.loader, face.FileBytes(), measured, depth);
    const auto member = face.plan.faceMembers.empty() ? std::nullopt : std::optional(face.index);
    return InstalledFaceRows(subject, face.loader, face.FileBytes(), member, measured, depth);
}

std::wstring SpreadsheetField(const std::wstring& value) {
    if (value.find_first_of(L"\t\r\n\"") == std::wstring::npos) return value;
    std::wstring quoted = L"\"";
    for (wchar_t c : value) quoted.append(c == L'"' ? 2 : 1, c);
    return quoted + L'"';
}

std::wstring RowsAsText(const std::vector<DetailRow>& rows) {
    std::wstring text;
    for (const DetailRow& row : rows)
        text += SpreadsheetField(row.label) + L'\t' + SpreadsheetField(row.value) + L"\r\n";
    return text;
}

}  // namespace tavrel
