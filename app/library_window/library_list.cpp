#include "library_list.h"

#include <algorithm>
#include <cwchar>
#include <span>
#include <vector>

#include "dialog_dpi.h"
#include "library_controls.h"
#include "point_size.h"
#include "scoped_handles.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

struct Column {
    const wchar_t* title;
    int width;  // at 96 DPI
    int format;
};

constexpr Column kColumns[kColumnCount] = {
    {L"見本", 320, LVCFMT_LEFT},     {L"名前", 220, LVCFMT_LEFT},   {L"ファイル", 220, LVCFMT_LEFT},
    {L"形式", 64, LVCFMT_LEFT},      {L"ウェイト", 64, LVCFMT_RIGHT}, {L"幅", 40, LVCFMT_RIGHT},
    {L"グリフ数", 72, LVCFMT_RIGHT},
};

void AddColumns(HWND list) {
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = const_cast<wchar_t*>(kColumns[i].title);
        column.cx = Scaled(list, kColumns[i].width);
        column.fmt = kColumns[i].format;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

int PixelsPerEm(HWND hwnd, std::uint32_t points) {
    return MulDiv(static_cast<int>(points), GetDeviceCaps(ScopedGetDC(hwnd).get(), LOGPIXELSY), 72);
}

std::size_t FaceInRow(const LibraryWindow& window, std::size_t row) { return window.rows.shown[row]; }

void GiveText(const LibraryWindow& window, NMLVDISPINFOW& info) {
    const auto row = static_cast<std::size_t>(info.item.iItem);
    if (!(info.item.mask & LVIF_TEXT) || row >= window.rows.shown.size() || info.item.cchTextMax <= 0) return;
    const std::wstring text = CellText(window.rows, FaceInRow(window, row), info.item.iSubItem);
    wcsncpy_s(info.item.pszText, static_cast<std::size_t>(info.item.cchTextMax), text.c_str(), _TRUNCATE);
}

// Type-ahead: the next row from the one given whose name starts with what was typed.
LRESULT FindRow(const LibraryWindow& window, const NMLVFINDITEMW& find) {
    const auto& shown = window.rows.shown;
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || shown.empty()) return -1;
    const std::size_t length = std::wcslen(find.lvfi.psz);
    const std::size_t start = find.iStart >= 0 ? static_cast<std::size_t>(find.iStart) % shown.size() : 0;
    for (std::size_t step = 0; step < shown.size(); ++step) {
        const std::size_t row = (start + step) % shown.size();
        const std::wstring& name = NameOf(window.rows, shown[row]);
        if (name.size() >= length && _wcsnicmp(name.c_str(), find.lvfi.psz, length) == 0) return static_cast<LRESULT>(row);
    }
    return -1;
}

// Requests for rows scrolled away are dropped, so the rows in view are drawn first.
void KeepRowsInView(LibraryWindow& window) {
    const auto top = static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(window.list, LVM_GETTOPINDEX, 0, 0), 0));
    const auto perPage = static_cast<std::size_t>(SendMessageW(window.list, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    std::vector<std::size_t> visible;
    for (std::size_t row = top; row < std::min(top + perPage, window.rows.shown.size()); ++row)
        visible.push_back(FaceInRow(window, row));
    window.pictures->KeepOnly(visible);
}

void DrawLine(LibraryWindow& window, const NMLVCUSTOMDRAW& draw) {
    const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
    if (row >= window.rows.shown.size()) return;
    RECT cell{LVIR_LABEL, 0, 0, 0};
    SendMessageW(window.list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    // A selected row shows as the list shows its other cells: highlighted while it has the keys, else in button face.
    const bool selected = SendMessageW(window.list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
    const bool focused = GetFocus() == window.list;
    const COLORREF text = GetSysColor(!selected ? COLOR_WINDOWTEXT : focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const COLORREF back = GetSysColor(!selected ? COLOR_WINDOW : focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const std::size_t face = FaceInRow(window, row);
    window.pictures->Draw(draw.nmcd.hdc, cell, face, SourceOf(window.rows, face), text, back);
}

LRESULT OnCustomDraw(LibraryWindow& window, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: KeepRowsInView(window); return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (draw.iSubItem != kColumnLine) return CDRF_DODEFAULT;
            DrawLine(window, draw);
            return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}

// A second click on the same header turns the order round.
void SortBy(LibraryWindow& window, int column) {
    LibraryRows& rows = window.rows;
    rows.descending = column == rows.sortColumn && !rows.descending;
    rows.sortColumn = column;
    SortRows(rows);
    ShowRows(window, true);
}

void SelectOnly(HWND list, int row) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (row < 0) return;
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

}  // namespace

void CreateLibraryList(LibraryWindow& window) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window.hwnd, GWLP_HINSTANCE));
    window.list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"書体",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                      LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                  0, 0, 0, 0, window.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFaceList)),
                                  instance, nullptr);
    SendMessageW(window.list, WM_SETFONT, reinterpret_cast<WPARAM>(window.font.get()), FALSE);
    SendMessageW(window.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddColumns(window.list);
}

void SetRowSize(LibraryWindow& window, std::uint32_t points) {
    window.points = std::clamp<std::uint32_t>(points, 6, 200);
    const int pixelsPerEm = window.pixelsPerEm = PixelsPerEm(window.list, window.points);
    const HIMAGELIST old = window.rowHeight;
    window.rowHeight = ImageList_Create(1, pixelsPerEm * 3 / 2 + 4, ILC_COLOR, 1, 0);
    SendMessageW(window.list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(window.rowHeight));
    if (old) ImageList_Destroy(old);
    window.pictures->SetLine(ToU16(TextOf(window.line)), pixelsPerEm);
    InvalidateRect(window.list, nullptr, TRUE);
}

void StepRowSize(LibraryWindow& window, int step) {
    const auto sizes = std::span(kPointSizes);
    std::uint32_t points = window.points;
    if (step > 0) {
        const auto next = std::find_if(sizes.begin(), sizes.end(),
                                       [&](const wchar_t* size) { return ParsePointSize(size) > window.points; });
        if (next != sizes.end()) points = *ParsePointSize(*next);
    } else {
        const auto next = std::find_if(sizes.rbegin(), sizes.rend(),
                                       [&](const wchar_t* size) { return ParsePointSize(size) < window.points; });
        if (next != sizes.rend()) points = *ParsePointSize(*next);
    }
    SetWindowTextW(window.sizeBox, std::to_wstring(points).c_str());
    SetRowSize(window, points);
}

void ShowRows(LibraryWindow& window, bool reordered) {
    const std::ptrdiff_t focused = FocusedFace(window);
    const std::vector<std::uint32_t> before = std::move(window.rows.shown);
    FilterRows(window.rows, window.filter);
    const std::size_t hidden = window.filter.installed ? 0 : window.rows.installed.size();
    SetWindowTextW(window.count, CountText(window.rows.shown.size(), window.rows.faces.size() - hidden).c_str());
    if (!reordered && before == window.rows.shown) return;
    SendMessageW(window.list, LVM_SETITEMCOUNT, window.rows.shown.size(), LVSICF_NOSCROLL);
    SelectOnly(window.list, focused < 0 ? -1 : RowOf(window.rows, static_cast<std::size_t>(focused)));
    InvalidateRect(window.list, nullptr, TRUE);
}

LRESULT OnListNotify(LibraryWindow& window, const NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: GiveText(window, *const_cast<NMLVDISPINFOW*>(reinterpret_cast<const NMLVDISPINFOW*>(&header))); break;
        case LVN_ODFINDITEMW: return FindRow(window, reinterpret_cast<const NMLVFINDITEMW&>(header));
        case NM_CUSTOMDRAW: return OnCustomDraw(window, *const_cast<NMLVCUSTOMDRAW*>(reinterpret_cast<const NMLVCUSTOMDRAW*>(&header)));
        case LVN_COLUMNCLICK: SortBy(window, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem); break;
    }
    return 0;
}

std::ptrdiff_t FocusedFace(const LibraryWindow& window) {
    const LRESULT row = SendMessageW(window.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (row < 0 || static_cast<std::size_t>(row) >= window.rows.shown.size()) return -1;
    return static_cast<std::ptrdiff_t>(window.rows.shown[static_cast<std::size_t>(row)]);
}

void RedrawFace(const LibraryWindow& window, std::size_t face) {
    const int row = RowOf(window.rows, face);
    if (row >= 0) SendMessageW(window.list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

}  // namespace tavrel
