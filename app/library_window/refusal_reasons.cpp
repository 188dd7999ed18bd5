#include "refusal_reasons.h"

#include "wide_text_win32.h"

namespace tavrel {

namespace {

struct Said {
    std::string_view english;
    const wchar_t* japanese;
};

constexpr Said kWhole[] = {
    {"a directory, not a font file", L"フォントファイルではなくフォルダです"},
    {"cannot open the file", L"ファイルを開けません"},
    {"cannot read the file", L"ファイルを読めません"},
    {"cannot read the folder", L"フォルダを読めません"},
    {"no such file or folder", L"ファイルもフォルダもありません"},
    {"not a folder", L"フォルダではありません"},
    {"not a font collection (no 'ttcf' tag)", L"フォントコレクションではありません ('ttcf' タグがありません)"},
    {"not a font file extension", L"フォントファイルの拡張子ではありません"},
    {"out of memory", L"メモリが足りません"},
    {"the WOFF2 data cannot be decoded", L"WOFF2 のデータを復号できません"},
    {"the collection header is cut short", L"コレクションのヘッダーが途中で切れています"},
    {"the collection holds no fonts", L"コレクションにフォントがありません"},
    {"the collection's member offsets extend past the end of the file", L"コレクションのメンバーの位置がファイルの終わりを越えています"},
    {"the file changed since it was listed", L"一覧に載せた後でファイルが変わりました"},
    {"the file is 2 GiB or larger", L"ファイルが 2 GiB 以上あります"},
    {"the file is gone", L"ファイルがなくなりました"},
    {"the file is shorter than a WOFF header", L"ファイルが WOFF のヘッダーより短いです"},
    {"the file is too short to be a font", L"フォントにしては短すぎるファイルです"},
    {"the file no longer holds the face", L"ファイルにその書体がもうありません"},
    {"the file reads short", L"ファイルを最後まで読めません"},
    {"the members' table directories overlap", L"メンバーのテーブル一覧が重なっています"},
    {"the output buffer is not totalSfntSize bytes", L"出力の大きさが totalSfntSize と違います"},
};

// A subject ("table 'glyf'", "member 2") and what is said of it.
constexpr Said kEndings[] = {
    {" extends past the end of the file", L"がファイルの終わりを越えています"},
    {" claims more bytes than its compressed data can hold", L"の大きさが圧縮データに収まりません"},
    {"its tables add up to more than the whole file", L"テーブルの合計がファイル全体より大きいです"},
    {"its standalone image would exceed 4 GiB", L"単独のフォントにすると 4 GiB を超えます"},
};

constexpr Said kSubjects[] = {
    {"the table directory", L"テーブル一覧"},
    {"the table records", L"テーブルの記録"},
    {"the offset table", L"オフセットテーブル"},
    {"table ", L"テーブル "},
    {"member ", L"メンバー "},
    {"the collection has no member ", L"コレクションにないメンバー "},
};

std::wstring Subject(std::string_view subject) {
    for (const Said& said : kSubjects)
        if (subject.starts_with(said.english))
            return said.japanese + WideFromUtf8(subject.substr(said.english.size()));
    return WideFromUtf8(subject);
}

}  // namespace

std::wstring JapaneseReason(std::string_view reason) {
    for (const Said& said : kWhole)
        if (reason == said.english) return said.japanese;
    for (const Said& said : kEndings)
        if (reason.ends_with(said.english))
            return Subject(reason.substr(0, reason.size() - said.english.size())) + said.japanese;
    if (const auto colon = reason.find(": "); colon != std::string_view::npos)
        return Subject(reason.substr(0, colon)) + L": " + JapaneseReason(reason.substr(colon + 2));
    return Subject(reason);
}

}  // namespace tavrel
