#include "installed_files.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <new>

namespace tavrel {

namespace {

constexpr wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

std::wstring FontsFolder() {
    wchar_t windows[MAX_PATH] = L"";
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, length < MAX_PATH ? length : 0) + L"\\Fonts\\";
}

void AddPathsOf(HKEY root, std::vector<std::wstring>& paths) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kFontsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    const std::wstring folder = FontsFolder();
    for (DWORD index = 0;; ++index) {
        wchar_t name[512], value[1024];
        DWORD nameLength = 512, valueBytes = sizeof value - sizeof(wchar_t), type = 0;
        const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(value), &valueBytes);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
        value[valueBytes / sizeof(wchar_t)] = L'\0';
        if (value[0]) paths.push_back(PathIsRelativeW(value) ? folder + value : std::wstring(value));
    }
    RegCloseKey(key);
}

}  // namespace

std::vector<std::wstring> InstalledFontPaths() {
    std::vector<std::wstring> paths;
    AddPathsOf(HKEY_LOCAL_MACHINE, paths);
    AddPathsOf(HKEY_CURRENT_USER, paths);
    const auto before = [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; };
    const auto same = [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; };
    std::sort(paths.begin(), paths.end(), before);
    paths.erase(std::unique(paths.begin(), paths.end(), same), paths.end());
    return paths;
}

// A file that cannot be listed is left out: the fonts' own list of refusals
// is the folders' the person opened.
InstalledFiles::InstalledFiles(HWND notify, UINT message)
    : thread_([this, notify, message] {
          try {
              for (const std::wstring& path : InstalledFontPaths()) {
                  if (stopping_) return;
                  if (auto listed = ListFontFileAt(path.c_str())) listed_.push_back(std::move(listed.value()));
              }
          } catch (const std::bad_alloc&) {
          }
          PostMessageW(notify, message, 0, 0);
      }) {}

InstalledFiles::~InstalledFiles() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<ListedFontFile> InstalledFiles::Take() {
    if (thread_.joinable()) thread_.join();
    return std::move(listed_);
}

}  // namespace tavrel
