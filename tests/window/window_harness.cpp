#include "window_harness.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_state.h"
#include "application.h"
#include "loaded_font_list.h"
#include "resource_ids.h"

namespace tavrel::test {

namespace {

std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring DecodeFile(const std::vector<std::uint8_t>& bytes, bool& utf16) {
    utf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (!utf16) {
        std::string narrow(bytes.begin(), bytes.end());
        const int units = MultiByteToWideChar(CP_ACP, 0, narrow.data(), int(narrow.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_ACP, 0, narrow.data(), int(narrow.size()), wide.data(), units);
        return wide;
    }
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(wchar_t(bytes[i] | bytes[i + 1] << 8));
    return text;
}

struct Watch {
    std::wstring className;
    std::function<void(HWND)> act;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool seen = false;
};
Watch* activeWatch = nullptr;

BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM found) {
    if (!IsWindowVisible(hwnd) || ClassName(hwnd) != activeWatch->className) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

void CALLBACK OnWatchTick(HWND, UINT, UINT_PTR, DWORD) {
    Watch& watch = *activeWatch;
    if (watch.seen) return;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownWindow, reinterpret_cast<LPARAM>(&found));
    if (found) {
        watch.seen = true;
        KillTimer(nullptr, watch.timer);
        watch.act(found);
    } else if (++watch.ticks > 400) {
        KillTimer(nullptr, watch.timer);
    }
}

HWND SizeBoxEdit() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(appState.hwndSizeCombo, &info);
    return info.hwndItem;
}

}  // namespace

std::wstring SettingsPath() {
    std::wstring path = ModulePath();
    return path.substr(0, path.rfind(L'.')) + L".ini";
}

std::wstring SettingsFile::Value(const std::wstring& key) const {
    for (const auto& [name, value] : keys)
        if (name == key) return value;
    return L"<missing>";
}

SettingsFile ReadSettingsFile() {
    SettingsFile file;
    const std::wstring text = DecodeFile(ReadBytes(SettingsPath()), file.utf16);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == text.npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const std::size_t equals = line.find(L'=');
        if (equals != line.npos) file.keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        start = end + 1;
    }
    return file;
}

void WriteSettingsFile(const std::wstring& lines) {
    std::ofstream out(SettingsPath().c_str(), std::ios::binary);
    out.put(char(0xFF)).put(char(0xFE));
    for (wchar_t c : lines) out.put(char(c & 0xFF)).put(char(c >> 8));
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

WhenWindowShows::WhenWindowShows(const wchar_t* className, std::function<void(HWND)> act) {
    activeWatch = new Watch{className, std::move(act)};
    activeWatch->timer = SetTimer(nullptr, 0, 25, OnWatchTick);
}

WhenWindowShows::~WhenWindowShows() {
    KillTimer(nullptr, activeWatch->timer);
    delete activeWatch;
    activeWatch = nullptr;
}

bool WhenWindowShows::seen() const { return activeWatch->seen; }

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

std::wstring DebianFont(const char* unixPath) {
    std::wstring path = L"Z:" + Utf16(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

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
    Select(from, to);
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

LONG MainWindowTest::TextLength() const {
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return LONG(SendMessageW(appState.hwndSample, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

std::wstring MainWindowTest::SizeBoxText() const { return WindowText(appState.hwndSizeCombo); }

void MainWindowTest::TypeIntoSizeBox(const std::wstring& keys) const {
    const HWND edit = SizeBoxEdit();
    for (wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 1);
}

void MainWindowTest::ClearSizeBox() const {
    const HWND edit = SizeBoxEdit();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
}

void MainWindowTest::Click(HWND button) const {
    SendMessageW(button, BM_CLICK, 0, 0);
    PumpPending();
}

void MainWindowTest::Command(WORD id) const { SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::vector<std::wstring> MainWindowTest::FaceBoxItems() const {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(appState.hwndFaceCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(appState.hwndFaceCombo, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        item.resize(static_cast<std::size_t>(
            SendMessageW(appState.hwndFaceCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

// A drop handle as the shell makes one: DROPFILES followed by the wide paths,
// each terminated, and a final terminator.
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
