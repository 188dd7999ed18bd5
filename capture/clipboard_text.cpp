#include "clipboard_text.h"

#include <algorithm>

#include "scoped_handles.h"

namespace tavrel {

bool CopyTextToClipboard(HWND owner, std::wstring_view text) {
    AutoGlobalFree memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory) return false;
    auto* units = static_cast<wchar_t*>(GlobalLock(memory.get()));
    if (!units) return false;
    *std::copy(text.begin(), text.end(), units) = L'\0';
    GlobalUnlock(memory.get());
    const ScopedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace tavrel
