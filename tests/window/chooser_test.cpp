// The installed-font chooser driven through its real dialog: the face picked
// in the list joins the face box, under the rule that a name is listed once.

#include "app_state.h"
#include "font_builder.h"
#include "loaded_font_list.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

namespace tavrel::test {
namespace {

using Names = std::vector<std::wstring>;

std::wstring DejaVuSansFile() { return DebianFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }
std::wstring IpaGothicFile() { return DebianFont("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"); }
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
        WhenWindowShows dialog(L"#32770", std::move(act));
        Command(IDM_ADD_INSTALLED_FONT);
        EXPECT_TRUE(dialog.seen());
    }
    void Choose(const wchar_t* face) {
        RunChooser([face](HWND dialog) {
            PickFace(dialog, face);
            Press(dialog, IDOK);
        });
    }

    LRESULT FaceBoxSelection() const { return SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0); }
    std::wstring FaceOfAll() const { return FaceOf(0, TextLength()); }
};

TEST_F(ChooserTest, FirstFaceListedIsSelectedAndSetOnAllTheText) {
    Select(0, 3);
    const LONG height = FormatOf(0, TextLength()).yHeight;
    Choose(L"DejaVu Sans");
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().faceNames, Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().fontHandles, std::vector<HANDLE>{nullptr}) << "nothing is registered";
    EXPECT_EQ(FaceBoxSelection(), 0);
    EXPECT_EQ(FaceOfAll(), L"DejaVu Sans") << "the whole text, not only the selection";
    EXPECT_EQ(FormatOf(0, TextLength()).yHeight, height);
}

TEST_F(ChooserTest, LaterFacesAreAppendedAndLeaveTheSampleAlone) {
    DropFiles({IpaGothicFile()});
    ASSERT_EQ(FaceOfAll(), kIpaGothic);
    Choose(L"DejaVu Serif");
    EXPECT_EQ(FaceBoxItems(), (Names{kIpaGothic, L"DejaVu Serif"}));
    EXPECT_EQ(FaceBoxSelection(), 0);
    EXPECT_EQ(FaceOfAll(), kIpaGothic);
    Choose(L"DejaVu Serif");
    EXPECT_EQ(FaceBoxItems(), (Names{kIpaGothic, L"DejaVu Serif"})) << "chosen twice, listed once";
    EXPECT_EQ(LoadedFonts().fontHandles.size(), 2u);
}

TEST_F(ChooserTest, AFileFontAndAnInstalledFaceOfTheSameNameAreListedOnce) {
    DropFiles({DejaVuSansFile()});
    Choose(L"DejaVu Sans");
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    ASSERT_EQ(LoadedFonts().fontHandles.size(), 1u);
    EXPECT_NE(LoadedFonts().fontHandles[0], nullptr) << "the file's registration stays";

    Command(IDM_RESET);
    Choose(L"DejaVu Sans");
    DropFiles({DejaVuSansFile()});
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(LoadedFonts().fontHandles, std::vector<HANDLE>{nullptr}) << "the file was not registered";
}

TEST_F(ChooserTest, NamesDifferingOnlyInCaseAreTwoFaces) {
    const std::wstring file =
        WriteScratchFile(ScratchFolder() + L"\\lower.ttf", BuildFontNamed(u"dejavu sans"));
    DropFiles({file});
    ASSERT_EQ(FaceBoxItems(), Names{L"dejavu sans"});
    Choose(L"DejaVu Sans");
    EXPECT_EQ(FaceBoxItems(), (Names{L"dejavu sans", L"DejaVu Sans"}));
}

TEST_F(ChooserTest, CancelChangesNothing) {
    const std::wstring face = FaceOfAll();
    RunChooser([](HWND dialog) {
        PickFace(dialog, L"DejaVu Sans");
        Press(dialog, IDCANCEL);
    });
    EXPECT_TRUE(FaceBoxItems().empty());
    EXPECT_TRUE(LoadedFonts().faceNames.empty());
    EXPECT_EQ(FaceOfAll(), face);

    DropFiles({IpaGothicFile()});
    RunChooser([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(FaceBoxItems(), Names{kIpaGothic});
    EXPECT_EQ(FaceOfAll(), kIpaGothic);
}

TEST_F(ChooserTest, AfterAResetTheFaceIsGoneAndCanBeAddedAgain) {
    Choose(L"DejaVu Sans Mono");
    Command(IDM_RESET);
    EXPECT_TRUE(FaceBoxItems().empty());
    EXPECT_TRUE(LoadedFonts().faceNames.empty());
    Choose(L"DejaVu Sans Mono");
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans Mono"});
    EXPECT_EQ(FaceOfAll(), L"DejaVu Sans Mono");
}

// What the modal loop does with Alt and a letter: the dialog moves the focus
// to the control that the letter names, if it can be reached.
HWND FocusAfterMnemonic(HWND dialog, wchar_t letter) {
    SetFocus(GetDlgItem(dialog, IDOK));
    MSG key{GetFocus(), WM_SYSCHAR, WPARAM(letter), LPARAM(1) << 29, 0, {}};
    IsDialogMessageW(dialog, &key);
    return GetFocus();
}

struct DialogSeen {
    RECT window{};
    int faceListWidth = 0;
    RECT ok{};
    RECT cancel{};
    std::vector<int> visible;
    std::vector<int> enabled;
    bool ownerDisabled = false;
    HWND owner = nullptr;
    MINMAXINFO limits{};
    bool faceLabelReachable = false;
    std::vector<int> reachedByMnemonic;
};

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

DialogSeen Inspect(HWND dialog, HWND main) {
    DialogSeen seen;
    GetWindowRect(dialog, &seen.window);
    RECT faceList{};
    GetClientRect(GetDlgItem(dialog, cmb1), &faceList);
    seen.faceListWidth = faceList.right;
    seen.ok = ClientRectOf(dialog, IDOK);
    seen.cancel = ClientRectOf(dialog, IDCANCEL);
    for (int id : {chx1, chx2, cmb2, cmb3, cmb4, cmb5, stc2, stc3, stc4, stc7, grp2}) {
        if (IsWindowVisible(GetDlgItem(dialog, id))) seen.visible.push_back(id);
        if (IsWindowEnabled(GetDlgItem(dialog, id))) seen.enabled.push_back(id);
    }
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerDisabled = !IsWindowEnabled(main);
    SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&seen.limits));
    const HWND faceList1 = GetDlgItem(dialog, cmb1);
    const HWND reached = FocusAfterMnemonic(dialog, L'f');
    seen.faceLabelReachable = reached == faceList1 || IsChild(faceList1, reached);
    // Style, size, strikeout, underline, colour, script.
    for (wchar_t letter : {L'y', L's', L'k', L'u', L'c', L'i'}) {
        const HWND focus = FocusAfterMnemonic(dialog, letter);
        if (focus != GetDlgItem(dialog, IDOK)) seen.reachedByMnemonic.push_back(GetDlgCtrlID(focus));
    }
    return seen;
}

TEST_F(ChooserTest, DialogShowsOnlyTheFaceListBesideItsButtonsAt294By220) {
    DialogSeen seen;
    RunChooser([&](HWND dialog) {
        seen = Inspect(dialog, hwnd_);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(seen.window.right - seen.window.left, 294);
    EXPECT_EQ(seen.window.bottom - seen.window.top, 220);
    EXPECT_TRUE(seen.visible.empty()) << "style, size, effects, colour, script and sample are hidden";
    EXPECT_EQ(seen.enabled, (std::vector<int>{stc2, stc3, stc4, stc7, grp2})) << "only the labels stay enabled";
    EXPECT_GT(seen.faceListWidth, 0);
    EXPECT_EQ(seen.ok.left, seen.faceListWidth + 8);
    EXPECT_EQ(seen.cancel.left, seen.faceListWidth + 8);
    EXPECT_LT(seen.ok.bottom, seen.cancel.top) << "each button keeps its own height on the dialog";
    EXPECT_EQ(seen.owner, hwnd_);
    EXPECT_TRUE(seen.ownerDisabled) << "the dialog is modal to the main window";
    EXPECT_EQ(seen.limits.ptMinTrackSize.x, 10);
    EXPECT_EQ(seen.limits.ptMinTrackSize.y, 10);
    EXPECT_EQ(seen.limits.ptMaxTrackSize.x, 2048);
    EXPECT_EQ(seen.limits.ptMaxTrackSize.y, 2048);
    EXPECT_TRUE(seen.faceLabelReachable) << "the check below would prove nothing";
    EXPECT_TRUE(seen.reachedByMnemonic.empty()) << "a hidden control took the focus";
}

}  // namespace
}  // namespace tavrel::test
