// Font files reaching the window: listing, registration with GDI, the
// duplicate rule, the face applied first, and emptying the list again.

#include <filesystem>

#include "app_state.h"
#include "font_builder.h"
#include "font_file_win32.h"
#include "font_sources.h"
#include "heap_meter.h"
#include "loaded_font_list.h"
#include "long_path_win32.h"
#include "resource_ids.h"
#include "window_harness.h"

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
    for (HANDLE handle : Handles()) EXPECT_TRUE(handle) << "a real font registers";
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
    EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), 0);

    DropFiles({text, DejaVu("DejaVuSansMono.ttf")});
    EXPECT_EQ(FaceBoxItems().back(), L"DejaVu Sans Mono");
    EXPECT_EQ(Listed().size(), 4u);
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
}

// Wine opens long paths in any form; Windows only their "\\?\" form (table below).
TEST_F(FontsTest, ACommandLineFontIsOpenedWhateverItsLength) {
    const std::wstring font = LongPathCopy(ScratchFolder(), IpaGothic(), L"Long Path.TTF");
    OpenWindow();
    OpenCommandLineFont((L"tavrel.exe \"" + font + L"\" " + DejaVu("DejaVuSans.ttf")).c_str());
    EXPECT_EQ(Listed(), Names{kIpaGothic}) << "only the first argument is opened";
    EXPECT_EQ(FaceOf(), kIpaGothic);
    OpenCommandLineFont(L"tavrel.exe");
    EXPECT_EQ(Listed().size(), 1u);
}

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
TEST_F(FontsTest, ResetEmptiesTheListAndShowsTheWindowsDefaultFace) {
    OpenWindow();
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    AddInstalledFace(L"Installed Face");
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

    // The same files register anew after a reset.
    DropFiles({DejaVu("DejaVuSans.ttf")});
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(FaceOf(), L"DejaVu Sans");
}

// Wine's trace shows each registration removed once (registrations_released_once.py).
TEST_F(FontsTest, ClosingReleasesTheFontsAndDestroysTheIcons) {
    OpenWindow();
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    const HICON icons[] = {appState.iconMenu, appState.iconBold, appState.iconItalic, appState.iconFontColor,
                           appState.iconBackgroundColor};
    CloseWindow();
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(Handles().empty());
    ICONINFO info{};
    for (HICON icon : icons) EXPECT_FALSE(GetIconInfo(icon, &info)) << "an icon outlived the window";
}

}  // namespace
}  // namespace tavrel::test
