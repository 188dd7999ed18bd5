// Folders in the window: their fonts listed in Explorer's order while the
// window goes on answering, a second folder after the first, closing part way.

#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include "app_state.h"
#include "font_builder.h"
#include "loaded_font_list.h"
#include "logical_order.h"
#include "resource_ids.h"
#include "window_harness.h"

#include <dlgs.h>

namespace tavrel::test {
namespace {

using Names = std::vector<std::wstring>;

// Built fonts, each named after its file: "sub\f2.ttf" lists "f2".
std::wstring FontFolder(const std::wstring& folder, const Names& files) {
    for (const std::filesystem::path file : files) {
        std::filesystem::create_directories((folder / file).parent_path());
        const std::u16string name = file.stem().u16string();
        WriteScratchFile((folder / file).wstring(), BuildFontNamed(name));
    }
    return folder;
}

Names Numbered(const std::wstring& prefix, int count) {
    Names names;
    for (int i = 0; i < count; ++i) names.push_back(prefix + std::to_wstring(i) + L".ttf");
    return names;
}

// The process's threads. COM, which draws colour glyphs' pictures, may start
// threads of its own at any time, so tests look for a thread that has ended.
std::set<DWORD> ThreadIds() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    std::set<DWORD> ids;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(thread.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

class FoldersTest : public MainWindowTest {
protected:
    // Pumps until `done` holds, for at most `ms` milliseconds, looking after
    // each message: the folder's reading posts its next step as it goes, so
    // pumping until the queue is empty could read a whole folder at once.
    template <class Done>
    bool PumpUntil(Done done, DWORD ms = 30000) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
            if (done()) return true;
            MSG message;
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            } else if (message.message != WM_QUIT) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return false;
    }
};

TEST_F(FoldersTest, DroppedFoldersListTheirFontsInExplorersOrderOneAfterTheOtherWhileTheWindowAnswers) {
    const std::wstring scratch = ScratchFolder();
    FontFolder(scratch + L"\\one", {L"sub 2.ttf", L"sub2.ttf", L"sub\\a.ttf", L"f10.ttf", L"f2.ttf", L"F1.ttf"});
    WriteScratchFile(scratch + L"\\one\\notes.txt", {'x'});
    FontFolder(scratch + L"\\two", Numbered(L"z", 150));
    OpenWindow();
    // Another thread asks for the title, as a person's tools would, throughout the load.
    std::atomic<bool> loading = true, asked = false, progressShown = false;
    std::atomic<int> answeredWhileLoading = 0;
    std::jthread asker([&] {
        for (wchar_t title[64]; loading;) {
            DWORD_PTR length = 0;
            if (!SendMessageTimeoutW(hwnd_, WM_GETTEXT, 64, LPARAM(title), 0, 10000, &length)) continue;
            answeredWhileLoading += std::wstring_view(title).starts_with(L"tavrel - 読み込み中");
            progressShown = progressShown || std::wstring_view(title).ends_with(L" / 150");
        }
        asked = true;
    });
    DropFiles({scratch + L"\\one", scratch + L"\\two"});
    EXPECT_TRUE(PumpUntil([&] { return WindowText(hwnd_) == L"tavrel"; }));
    loading = false;
    PumpUntil([&] { return bool(asked); });
    Names expected = {L"F1", L"f2", L"f10", L"a", L"sub2", L"sub 2"};
    for (const std::wstring& file : Numbered(L"z", 150)) expected.push_back(file.substr(0, file.size() - 4));
    EXPECT_EQ(LoadedFonts().faceNames, expected);
    EXPECT_EQ(FaceBoxItems(), expected);
    EXPECT_EQ(FaceOf(), L"F1") << "the first face reached an empty list";
    EXPECT_TRUE(progressShown);
    EXPECT_GT(answeredWhileLoading, 2) << "the window did not answer while the folders loaded";
}

// The folder comes through the menu's picker, its path typed as a person
// would. The settings file is compared with one a clean close wrote. (Wine
// registers none of these small built fonts, so the font trace of
// registrations_released_once.py has nothing of this test to check.)
TEST_F(FoldersTest, ClosingPartWayStopsTheReadingAndClosesAsAlways) {
    const std::wstring folder = FontFolder(ScratchFolder(), Numbered(L"f", 300));
    OpenWindow();
    CloseWindow();
    const SettingsFile clean = ReadSettingsFile();
    OpenWindow();
    const auto pick = [&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), L"フォルダを選択");
        SetDlgItemTextW(dialog, edt1, folder.c_str());
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    };
    ASSERT_TRUE(WhenShown(L"#32770", pick, [&] { Command(IDM_ADD_FOLDER); }));
    ASSERT_TRUE(PumpUntil([] { return LoadedFonts().faceNames.size() >= 3; }));
    // The reader runs at most eight files ahead, so with fewer listed it is still there.
    ASSERT_LT(LoadedFonts().faceNames.size(), 250u) << "the folder was read before the window could close part way";
    const std::set<DWORD> whileReading = ThreadIds();
    CloseWindow();
    const std::set<DWORD> after = ThreadIds();
    EXPECT_TRUE(std::any_of(whileReading.begin(), whileReading.end(), [&](DWORD id) { return !after.count(id); }))
        << "the reader outlived the window";
    EXPECT_EQ(ReadSettingsFile().keys, clean.keys);
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(LoadedFonts().fontHandles.empty()) << "a face was listed after the window closed";
}

// The face GDI finds for the name: a substitute until it is registered.
std::wstring GdiFace(HWND hwnd, const std::wstring& name) {
    LOGFONTW wanted{};
    name.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    const HDC dc = GetDC(hwnd);
    const HGDIOBJ font = CreateFontIndirectW(&wanted), old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(hwnd, dc);
    return face;
}

TEST_F(FoldersTest, ALibrarysFacesAreRegisteredWhenChosenAndAFileChangedSinceIsRefused) {
    const std::wstring folder = ScratchFolder() + L"\\library";
    std::filesystem::copy(WinePath(TAVREL_WINDOW_LIBRARY), folder, std::filesystem::copy_options::recursive);
    WriteScratchFile(folder + L"\\damaged.ttf", {0, 1, 0, 0, 0, 9});
    OpenWindow();
    DropFiles({folder});
    ASSERT_TRUE(PumpUntil([&] { return WindowText(hwnd_) == L"tavrel"; }));
    const LoadedFontList& list = LoadedFonts();
    ASSERT_EQ(list.faceNames.size(), 300u);
    EXPECT_EQ(std::count(list.fontHandles.begin(), list.fontHandles.end(), nullptr), 299) << "only the sample's face";
    // Not face 7: Wine keeps the face it found for a font and would give the substitute again.
    EXPECT_NE(GdiFace(hwnd_, list.faceNames[8]), list.faceNames[8]);
    PickFace(7);
    EXPECT_EQ(GdiFace(appState.hwndSample, FaceOf()), list.faceNames[7]) << "the sample draws the face chosen";
    std::filesystem::remove(list.faceSources[9].path);
    WriteScratchFile(list.faceSources[10].path, {0, 1, 0, 0});
    for (LRESULT refused : {9, 10}) {
        PickFace(refused);
        EXPECT_FALSE(list.fontHandles[refused]);
        EXPECT_EQ(FaceOf(), list.faceNames[7]) << "a refused face changes nothing";
        EXPECT_EQ(SendMessageW(appState.hwndFaceCombo, CB_GETCURSEL, 0, 0), 7);
    }
    std::vector<std::string> reasons;
    // Not the test's own command line, which the window takes for a file to open.
    for (const RefusedFile& file : list.refusedFiles)
        if (file.path.starts_with(folder)) reasons.push_back(file.reason);
    EXPECT_EQ(reasons, (std::vector<std::string>{"the file is too short to be a font",
                                                  "the file is gone", "the file changed since it was listed"}));
    PickFace(12);
    EXPECT_EQ(GdiFace(appState.hwndSample, FaceOf()), list.faceNames[12]) << "the rest stay usable";
    const std::size_t refusedBefore = list.refusedFiles.size();
    DropFiles({folder + L"\\damaged.ttf"});
    ASSERT_EQ(list.refusedFiles.size(), refusedBefore) << "a file refused again is kept once, with its newest reason";
    DropFiles({folder + L"\\missing.ttf"});
    ASSERT_EQ(list.refusedFiles.size(), refusedBefore + 1) << "a file dropped alone is kept with its reason";
    EXPECT_EQ(list.refusedFiles.back().reason, "cannot read the file");
}

TEST(LogicalOrder, AgreesWithStrCmpLogicalW) {
    const Names names = {L"f2.ttf", L"F10.ttf", L"f1.ttf", L"f01.ttf", L"f1a.ttf", L"f.ttf", L"f-b.ttf", L"f_b.ttf",
                         L"f b.ttf", L"f.b.ttf", L"f(1).ttf", L"f~.ttf", L"f+.ttf", L"f'.ttf", L"NotoSans-Bold.ttf",
                         L"Noto Sans.ttf", L"NotoSansJP.otf", L"a1b10", L"A1B2", L"a1b", L"フォント2.ttf",
                         L"フォント10.ttf", L"日本語.otf", L"sub", L"sub2", L"sub 2"};
    for (const std::wstring& a : names)
        for (const std::wstring& b : names) {
            const int theirs = StrCmpLogicalW(a.c_str(), b.c_str());
            EXPECT_EQ(CompareLogically(std::u16string(a.begin(), a.end()), std::u16string(b.begin(), b.end())),
                      (theirs > 0) - (theirs < 0))
                << Utf8(a) << " and " << Utf8(b);
        }
}

}  // namespace
}  // namespace tavrel::test
