// tavrel-probe: reads a running tavrel's window from another process, as the
// end-to-end tests and the launch benchmark need it.
//
//   tavrel-probe wait-shown MS [CLASS]  until a window of the class (tavrel's
//                                       by default) is visible and painted;
//                                       prints the wall-clock time then, in Unix ms
//   tavrel-probe wait-gone MS [CLASS]   until no such window is left
//   tavrel-probe close 0 [CLASS]        asks the window to close (WM_CLOSE)
//   tavrel-probe command ID [CLASS]     posts the window the command ID (WM_COMMAND)
//   tavrel-probe state [0 CLASS]        the window's rectangle and its controls' texts,
//                                       places, the sample's client size and
//                                       the button-face colour
//   tavrel-probe version FILE           the file's version resource, as Explorer reads it
//
// Exit status 0 on success, 1 on a timeout or when there is no window.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "wide_text_win32.h"

namespace {


// Line breaks as \r and \n, so each value stays on one line.
std::string OneLine(const std::wstring& text) {
    std::string line;
    for (char c : tavrel::Utf8FromWide(text))
        line += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[4096] = L"";
    SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<HWND> Children(HWND hwnd) {
    std::vector<HWND> children;
    EnumChildWindows(hwnd, [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Shown, with nothing of it or its controls left to paint.
bool Painted(HWND hwnd) {
    if (!IsWindowVisible(hwnd) || GetUpdateRect(hwnd, nullptr, FALSE)) return false;
    for (HWND child : Children(hwnd))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

long long UnixMilliseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const long long ticks = static_cast<long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL;
}

template <class Done>
bool WaitFor(DWORD milliseconds, Done done) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !done(); Sleep(5))
        if (GetTickCount64() > end) return false;
    return true;
}

void PrintRect(const char* role, HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    std::printf("%s-rect %ld %ld %ld %ld\n", role, rect.left, rect.top, rect.right, rect.bottom);
}

void PrintCombo(const char* role, HWND combo) {
    std::printf("%s %s\n", role, OneLine(TextOf(combo)).c_str());
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[512] = L"";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 512)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        std::printf("%s-item %s\n", role, OneLine(item).c_str());
    }
    PrintRect(role, combo);
    std::printf("%s-dropped %d\n", role, static_cast<int>(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)));
}

// The face box is the drop-down list, the size box the editable drop-down.
int PrintState(const wchar_t* className) {
    const HWND main = FindWindowW(className, nullptr);
    if (!main) return 1;
    PrintRect("window", main);
    std::printf("title %s\n", OneLine(TextOf(main)).c_str());
    for (HWND child : Children(main)) {
        wchar_t childClass[64] = L"";
        GetClassNameW(child, childClass, 64);
        const std::wstring name = childClass;
        if (name == L"RichEdit20W") {
            std::printf("sample %s\n", OneLine(TextOf(child)).c_str());
            PrintRect("sample", child);
            RECT client{};
            GetClientRect(child, &client);
            std::printf("sample-client %ld %ld\n", client.right, client.bottom);
        } else if (name == L"SysTabControl32") {
            PrintRect("tab", child);
        } else if (name == L"ComboBox") {
            const bool list = (GetWindowLongW(child, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
            PrintCombo(list ? "face" : "size", child);
        }
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::printf("button-face %d %d %d\n", GetRValue(face), GetGValue(face), GetBValue(face));
    return 0;
}

int PrintVersion(const wchar_t* file) {
    std::vector<char> info(GetFileVersionInfoSizeW(file, nullptr) + 1);
    UINT size = 0;
    if (!GetFileVersionInfoW(file, 0, static_cast<DWORD>(info.size()), info.data())) return 1;
    for (const wchar_t* key : {L"ProductName", L"ProductVersion", L"FileDescription", L"FileVersion", L"LegalCopyright"}) {
        wchar_t* value = nullptr;
        if (VerQueryValueW(info.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + key).c_str(),
                           reinterpret_cast<void**>(&value), &size))
            std::printf("%s %s\n", tavrel::Utf8FromWide(key).c_str(), tavrel::Utf8FromWide(value).c_str());
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const DWORD timeout = argc > 2 ? static_cast<DWORD>(_wtol(argv[2])) : 30000;
    const wchar_t* className = argc > 3 ? argv[3] : L"tavrel";
    const auto window = [className] { return FindWindowW(className, nullptr); };
    if (command == L"wait-shown") {
        std::printf("waiting\n");
        std::fflush(stdout);
        if (!WaitFor(timeout, [&] { return window() && Painted(window()); })) return 1;
        std::printf("shown %lld\n", UnixMilliseconds());
        return 0;
    }
    if (command == L"wait-gone") return WaitFor(timeout, [&] { return !window(); }) ? 0 : 1;
    if (command == L"state") return PrintState(className);
    if (command == L"version") return argc > 2 ? PrintVersion(argv[2]) : 2;
    if (command == L"close") return PostMessageW(window(), WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == L"command") return PostMessageW(window(), WM_COMMAND, MAKEWPARAM(timeout, 0), 0) ? 0 : 1;
    std::fputs("usage: tavrel-probe wait-shown|wait-gone MS [CLASS] | state|close [0 CLASS] | command ID [CLASS]\n",
               stderr);
    return 2;
}
