// Font files reaching the window: listing, registration with GDI, the
// duplicate rule, the face applied first, and emptying the list again.

#include "app_state.h"
#include "font_builder.h"
#include "font_file_win32.h"
#include "font_sources.h"
#include "heap_meter.h"
#include "loaded_font_list.h"
#include "long_path_win32.h"
#include "woff_builder.h"
#include "window_harness.h"

namespace tavrel::test {
namespace {

using Names = std::vector<std::wstring>;

const std::wstring kIpaGothic = L"IPAゴシック";

std::wstring DejaVu(const char* file) {
    return DebianFont((std::string("/usr/share/fonts/truetype/dejavu/") + file).c_str());
}
std::wstring IpaGothic() { return DebianFont("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"); }

std::wstring BuiltFont(const std::wstring& folder, const std::wstring& file, const std::u16string& fullName) {
    return WriteScratchFile(folder + L"\\" + file, BuildFontNamed(fullName));
}

const Names& Listed() { return LoadedFonts().faceNames; }
const std::vector<HANDLE>& Handles() { return LoadedFonts().fontHandles; }

using FontsTest = MainWindowTest;

TEST_F(FontsTest, DroppedFontsAreListedInDropOrderAndOnlyTheFirstReachesTheSample) {
    const std::wstring folder = ScratchFolder();
    const std::wstring text = WriteScratchFile(folder + L"\\notes.txt", {'h', 'i'});
    OpenWindow();
    const std::wstring faceBefore = FaceOf(0, TextLength());
    DropFiles({text});
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(FaceOf(0, TextLength()), faceBefore);

    DropFiles({DejaVu("DejaVuSans.ttf"), IpaGothic(), DejaVu("DejaVuSerif.ttf")});
    const Names three = {L"DejaVu Sans", kIpaGothic, L"DejaVu Serif"};
    EXPECT_EQ(Listed(), three);
    EXPECT_EQ(FaceBoxItems(), three);
    for (HANDLE handle : Handles()) EXPECT_TRUE(handle) << "a real font registers";
    EXPECT_EQ(FaceOf(0, TextLength()), L"DejaVu Sans");
    EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), 0);

    DropFiles({text, DejaVu("DejaVuSansMono.ttf")});
    EXPECT_EQ(FaceBoxItems().back(), L"DejaVu Sans Mono");
    EXPECT_EQ(Listed().size(), 4u);
    EXPECT_EQ(FaceOf(0, TextLength()), L"DejaVu Sans");
}

// Wine opens long paths in any form; on Windows only the "\\?\" form does,
// which the table below checks OpenFontFile would use.
TEST_F(FontsTest, FontsUnderPathsOfOver300CharactersOpenFromTheCommandLineAndADrop) {
    const std::wstring folder = ScratchFolder();
    const std::wstring font = LongPathCopy(folder, IpaGothic(), L"Long Path.TTF");
    const std::wstring dropped = LongPathCopy(folder, DejaVu("DejaVuSerif.ttf"), L"Dropped.ttf");
    OpenWindow();
    OpenCommandLineFont((L"tavrel.exe \"" + font + L"\" " + DejaVu("DejaVuSans.ttf")).c_str());
    EXPECT_EQ(Listed(), Names{kIpaGothic}) << "only the first argument is opened";
    EXPECT_EQ(FaceOf(0, TextLength()), kIpaGothic);
    OpenCommandLineFont(L"tavrel.exe");
    DropFiles({dropped});
    EXPECT_EQ(Listed(), (Names{kIpaGothic, L"DejaVu Serif"}));
}

TEST(OpenablePath, LongPathsTakeTheExtendedLengthFormAndShortOnesStayAsGiven) {
    const std::wstring name(280, L'n');
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring here = std::wstring(current).back() == L'\\' ? current : std::wstring(current) + L"\\";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\fonts\\a.ttf", L"C:\\fonts\\a.ttf"},
        {L"relative\\a.ttf", L"relative\\a.ttf"},
        {L"C:\\" + name, L"\\\\?\\C:\\" + name},
        {L"C:/fonts/../" + name, L"\\\\?\\C:\\" + name},
        {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {name, L"\\\\?\\" + here + name},
        {L"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + name},
        {L"\\\\?\\UNC\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
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
    OpenFontFile(collection.c_str());
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
    EXPECT_EQ(FaceOf(0, TextLength()), std::wstring(name.begin(), name.begin() + 31));
}

// A file that reads short would register whatever LocalAlloc left in the rest
// of the buffer.
TEST_F(FontsTest, AFileThatReadsShortOrCannotBeOpenedAddsNothing) {
    const std::wstring path = DejaVu("DejaVuSans.ttf");
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD size = GetFileSize(file, nullptr);
    EXPECT_FALSE(ReadOpenFile(file, size + 100));
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const auto whole = ReadOpenFile(file, size);
    CloseHandle(file);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size, size);
    EXPECT_FALSE(ReadFontFile((ScratchFolder() + L"\\removed.ttf").c_str()));
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

    Command(40004);
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(Handles().empty());
    EXPECT_TRUE(FaceBoxItems().empty());
    wchar_t windowFace[260] = L"";
    const HDC dc = GetDC(hwnd_);
    GetTextFaceW(dc, 260, windowFace);
    ReleaseDC(hwnd_, dc);
    const CHARFORMAT2W all = FormatOf(0, TextLength());
    EXPECT_EQ(std::wstring(all.szFaceName), windowFace);
    EXPECT_EQ(all.yHeight, 30 * 20);
    EXPECT_EQ(all.crTextColor, RGB(0, 0, 0));
    EXPECT_EQ(all.crBackColor, RGB(255, 255, 255));

    // The same files register anew after a reset.
    DropFiles({DejaVu("DejaVuSans.ttf")});
    EXPECT_EQ(FaceBoxItems(), Names{L"DejaVu Sans"});
    EXPECT_EQ(FaceOf(0, TextLength()), L"DejaVu Sans");
}

// Wine's trace shows each registration removed once (registrations_released_once.py).
TEST_F(FontsTest, ClosingReleasesTheFontsAndDestroysTheIcons) {
    OpenWindow();
    DropFiles({DejaVu("DejaVuSans.ttf"), DejaVu("DejaVuSerif.ttf")});
    ASSERT_EQ(Handles().size(), 2u);
    const HICON icons[] = {appState.iconMenu, appState.iconBold, appState.iconItalic, appState.iconFontColor,
                           appState.iconBackgroundColor};
    CloseWindow();
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(Handles().empty());
    for (HICON icon : icons) {
        ICONINFO info{};
        EXPECT_FALSE(GetIconInfo(icon, &info)) << "an icon outlived the window";
    }
}

// A collection whose memory runs out at its third face takes back the first two.
TEST_F(FontsTest, AFileThatRunsOutOfMemoryAddsNothingAndTheWindowGoesOn) {
    const std::wstring folder = ScratchFolder();
    std::vector<std::vector<Table>> members;
    for (const char16_t* name : {u"Member One", u"Member Two", u"Member Three"})
        members.push_back(NamedFontTables(name));
    const std::wstring files[] = {
        WriteScratchFile(folder + L"\\family.ttc", BuildCollection(members)),
        WriteScratchFile(folder + L"\\web.woff", WoffFromSfnt(BuildFontNamed(u"Web Face"))),
        DejaVu("DejaVuSans.ttf"),
    };
    OpenWindow();
    for (const std::wstring& file : files) {
        for (std::size_t allowed = 0;; ++allowed) {
            bool refused = false;
            {
                const FailingAllocations failing(allowed);
                OpenFontFile(file.c_str());
                refused = failing.Refused();
            }
            if (!refused) break;
            ASSERT_TRUE(Listed().empty()) << Utf8(file) << " after " << allowed;
            ASSERT_TRUE(FaceBoxItems().empty());
        }
        EXPECT_FALSE(Listed().empty()) << Utf8(file);
        UnloadAllFonts(true);
    }
}

}  // namespace
}  // namespace tavrel::test
