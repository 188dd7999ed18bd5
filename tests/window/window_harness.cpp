#include "window_harness.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app_state.h"
#include "application.h"
#include "loaded_font_list.h"
#include "resource_ids.h"

namespace tavrel::test {

namespace {

struct Watch {
    std::wstring className;
    std::function<void(HWND)> act;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool seen = false;
};
Watch* activeWatch = nullptr;

void CALLBACK OnWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    Watch& watch = *activeWatch;
    if (watch.seen) return;
    HWND found = nullptr;
    const auto shown = [](HWND hwnd, LPARAM found) -> BOOL {
        if (!IsWindowVisible(hwnd) || ClassName(hwnd) != activeWatch->className) return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    };
    EnumThreadWindows(GetCurrentThreadId(), shown, reinterpret_cast<LPARAM>(&found));
    if (found || ++watch.ticks > 400) KillTimer(nullptr, watch.timer);
    if (!found) return;
    watch.seen = true;
    watch.act(found);
}

}  // namespace

std::wstring SettingsPath() {
    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring path = module;
    return path.substr(0, path.rfind(L'.')) + L".ini";
}

std::wstring SettingsFile::Value(const std::wstring& key) const {
    for (const auto& [name, value] : keys)
        if (name == key) return value;
    return L"<missing>";
}

SettingsFile ReadSettingsFile() {
    std::ifstream in(SettingsPath().c_str(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    SettingsFile file;
    file.utf16 = bytes.starts_with("\xFF\xFE");
    std::wstring text(bytes.size(), L'\0');
    if (file.utf16)
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    else
        text.resize(std::size_t(
            MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), int(text.size()))));
    std::wistringstream lines(text);
    for (std::wstring line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const std::size_t equals = line.find(L'=');
        if (equals != line.npos) file.keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return file;
}

void WriteSettingsFile(const std::wstring& lines) {
    const std::wstring text = L'\xFEFF' + lines;  // little-endian, as the file wants it
    std::ofstream(SettingsPath().c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(text.data()), std::streamsize(text.size() * sizeof(wchar_t)));
}

void PumpPending() {
    static const HACCEL accelerators = CreateAccelerators();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        const HWND main = IsWindow(appState.hwndSample) ? GetParent(appState.hwndSample) : nullptr;
        if (main && TranslateAppMessage(main, accelerators, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool WhenShown(const wchar_t* className, const std::function<void(HWND)>& act, const std::function<void()>& trigger) {
    Watch watch{className, act};
    activeWatch = &watch;
    watch.timer = SetTimer(nullptr, 0, 25, OnWatchTick);
    trigger();
    KillTimer(nullptr, watch.timer);
    activeWatch = nullptr;
    return watch.seen;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = L"";
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items(static_cast<std::size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
    for (std::size_t i = 0; i < items.size(); ++i) {
        wchar_t item[256] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        items[i] = item;
    }
    return items;
}

void HoldControl(bool down) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:" + Utf16(unixPath.c_str());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring DebianFont(const std::string& underShareFonts) { return WinePath("/usr/share/fonts/" + underShareFonts); }

std::wstring DejaVu(const std::string& file) { return DebianFont("truetype/dejavu/" + file); }

std::wstring ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"tavrel-window-tests\\" + Utf16(test->test_suite_name()) +
                                L"." + Utf16(test->name());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

std::wstring WriteScratchFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

void MainWindowTest::SetUp() {
    appState = AppState{};
    UnloadAllFonts(false);
    DeleteFileW(SettingsPath().c_str());
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), L"tavrel", &registered)) {
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    }
}

void MainWindowTest::TearDown() {
    if (hwnd_ && IsWindow(hwnd_)) CloseWindow();
    UnloadAllFonts(false);
}

HWND MainWindowTest::OpenWindow() {
    hwnd_ = CreateMainWindow(GetModuleHandleW(nullptr));
    EXPECT_TRUE(hwnd_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    PumpPending();
    return hwnd_;
}

void MainWindowTest::CloseWindow() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit message after closing";
    EXPECT_FALSE(IsWindow(hwnd_));
    PumpPending();
}

std::wstring MainWindowTest::SampleText() const { return WindowText(appState.hwndSample); }

void MainWindowTest::Select(LONG from, LONG to) const {
    CHARRANGE range{from, to};
    SendMessageW(appState.hwndSample, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARFORMAT2W MainWindowTest::FormatOf(LONG from, LONG to) const {
    CHARRANGE kept{};
    SendMessageW(appState.hwndSample, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    Select(from, to < 0 ? LONG(SendMessageW(appState.hwndSample, EM_GETTEXTLENGTHEX, WPARAM(&length), 0)) : to);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(appState.hwndSample, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(appState.hwndSample, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    return format;
}

std::wstring MainWindowTest::FaceOf(LONG from, LONG to) const {
    const CHARFORMAT2W format = FormatOf(from, to);
    return format.dwMask & CFM_FACE ? std::wstring(format.szFaceName) : L"<mixed>";
}

std::wstring MainWindowTest::SizeBoxText() const { return WindowText(appState.hwndSizeCombo); }

void MainWindowTest::Command(WORD id) const { SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::vector<std::wstring> MainWindowTest::FaceBoxItems() const { return ComboItems(appState.hwndFaceCombo); }

// A drop handle as the shell makes one: DROPFILES followed by the wide paths,
// each terminated, and a final terminator.
void MainWindowTest::PickFace(LRESULT item) const {
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, WPARAM(item), 0);
    SendMessageW(appState.hwndToolbar, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(appState.hwndFaceCombo));
}

void MainWindowTest::DropFiles(const std::vector<std::wstring>& paths) const {
    std::wstring list;
    for (const auto& path : paths) list += path + L'\0';
    list += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    const HGLOBAL drop = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(drop);
    SendMessageW(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace tavrel::test
