#include "library_controls.h"

#include <algorithm>
#include <cwchar>

#include "dialog_dpi.h"
#include "face_details.h"
#include "face_text_font.h"
#include "label_width.h"
#include "point_size.h"

namespace tavrel {

namespace {

constexpr const wchar_t* kTraitLabels[kTraitCount] = {L"縦書き",   L"プロポーショナル", L"可変",      L"カラー",
                                                      L"常用漢字", L"JIS第1水準",       L"JIS第2水準"};
// At 96 DPI, scaled.
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;
constexpr int kBoxHeight = 22;
constexpr int kSizeBoxWidth = 64;
constexpr int kNameBoxWidth = 220;
constexpr int kCountWidth = 170;
constexpr int kRefusedHeight = 110;

HWND Create(const LibraryWindow& window, const wchar_t* className, const wchar_t* text, DWORD style, int id,
            DWORD exStyle = 0) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window.hwnd, GWLP_HINSTANCE));
    const HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                         window.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                         nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(window.font.get()), FALSE);
    return control;
}

HWND CheckBox(const LibraryWindow& window, const wchar_t* text, int id) {
    return Create(window, L"Button", text, WS_TABSTOP | BS_AUTOCHECKBOX, id);
}

// The font the details dialog is in, as the program's other window.
HFONT CreateDialogFont(HWND hwnd) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, DialogDpi(hwnd), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

// A check box as wide as its box and its words.
int CheckWidth(HWND box) { return LabelWidth(box) + Scaled(box, 24); }

// Places `control` at `x` on a row and returns where the next one starts.
int Place(HWND control, int x, int y, int width, int height) {
    MoveWindow(control, x, y, width, height, TRUE);
    return x + width + Scaled(control, kMargin);
}

}  // namespace

void CreateLibraryControls(LibraryWindow& window) {
    window.font.reset(CreateDialogFont(window.hwnd));
    window.labels[0] = Create(window, L"Static", L"行:", SS_CENTERIMAGE, -1);
    window.line = Create(window, L"Edit", L"", WS_TABSTOP | ES_AUTOHSCROLL, kLineBox, WS_EX_CLIENTEDGE);
    // In the sample's face, as the 組版 page's text box is in its face: Wine's
    // edit control draws the characters the window's font lacks as boxes.
    window.lineFont.reset(CreateFaceTextFont(window.labels[0], CurrentSubject().faceName));
    if (window.lineFont) SendMessageW(window.line, WM_SETFONT, reinterpret_cast<WPARAM>(window.lineFont.get()), FALSE);
    window.sizeBox = Create(window, L"ComboBox", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, kSizeBox);
    for (const wchar_t* size : kPointSizes) SendMessageW(window.sizeBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    window.labels[1] = Create(window, L"Static", L"名前:", SS_CENTERIMAGE, -1);
    window.nameFilter = Create(window, L"Edit", L"", WS_TABSTOP | ES_AUTOHSCROLL, kNameFilterBox, WS_EX_CLIENTEDGE);
    window.setsLine = CheckBox(window, L"この行を組める書体だけ", kSetsLineBox);
    window.installedBox = CheckBox(window, L"インストール済みの書体も表示", kInstalledBox);
    for (int i = 0; i < kTraitCount; ++i) window.traitBoxes[i] = CheckBox(window, kTraitLabels[i], kFirstTraitBox + i);
    window.count = Create(window, L"Static", L"", SS_RIGHT | SS_CENTERIMAGE, kCountLabel);
}

void LayOutLibrary(const LibraryWindow& window) {
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const HWND h = window.hwnd;
    const int m = Scaled(h, kMargin), row = Scaled(h, kRowHeight), box = Scaled(h, kBoxHeight);
    const int sizeWidth = Scaled(h, kSizeBoxWidth);
    int x = Place(window.labels[0], m, m, LabelWidth(window.labels[0]), box);
    Place(window.line, x, m, std::max<int>(client.right - x - 2 * m - sizeWidth, m), box);
    MoveWindow(window.sizeBox, client.right - m - sizeWidth, m, sizeWidth, box * 8, TRUE);
    const int second = m + row + Scaled(h, 4);
    x = Place(window.labels[1], m, second, LabelWidth(window.labels[1]), box);
    x = Place(window.nameFilter, x, second, Scaled(h, kNameBoxWidth), box);
    x = Place(window.setsLine, x, second, CheckWidth(window.setsLine), box);
    Place(window.installedBox, x, second, CheckWidth(window.installedBox), box);
    const int third = second + row;
    x = m;
    for (HWND trait : window.traitBoxes) x = Place(trait, x, third, CheckWidth(trait), box);
    MoveWindow(window.count, client.right - m - Scaled(h, kCountWidth), third, Scaled(h, kCountWidth), box, TRUE);
    const bool refused = !window.refused.shown.empty();
    const int refusedHeight = refused ? Scaled(h, kRefusedHeight) : 0;
    const int listTop = third + row + Scaled(h, 4);
    const int listBottom = std::max<int>(client.bottom - m - refusedHeight, listTop);
    MoveWindow(window.list, m, listTop, std::max<int>(client.right - 2 * m, 0), listBottom - listTop, TRUE);
    ShowWindow(window.refused.label, refused ? SW_SHOW : SW_HIDE);
    ShowWindow(window.refused.list, refused ? SW_SHOW : SW_HIDE);
    if (!refused) return;
    MoveWindow(window.refused.label, m, listBottom + Scaled(h, 4), client.right - 2 * m, box, TRUE);
    const int refusedTop = listBottom + Scaled(h, 4) + box;
    MoveWindow(window.refused.list, m, refusedTop, std::max<int>(client.right - 2 * m, 0),
               std::max<int>(client.bottom - m - refusedTop, 0), TRUE);
}

LibraryFilter FilterOfBoxes(const LibraryWindow& window) {
    LibraryFilter filter;
    filter.name = Folded(TextOf(window.nameFilter));
    for (int i = 0; i < kTraitCount; ++i)
        if (SendMessageW(window.traitBoxes[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            filter.flags |= static_cast<std::uint16_t>(1u << i);
    filter.setsLine = SendMessageW(window.setsLine, BM_GETCHECK, 0, 0) == BST_CHECKED;
    filter.installed = SendMessageW(window.installedBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    filter.line = window.filter.line;
    return filter;
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace tavrel
