#pragma once
// Reading the clipboard back as a test sees it: its bitmap as pixels, its text.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows top-down

    COLORREF At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    std::size_t Count(COLORREF colour) const;
};

// Under Wine, waits until the desktop process's clipboard manager has started:
// it empties the clipboard once when it starts, which would otherwise land in
// the middle of a test run by the first program of a session.
void WaitForClipboardManager();
// The CF_BITMAP on the clipboard, or nothing when it holds no bitmap.
std::optional<Picture> ClipboardPicture();
// The CF_UNICODETEXT on the clipboard, or nothing when it holds no text.
std::optional<std::wstring> ClipboardText();
// Who owns the clipboard and who holds it open, for failure messages.
std::string DescribeClipboard();
// Replaces the clipboard's contents with text, so a test can tell whether a capture touched it.
void PutTextOnClipboard(const std::wstring& text);

}  // namespace tavrel::test
