#include <windows.h>

#include "ansi_text.h"

namespace tavrel {

std::u16string DecodeAnsiText(Bytes text) {
    if (text.empty()) return {};
    const char* narrow = reinterpret_cast<const char*>(text.data());
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_THREAD_ACP, 0, narrow, length, nullptr, 0);
    if (units <= 0) return {};
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, narrow, length, reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}

}  // namespace tavrel
