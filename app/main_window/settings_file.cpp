#include "settings_file.h"


#include "app_state.h"
#include "point_size.h"
#include "settings_text.h"

namespace tavrel {

namespace {

constexpr wchar_t kSection[] = L"SystemSetting";
constexpr wchar_t kDefaultSample[] = L"フォントの世界は永遠です。\nHello, font world! 0123";

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

int ReadNumber(const wchar_t* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, fallback, appState.iniPath.c_str()));
}

void WriteText(const wchar_t* key, const wchar_t* text) {
    WritePrivateProfileStringW(kSection, key, text, appState.iniPath.c_str());
}

void WriteNumber(const wchar_t* key, int value) {
    wchar_t text[16];
    wsprintfW(text, L" %d", value);
    WriteText(key, text);
}

// Each channel keeps the low 8 bits of what is stored: 300 reads as 44.
COLORREF ReadColor(const std::wstring& prefix, int fallback) {
    const auto channel = [&](const wchar_t* letter) { return ReadNumber((prefix + letter).c_str(), fallback) & 0xFF; };
    return RGB(channel(L"R"), channel(L"G"), channel(L"B"));
}

void WriteColor(const std::wstring& prefix, COLORREF color) {
    WriteNumber((prefix + L"R").c_str(), GetRValue(color));
    WriteNumber((prefix + L"G").c_str(), GetGValue(color));
    WriteNumber((prefix + L"B").c_str(), GetBValue(color));
}

// The private-profile functions write a file they create in the ANSI code
// page, and keep one that starts with a UTF-16 byte-order mark in UTF-16.
void CreateUnicodeFileIfMissing(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

std::wstring SettingsPathFor(const std::wstring& executablePath) {
    const std::size_t nameStart = executablePath.find_last_of(L"\\/") + 1;  // 0 when there is no folder
    const std::size_t dot = executablePath.rfind(L'.');
    const bool hasExtension = dot != executablePath.npos && dot >= nameStart;
    return executablePath.substr(0, hasExtension ? dot : executablePath.size()) + L".ini";
}

void LocateSettingsFile() { appState.iniPath = SettingsPathFor(ExecutablePath()); }

void ReadSampleText() {
    wchar_t stored[kTextUnits] = L"";
    GetPrivateProfileStringW(kSection, L"string", kDefaultSample, stored, kTextUnits, appState.iniPath.c_str());
    const std::wstring text = UnescapeNewlines(stored);
    const std::size_t length = text.copy(appState.sampleText, kTextUnits - 1);
    appState.sampleText[length] = L'\0';
}

// A negative size would otherwise read as some four billion points.
std::uint32_t ReadPointSize() {
    const int stored = ReadNumber(L"pt", kDefaultPointSize);
    return stored < 0 ? kDefaultPointSize : ClampPointSize(static_cast<std::uint32_t>(stored));
}

WindowRect ReadWindowRect() {
    return {ReadNumber(L"x", 10), ReadNumber(L"y", 10), ReadNumber(L"width", 640), ReadNumber(L"height", 360)};
}

COLORREF ReadFontColor() { return ReadColor(L"fontColor", 0); }

COLORREF ReadBackgroundColor() { return ReadColor(L"backgroundColor", 255); }

void WriteSettings(HWND hwndMain) {
    CreateUnicodeFileIfMissing(appState.iniPath);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwndMain, &placement);
    const RECT& restored = placement.rcNormalPosition;
    WriteNumber(L"x", restored.left);
    WriteNumber(L"y", restored.top);
    WriteNumber(L"width", restored.right - restored.left);
    WriteNumber(L"height", restored.bottom - restored.top);
    WriteNumber(L"pt", static_cast<int>(appState.pointSize));
    GetWindowTextW(appState.hwndSample, appState.sampleText, kTextUnits);
    WriteText(L"string", EscapeNewlines(appState.sampleText).c_str());
    WriteColor(L"fontColor", appState.fontColor);
    WriteColor(L"backgroundColor", appState.backgroundColor);
}

}  // namespace tavrel
