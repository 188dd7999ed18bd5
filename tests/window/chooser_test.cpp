// The installed-font chooser driven through its real dialog: the face picked
// in the list joins the face box, under the rule that a name is listed once.

#include "app_state.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

namespace tavrel::test {
namespace {

using Names = std::vector<std::wstring>;

std::wstring IpaGothicFile() { return DebianFont("opentype/ipafont-gothic/ipag.ttf"); }
const std::wstring kIpaGothic = L"IPAゴシック";

// What a click on a face in the dialog's list produces.
void PickFace(HWND dialog, const wchar_t* face) {
    const HWND list = GetDlgItem(dialog, cmb1);
    const LRESULT item = SendMessageW(list, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(face));
    ASSERT_NE(item, CB_ERR) << Utf8(face) << " is not offered";
    SendMessageW(list, CB_SETCURSEL, WPARAM(item), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Press(HWND dialog, int button) { SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

class ChooserTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenWindow();
    }

    // Runs the menu command; `act` answers the dialog once it shows.
    void RunChooser(std::function<void(HWND)> act) {
        EXPECT_TRUE(WhenShown(L"#32770", act, [&] { Command(IDM_ADD_INSTALLED_FONT); }));
    }
    void Choose(const wchar_t* face) {
        RunChooser([face](HWND dialog) {
            PickFace(dialog, face);
            Press(dialog, IDOK);
        });
    }

    LRESULT FaceBoxSelection() const { return SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0); }
};

TEST_F(ChooserTest, FirstFaceListedIsSelectedAndSetOnAllTheText) {
    Select(0, 3);
    const LONG height = FormatOf().yHeight;
    Choose(L"DejaVu Sans");
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().faceNames, Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().fontHandles, std::vector<HANDLE>{nullptr}) << "nothing is registered";
    EXPECT_EQ(FaceBoxSelection(), 0);
    EXPECT_EQ(FaceOf(), L"DejaVu Sans") << "the whole text, not only the selection";
    EXPECT_EQ(FormatOf().yHeight, height);
}

TEST_F(ChooserTest, LaterFacesAreAppendedAndLeaveTheSampleAlone) {
    DropFiles({IpaGothicFile()});
    ASSERT_EQ(FaceOf(), kIpaGothic);
    Choose(L"DejaVu Serif");
    EXPECT_EQ(FaceBoxItems(), (Names{kIpaGothic, L"DejaVu Serif"}));
    EXPECT_EQ(FaceBoxSelection(), 0);
    EXPECT_EQ(FaceOf(), kIpaGothic);
    Choose(L"DejaVu Serif");
    EXPECT_EQ(FaceBoxItems(), (Names{kIpaGothic, L"DejaVu Serif"})) << "chosen twice, listed once";
    EXPECT_EQ(LoadedFonts().fontHandles.size(), 2u);
}

TEST_F(ChooserTest, AFileFontAndAnInstalledFaceOfTheSameNameAreListedOnce) {
    DropFiles({DejaVu("DejaVuSans.ttf")});
    Choose(L"DejaVu Sans");
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    ASSERT_EQ(LoadedFonts().fontHandles.size(), 1u);
    EXPECT_NE(LoadedFonts().fontHandles[0], nullptr) << "the file's registration stays";

    Command(IDM_RESET);
    Choose(L"DejaVu Sans");
    DropFiles({DejaVu("DejaVuSans.ttf")});
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().fontHandles, std::vector<HANDLE>{nullptr}) << "the file was not registered";
}

TEST_F(ChooserTest, CancelChangesNothing) {
    const std::wstring face = FaceOf();
    RunChooser([](HWND dialog) {
        PickFace(dialog, L"DejaVu Sans");
        Press(dialog, IDCANCEL);
    });
    EXPECT_TRUE(FaceBoxItems().empty());
    EXPECT_TRUE(LoadedFonts().faceNames.empty());
    EXPECT_EQ(FaceOf(), face);

    DropFiles({IpaGothicFile()});
    RunChooser([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(FaceBoxItems(), Names{kIpaGothic});
    EXPECT_EQ(FaceOf(), kIpaGothic);
}

// What the modal loop does with Alt and a letter: the dialog moves the focus
// to the control that the letter names, if it can be reached.
HWND FocusAfterMnemonic(HWND dialog, wchar_t letter) {
    SetFocus(GetDlgItem(dialog, IDOK));
    MSG key{GetFocus(), WM_SYSCHAR, WPARAM(letter), LPARAM(1) << 29, 0, {}};
    IsDialogMessageW(dialog, &key);
    return GetFocus();
}

RECT RectOn(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(ChooserTest, DialogShowsOnlyTheFaceListBesideItsButtonsAt294By220) {
    RunChooser([&](HWND dialog) {
        RECT window{}, faceList{};
        GetWindowRect(dialog, &window);
        EXPECT_EQ(window.right - window.left, 294);
        EXPECT_EQ(window.bottom - window.top, 220);
        std::vector<int> visible, enabled;
        for (int id : {chx1, chx2, cmb2, cmb3, cmb4, cmb5, stc2, stc3, stc4, stc7, grp2}) {
            if (IsWindowVisible(GetDlgItem(dialog, id))) visible.push_back(id);
            if (IsWindowEnabled(GetDlgItem(dialog, id))) enabled.push_back(id);
        }
        EXPECT_TRUE(visible.empty()) << "style, size, effects, colour, script and sample are hidden";
        EXPECT_EQ(enabled, (std::vector<int>{stc2, stc3, stc4, stc7, grp2})) << "only the labels stay enabled";
        GetClientRect(GetDlgItem(dialog, cmb1), &faceList);
        EXPECT_GT(faceList.right, 0);
        EXPECT_EQ(RectOn(dialog, IDOK).left, faceList.right + 8);
        EXPECT_EQ(RectOn(dialog, IDCANCEL).left, faceList.right + 8);
        EXPECT_LT(RectOn(dialog, IDOK).bottom, RectOn(dialog, IDCANCEL).top) << "each button keeps its own height";
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), hwnd_);
        EXPECT_FALSE(IsWindowEnabled(hwnd_)) << "the dialog is modal to the main window";
        MINMAXINFO limits{};
        SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, 10);
        EXPECT_EQ(limits.ptMinTrackSize.y, 10);
        EXPECT_EQ(limits.ptMaxTrackSize.x, 2048);
        EXPECT_EQ(limits.ptMaxTrackSize.y, 2048);
        const HWND reached = FocusAfterMnemonic(dialog, L'f'), faces = GetDlgItem(dialog, cmb1);
        EXPECT_TRUE(reached == faces || IsChild(faces, reached)) << "the check below would prove nothing";
        // Style, size, strikeout, underline, colour, script.
        for (wchar_t letter : {L'y', L's', L'k', L'u', L'c', L'i'})
            EXPECT_EQ(FocusAfterMnemonic(dialog, letter), GetDlgItem(dialog, IDOK))
                << char(letter) << " reached a hidden control";
        Press(dialog, IDCANCEL);
    });
}

}  // namespace
}  // namespace tavrel::test
