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
    // Twelve of the generated library, a face that maps U+1F600, DejaVu Sans and a damaged file, listed.
    void OpenFolder() {
        const std::wstring folder = ScratchFolder() + L"\\library";
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 12; ++i) {
            const std::wstring name = L"library-" + std::wstring(i < 10 ? L"0000" : L"000") + std::to_wstring(i) + L".ttf";
            std::filesystem::copy(WinePath(TAVREL_WINDOW_LIBRARY) + L"\\part 00\\" + name, folder + L"\\" + name);
        }
        WriteScratchFile(folder + L"\\described.ttf", BuildSfnt(DescribedFontTables()));
        std::filesystem::copy(DejaVu("DejaVuSans.ttf"), folder + L"\\DejaVuSans.ttf");
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
    EXPECT_TRUE(PumpUntil([&] { return WindowText(Control(kCountLabel)) == L"14 / 14 書体"; }));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(Control(kRefusedLabel)) == L"読み込めなかったファイル (1)"; }));
    wchar_t reason[64] = L"";
    ListView_GetItemText(Control(kRefusedFiles), 0, 1, reason, 64);
    EXPECT_STREQ(reason, L"フォントにしては短すぎるファイルです") << "the core's reason in Japanese";

    const std::set<std::wstring> expected = FacesMapping({U'A', U'\U0001F600'});
    ASSERT_FALSE(expected.empty());
    ASSERT_LT(expected.size(), LoadedFonts().faceNames.size());
    SetWindowTextW(Control(kLineBox), L"A\U0001F600A");
    SendMessageW(Control(kSetsLineBox), BM_CLICK, 0, 0);
    const auto shown = [&] {
        std::set<std::wstring> names;
        for (int row = 0; row < Rows(); ++row) names.insert(Cell(row, 1));
        return names;
    };
    EXPECT_TRUE(PumpUntil([&] { return shown() == expected; })) << Rows() << " rows";
    SetWindowTextW(Control(kLineBox), L"ABC");
    EXPECT_TRUE(PumpUntil([&] { return shown() == FacesMapping({U'A', U'B', U'C'}); })) << "checked again for a new line";
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

}  // namespace
}  // namespace tavrel::test
