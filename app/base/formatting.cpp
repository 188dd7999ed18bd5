#include "formatting.h"


#include "app_state.h"
#include "face_registration_win32.h"
#include "loaded_font_list.h"

namespace tavrel {

namespace {

void SendFormat(WPARAM scope, const void* format) {
    SendMessageW(appState.hwndSample, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(format));
}

void SendFormatToSelectionOrAll(const void* format) {
    CHARRANGE selection{};
    SendMessageW(appState.hwndSample, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendFormat(selection.cpMin != selection.cpMax ? SCF_SELECTION : SCF_ALL, format);
}

}  // namespace

CHARFORMATW NewFormat(DWORD mask) {
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    return format;
}

CHARFORMAT2W NewFormat2(DWORD mask) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    return format;
}

void ApplyFormat(const CHARFORMATW& format) { SendFormatToSelectionOrAll(&format); }

void ApplyFormat(const CHARFORMAT2W& format) { SendFormatToSelectionOrAll(&format); }

void ApplyFaceName(CHARFORMAT2W& format, std::wstring_view faceName) {
    const std::size_t length = faceName.copy(format.szFaceName, LF_FACESIZE - 1);
    format.szFaceName[length] = L'\0';
}

bool ApplyListedFace(std::size_t index) {
    const auto& names = LoadedFonts().faceNames;
    if (index >= names.size() || !RegisterListedFace(index)) return false;
    SendMessageW(appState.hwndFaceCombo, CB_SETCURSEL, index, 0);
    CHARFORMAT2W format = NewFormat2(CFM_FACE);
    ApplyFaceName(format, names[index]);
    SendFormat(SCF_ALL, &format);
    return true;
}

void ApplyFirstFace() { ApplyListedFace(0); }

CHARFORMATW TextColorFormat(COLORREF color) {
    CHARFORMATW format = NewFormat(CFM_COLOR);
    format.crTextColor = color;
    return format;
}

void ApplyBackgroundColor(COLORREF color) {
    CHARFORMAT2W format = NewFormat2(CFM_BACKCOLOR);
    format.crBackColor = color;
    SendFormat(SCF_ALL, &format);
    SendMessageW(appState.hwndSample, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

}  // namespace tavrel
