#pragma once
// Drives the real main window inside the test process: created through the
// same class and window procedure as tavrel.exe, fed the messages a person's
// actions produce, read back through the controls and the settings file.

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "wide_text_win32.h"

namespace tavrel::test {

// The test programs speak UTF-8 to the scripts that drive them.
inline std::wstring Utf16(const char* utf8) { return WideFromUtf8(utf8); }
inline std::string Utf8(const std::wstring& text) { return Utf8FromWide(text); }

// The settings file of this test program: beside it, bearing its name.
std::wstring SettingsPath();

// Key and value pairs of section "SystemSetting" in file order, and whether
// the file starts with a UTF-16 byte-order mark.
struct SettingsFile {
    bool utf16 = false;
    std::vector<std::pair<std::wstring, std::wstring>> keys;
    std::wstring Value(const std::wstring& key) const;
};
SettingsFile ReadSettingsFile();
void WriteSettingsFile(const std::wstring& lines);  // UTF-16 with a byte-order mark

// Dispatches what is queued without waiting, keys as the program's loop takes them.
void PumpPending();

// Runs `trigger`; once the current thread shows a window of `className`,
// runs `act` from inside whatever modal loop `trigger` is in. Whether the
// window showed within about 10 seconds.
bool WhenShown(const wchar_t* className, const std::function<void(HWND)>& act, const std::function<void()>& trigger);

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
std::vector<std::wstring> ComboItems(HWND combo);
// Whether Ctrl counts as held for keys posted next: posting a key does not change the key state.
void HoldControl(bool down);

// A file under Unix path, as Windows sees it; a font from Debian's packages.
std::wstring WinePath(const std::string& unixPath);
std::wstring DebianFont(const std::string& underShareFonts);
std::wstring DejaVu(const std::string& file);
// A scratch folder for this test, emptied at the start.
std::wstring ScratchFolder();
std::wstring WriteScratchFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// Each test starts with no settings file, an empty font list and a fresh
// AppState; the window it opens is closed at the end if still open.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND OpenWindow();
    // WM_CLOSE as the title bar sends it; the quit message it posts is taken.
    void CloseWindow();

    std::wstring SampleText() const;
    void Select(LONG from, LONG to) const;
    // The format of characters [from, to), all text by default, the selection restored afterwards.
    CHARFORMAT2W FormatOf(LONG from = 0, LONG to = -1) const;
    std::wstring FaceOf(LONG from = 0, LONG to = -1) const;
    std::wstring SizeBoxText() const;
    void Command(WORD id) const;
    std::vector<std::wstring> FaceBoxItems() const;
    void DropFiles(const std::vector<std::wstring>& paths) const;
    // A person's pick of item `item` in the face box.
    void PickFace(LRESULT item) const;

    HWND hwnd_ = nullptr;
};

}  // namespace tavrel::test
