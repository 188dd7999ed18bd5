#include "face_text_font.h"

#include <cwchar>

#include "scoped_handles.h"

namespace tavrel {

namespace {

int HeightOf(HDC dc, HFONT font) {
    const ScopedSelectObject selected(dc, font);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc, &metrics) ? int(metrics.tmHeight) : 0;
}

}  // namespace

HFONT CreateFaceTextFont(HWND dialog, const std::wstring& faceName) {
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    GetObjectW(dialogFont, sizeof font, &font);
    wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    font.lfCharSet = DEFAULT_CHARSET;
    AutoDeleteFont face(CreateFontIndirectW(&font));
    const ScopedGetDC dc(dialog);
    if (!face || !dc) return nullptr;
    const int dialogHeight = HeightOf(dc.get(), dialogFont);
    return HeightOf(dc.get(), face.get()) * 2 <= dialogHeight * 3 ? face.release() : nullptr;
}

}  // namespace tavrel
