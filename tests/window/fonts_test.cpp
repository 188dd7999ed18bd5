// Faces reaching the window, from files and from the installed-font chooser:
// listing, registration with GDI, the duplicate rule, the face applied first,
// and emptying the list again.

#include <filesystem>

#include "app_state.h"
#include "font_builder.h"
#include "font_file_win32.h"
#include "heap_meter.h"
#include "loaded_font_list.h"
#include "long_path_win32.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

namespace tavrel::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kIpaGothic = L"IPAゴシック";

std::wstring IpaGothic() { return DebianFont("opentype/ipafont-gothic/ipag.ttf"); }

std::wstring BuiltFont(const std::wstring& folder, const std::wstring& file, const std::u16string& fullName) {
    return WriteScratchFile(folder + L"\\" + file, BuildFontNamed(fullName));
}

std::wstring LongPathCopy(std::wstring folder, const std::wstring& font, const std::wstring& fileName) {
    while (folder.size() < 300) folder += L"\\a-rather-long-folder-name";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(CopyFileW(font.c_str(), (folder + L"\\" + fileName).c_str(), FALSE));
    return folder + L"\\" + fileName;
}

const Names& Listed() { return LoadedFonts().faceNames; }
const std::vector<HANDLE>& Handles() { return LoadedFonts().fontHandles; }

using FontsTest = MainWindowTest;

TEST_F(FontsTest, DroppedFontsAreListedInDropOrderAndOnlyTheFirstReachesTheSample) {
    const std::wstring folder = ScratchFolder();
    const std::wstring text = WriteScratchFile(folder + L"\\notes.txt", {'h', 'i'});
    OpenWindow();
    const std::wstring faceBefore = FaceOf();
    DropFiles({text});
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(FaceOf(), faceBefore);

    DropFiles({DejaVu("DejaVuSans.ttf"), IpaGothic(), LongPathCopy(folder, DejaVu("DejaVuSerif.ttf"), L"a.ttf")});
    const Names three = {L"DejaVu Sans", kIpaGothic, L"DejaVu Serif"};
    EXPECT_EQ(Listed(), three);
    EXPECT_EQ(FaceBoxItems(), three);
    EXPECT_TRUE(Handles()[0] && !Handles()[1] && !Handles()[2]) << "only the face shown is registered";
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
    EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), 0);

    DropFiles({text, DejaVu("DejaVuSansMono.ttf")});
    EXPECT_EQ(FaceBoxItems().back(), L"DejaVu Sans Mono");
    EXPECT_EQ(Listed().size(), 4u);
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
}

// Wine opens long paths in any form; Windows only their "\\?\" form.
TEST(OpenablePath, LongPathsTakeTheExtendedLengthFormAndShortOnesStayAsGiven) {
    const std::wstring name(280, L'n'), prefix = L"\\\\?\\";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"relative.ttf", L"relative.ttf"},
        {L"C:/fonts/../" + name, prefix + L"C:\\" + name},
        {L"\\\\server\\share\\" + name, prefix + L"UNC\\server\\share\\" + name},
        {name, prefix + (std::filesystem::current_path() / name).wstring()},
        {prefix + L"UNC\\server\\" + name, prefix + L"UNC\\server\\" + name},
    };
    for (const auto& [given, openable] : cases) EXPECT_EQ(OpenablePath(given.c_str()), openable) << Utf8(given);
}

TEST_F(FontsTest, DuplicateNamesAreListedAndRegisteredOnce) {
    const std::wstring folder = ScratchFolder();
    const std::wstring copy = folder + L"\\another name.ttf";
    ASSERT_TRUE(CopyFileW(DejaVu("DejaVuSans.ttf").c_str(), copy.c_str(), FALSE));
    OpenWindow();
    OpenFontFile(DejaVu("DejaVuSans.ttf").c_str());
    OpenFontFile(DejaVu("DejaVuSans.ttf").c_str());
    OpenFontFile(copy.c_str());
    EXPECT_EQ(Listed(), Names{L"DejaVu Sans"});
    EXPECT_EQ(Handles().size(), 1u);

    // Letter case counts: these are two faces.
    OpenFontFile(BuiltFont(folder, L"upper.ttf", u"Case Face").c_str());
    OpenFontFile(BuiltFont(folder, L"lower.otf", u"case face").c_str());
    EXPECT_EQ(FaceBoxItems(), (Names{L"DejaVu Sans", L"Case Face", L"case face"}));
    EXPECT_EQ(Handles().size(), 3u);
}

TEST_F(FontsTest, CollectionListsEachNewMemberName) {
    const std::wstring folder = ScratchFolder();
    std::vector<std::vector<Table>> members;
    for (const char16_t* name : {u"Member One", u"Member Two", u"Member One", u"Member Three"})
        members.push_back(NamedFontTables(name));
    const std::wstring collection = WriteScratchFile(folder + L"\\family.TTC", BuildCollection(members));
    OpenWindow();
    OpenFontFile(BuiltFont(folder, L"two.ttf", u"Member Two").c_str());
    // Memory running out anywhere in the load takes back the faces it had added.
    for (std::size_t allowed = 0; RunsOutOfMemory(allowed, [&] { OpenFontFile(collection.c_str()); }); ++allowed)
        ASSERT_EQ(FaceBoxItems(), Names{L"Member Two"}) << allowed;
    EXPECT_EQ(FaceBoxItems(), (Names{L"Member Two", L"Member One", L"Member Three"}));
    EXPECT_EQ(Handles().size(), 3u);
}

// Every member shares the one registration, which the reset (and the trace) releases once.
TEST_F(FontsTest, ACollectionIsRegisteredOnceForAllItsMembers) {
    OpenWindow();
    DropFiles({DebianFont("opentype/noto/NotoSansCJK-Regular.ttc")});
    ASSERT_EQ(Handles().size(), 10u);
    PickFace(7);
    EXPECT_EQ(FaceOf(), Listed()[7]);
    for (HANDLE handle : Handles()) EXPECT_TRUE(handle && handle == Handles()[0]);
    Command(IDM_RESET);
}

TEST_F(FontsTest, LongFaceNameIsListedWholeAndAppliedCutTo31Characters) {
    const std::u16string name = u"A Face Name Of Exactly Forty Characters!";
    ASSERT_EQ(name.size(), 40u);
    const std::wstring font = BuiltFont(ScratchFolder(), L"long.ttf", name);
    OpenWindow();
    DropFiles({font});
    ASSERT_EQ(FaceBoxItems(), Names{std::wstring(name.begin(), name.end())});
    EXPECT_EQ(FaceOf(), std::wstring(name.begin(), name.begin() + 31));
}

// A file that reads short would register whatever LocalAlloc left in the rest
// of the buffer.
TEST_F(FontsTest, AFileThatReadsShortOrCannotBeOpenedAddsNothing) {
    const std::wstring path = DejaVu("DejaVuSans.ttf");
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD size = GetFileSize(file, nullptr);
    EXPECT_FALSE(ReadOpenFile(file, size + 100));
    CloseHandle(file);
    OpenWindow();
    OpenFontFile((ScratchFolder() + L"\\removed.ttf").c_str());
    EXPECT_TRUE(Listed().empty());
}

// That each registration is removed exactly once is checked from Wine's own
// trace of the font calls (registrations_released_once.py): Wine's
// RemoveFontMemResourceEx reports success for any handle.
TEST_F(FontsTest, ResetEmptiesTheListAndShowsTheWindowsDefaultFaceAndClosingReleasesAll) {
    OpenWindow();
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    AddInstalledFace(L"Installed Face");
    PickFace(1);
    ASSERT_TRUE(Handles()[0] && Handles()[1]);
    EXPECT_EQ(Handles()[2], nullptr);
    appState.pointSize = 30;

    Command(IDM_RESET);
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(Handles().empty());
    EXPECT_TRUE(FaceBoxItems().empty());
    wchar_t windowFace[260] = L"";
    const HDC dc = GetDC(hwnd_);
    GetTextFaceW(dc, 260, windowFace);
    ReleaseDC(hwnd_, dc);
    const CHARFORMAT2W all = FormatOf();
    EXPECT_EQ(std::wstring(all.szFaceName), windowFace);
    EXPECT_EQ(all.yHeight, 30 * 20);
    EXPECT_EQ(all.crTextColor, RGB(0, 0, 0));
    EXPECT_EQ(all.crBackColor, RGB(255, 255, 255));

    // The same files register anew after a reset; closing releases them and destroys the icons.
    DropFiles({DejaVu("DejaVuSans.ttf")});
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
    const HICON icons[] = {appState.iconMenu, appState.iconBold, appState.iconItalic, appState.iconFontColor,
                           appState.iconBackgroundColor};
    CloseWindow();
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(Handles().empty());
    ICONINFO info{};
    for (HICON icon : icons) EXPECT_FALSE(GetIconInfo(icon, &info)) << "an icon outlived the window";
}

// The installed-font chooser driven through its real dialog: the face picked
// in the list joins the face box, under the same rule that a name is listed once.
class ChooserTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenWindow();
    }

    // Runs the menu command; `act` answers the dialog once it shows.
    void RunChooser(const std::function<void(HWND)>& act) {
        EXPECT_TRUE(WhenShown(L"#32770", act, [&] { Command(IDM_ADD_INSTALLED_FONT); }));
    }
    // A click on `face` in the dialog's list, unless null, then on `button`.
    void Choose(const wchar_t* face, int button = IDOK) {
        RunChooser([&](HWND dialog) {
            const HWND list = GetDlgItem(dialog, cmb1);
            if (face) {
                const LRESULT item = SendMessageW(list, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(face));
                EXPECT_NE(item, CB_ERR) << Utf8(face) << " is not offered";
                SendMessageW(list, CB_SETCURSEL, WPARAM(item), 0);
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            }
            SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        });
    }
};

TEST_F(ChooserTest, TheFirstFaceIsSetOnAllTheTextAndLaterOnesAreAppended) {
    Select(0, 3);
    const LONG height = FormatOf().yHeight;
    Choose(L"DejaVu Sans");
    EXPECT_EQ(LoadedFonts().fontHandles, std::vector<HANDLE>{nullptr}) << "nothing is registered";
    EXPECT_EQ(FaceOf(), L"DejaVu Sans") << "the whole text, not only the selection";
    EXPECT_EQ(FormatOf().yHeight, height);
    Choose(L"DejaVu Serif");
    Choose(L"DejaVu Serif");
    EXPECT_EQ(FaceBoxItems(), (Names{L"DejaVu Sans", L"DejaVu Serif"})) << "chosen twice, listed once";
    EXPECT_EQ(LoadedFonts().faceNames, FaceBoxItems());
    EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(FaceOf(), L"DejaVu Sans") << "a later face leaves the sample alone";
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
    Choose(L"DejaVu Sans", IDCANCEL);
    EXPECT_TRUE(FaceBoxItems().empty());
    EXPECT_TRUE(LoadedFonts().faceNames.empty());
    EXPECT_EQ(FaceOf(), face);

    DropFiles({IpaGothic()});
    Choose(nullptr, IDCANCEL);
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
        SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
}

}  // namespace
}  // namespace tavrel::test
