// The library window over a folder: every face listed, the line filter the
// faces' own cmaps agree with, Enter applying a face, Esc closing it alone.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "app_state.h"
#include "face_info.h"
#include "font_builder.h"
#include "library_controls.h"
#include "library_window.h"
#include "loaded_font_list.h"
#include "mapped_file.h"
#include "resource_ids.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

class LibraryWindowTest : public MainWindowTest {
protected:
    // Twelve of the generated library, a face that maps U+1F600, DejaVu Sans, a variable and a colour face
    // and a damaged file, listed.
    void OpenFolder() {
        const std::wstring folder = ScratchFolder() + L"\\library";
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 12; ++i) {
            const std::wstring name = L"library-" + std::wstring(i < 10 ? L"0000" : L"000") + std::to_wstring(i) + L".ttf";
            std::filesystem::copy(WinePath(TAVREL_WINDOW_LIBRARY) + L"\\part 00\\" + name, folder + L"\\" + name);
        }
        WriteScratchFile(folder + L"\\described.ttf", BuildSfnt(DescribedFontTables()));
        std::filesystem::copy(DejaVu("DejaVuSans.ttf"), folder + L"\\DejaVuSans.ttf");
        for (const wchar_t* font : {L"TavrelTestVariable.ttf", L"TavrelTestColour.ttf"})
            std::filesystem::copy(WinePath(TAVREL_WINDOW_FONTS) + L"\\" + font, folder + L"\\" + font);
        WriteScratchFile(folder + L"\\damaged.ttf", {0, 1, 0, 0, 0, 9});
        OpenWindow();
        DropFiles({folder});
        ASSERT_TRUE(PumpUntil([&] { return WindowText(hwnd_) == L"tavrel"; }));
    }

    template <class Done>
    bool PumpUntil(Done done, DWORD ms = 20000) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; PumpPending()) {
            if (done()) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return false;
    }

    HWND Control(int id) const { return GetDlgItem(LibraryWindowHandle(), id); }
    LRESULT Rows() const { return SendMessageW(Control(kFaceList), LVM_GETITEMCOUNT, 0, 0); }
    std::wstring Cell(int row, int column) const {
        wchar_t text[256] = L"";
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(Control(kFaceList), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::set<std::wstring> Shown(int column = 1) const {
        std::set<std::wstring> cells;
        for (int row = 0; row < Rows(); ++row) cells.insert(Cell(row, column));
        return cells;
    }
    void Key(HWND to, WPARAM key) const {
        PostMessageW(to, WM_KEYDOWN, key, 0);
        PumpPending();
    }
};

// The faces whose best Unicode subtable maps every one of `wanted`, as the face report reads it.
std::set<std::wstring> FacesMapping(const std::vector<char32_t>& wanted) {
    std::set<std::wstring> faces;
    const LoadedFontList& list = LoadedFonts();
    for (std::size_t i = 0; i < list.faceNames.size(); ++i) {
        const auto file = MappedFile::Open(std::filesystem::path(list.faceSources[i].path));
        const auto mapped = DescribeFace(file->bytes(), 0, ReportDepth::Quick).codePoints;
        if (mapped && std::includes(mapped->begin(), mapped->end(), wanted.begin(), wanted.end()))
            faces.insert(list.faceNames[i]);
    }
    return faces;
}

TEST_F(LibraryWindowTest, ListsEveryFaceAndShowsOnlyThoseThatSetALineBeyondTheBmp) {
    OpenFolder();
    HoldControl(true);
    Key(hwnd_, 'L');
    HoldControl(false);
    ASSERT_TRUE(LibraryWindowHandle()) << "Ctrl+L opens the window";
    EXPECT_EQ(WindowText(LibraryWindowHandle()), L"書体一覧");
    EXPECT_EQ(Rows(), static_cast<LRESULT>(LoadedFonts().faceNames.size()));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(Control(kCountLabel)) == L"16 / 16 書体"; }));
    // The test program's own command line is refused too, as a file to open.
    const std::wstring refused = std::to_wstring(LoadedFonts().refusedFiles.size());
    EXPECT_TRUE(PumpUntil([&] { return WindowText(Control(kRefusedLabel)) == L"読み込めなかったファイル (" + refused + L")"; }));
    std::wstring damagedReason;
    for (int row = 0; row < ListView_GetItemCount(Control(kRefusedFiles)); ++row) {
        wchar_t path[MAX_PATH] = L"", reason[64] = L"";
        ListView_GetItemText(Control(kRefusedFiles), row, 0, path, MAX_PATH);
        ListView_GetItemText(Control(kRefusedFiles), row, 1, reason, 64);
        if (std::wstring_view(path).ends_with(L"\\damaged.ttf")) damagedReason = reason;
    }
    EXPECT_EQ(damagedReason, L"フォントにしては短すぎるファイルです") << "the core's reason in Japanese";

    const std::set<std::wstring> expected = FacesMapping({U'A', U'\U0001F600'});
    ASSERT_FALSE(expected.empty());
    ASSERT_LT(expected.size(), LoadedFonts().faceNames.size());
    SetWindowTextW(Control(kLineBox), L"A\U0001F600A");
    SendMessageW(Control(kSetsLineBox), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == expected; })) << Rows() << " rows";
    SetWindowTextW(Control(kLineBox), L"ABC");
    EXPECT_TRUE(PumpUntil([&] { return Shown() == FacesMapping({U'A', U'B', U'C'}); })) << "checked again for a new line";
}

TEST_F(LibraryWindowTest, EnterAppliesTheFaceFoundByNameAndEscClosesTheWindowAlone) {
    OpenFolder();
    Command(IDM_LIBRARY);
    ASSERT_TRUE(LibraryWindowHandle());
    SetWindowTextW(Control(kNameFilterBox), L"LIBRARY-00007");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1; })) << "the file name matches whatever its case";
    EXPECT_EQ(Cell(0, 1), L"Tavrel Library 00007");
    EXPECT_EQ(Cell(0, 2), L"library-00007.ttf");
    ListView_SetItemState(Control(kFaceList), 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    Key(Control(kFaceList), VK_RETURN);
    EXPECT_EQ(FaceOf(), L"Tavrel Library 00007");
    const auto& names = LoadedFonts().faceNames;
    EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0),
              std::find(names.begin(), names.end(), L"Tavrel Library 00007") - names.begin());

    RECT before{};
    GetWindowRect(LibraryWindowHandle(), &before);
    Key(Control(kFaceList), VK_ESCAPE);
    EXPECT_FALSE(LibraryWindowHandle());
    EXPECT_TRUE(IsWindow(hwnd_)) << "Esc closed the program";
    Command(IDM_LIBRARY);
    RECT after{};
    GetWindowRect(LibraryWindowHandle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "opens where it was";
}

TEST_F(LibraryWindowTest, EachTickedTraitIsRequiredAndAHeaderClickSortsEachWay) {
    OpenFolder();
    Command(IDM_LIBRARY);
    const auto tick = [&](int trait) { SendMessageW(Control(kFirstTraitBox + trait), BM_CLICK, 0, 0); };
    const auto shows = [&](const wchar_t* file) { return Shown(2).count(file) == 1; };
    tick(2);  // 可変
    EXPECT_TRUE(PumpUntil([&] { return shows(L"TavrelTestVariable.ttf") && !shows(L"TavrelTestColour.ttf"); }));
    tick(3);  // カラー as well: no face is both
    EXPECT_TRUE(PumpUntil([&] { return Rows() == 0; }));
    tick(2);
    EXPECT_TRUE(PumpUntil([&] { return shows(L"TavrelTestColour.ttf") && !shows(L"TavrelTestVariable.ttf"); }));
    tick(3);
    const auto glyphCounts = [&] {
        std::vector<int> counts;
        for (int row = 0; row < Rows(); ++row) counts.push_back(_wtoi(Cell(row, 6).c_str()));
        return counts;
    };
    for (bool descending : {false, true}) {
        NMLISTVIEW click{};  // what the list says of a click on the header of the glyph counts
        click.hdr = {Control(kFaceList), kFaceList, LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = 6;
        SendMessageW(LibraryWindowHandle(), WM_NOTIFY, kFaceList, reinterpret_cast<LPARAM>(&click));
        std::vector<int> counts = glyphCounts(), sorted = counts;
        std::sort(sorted.begin(), sorted.end());
        if (descending) std::reverse(sorted.begin(), sorted.end());
        EXPECT_EQ(counts, sorted) << (descending ? "a second click" : "a first click");
        EXPECT_NE(counts.front(), counts.back());
    }
}

}  // namespace
}  // namespace tavrel::test
