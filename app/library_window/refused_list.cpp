#include "refused_list.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <string>

#include "dialog_dpi.h"
#include "library_controls.h"
#include "loaded_font_list.h"
#include "refusal_reasons.h"

namespace tavrel {

namespace {

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = Scaled(list, width);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, column ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void ShowCount(const RefusedList& refused) {
    const std::wstring label = L"読み込めなかったファイル (" + std::to_wstring(refused.shown.size()) + L")";
    SetWindowTextW(refused.label, label.c_str());
}

}  // namespace

void CreateRefusedList(HWND parent, HFONT font, RefusedList& refused) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    refused.label = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRefusedLabel)), instance, nullptr);
    refused.list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"読み込めなかったファイル",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRefusedFiles)), instance,
                                   nullptr);
    for (HWND control : {refused.label, refused.list}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(refused.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumn(refused.list, 0, L"ファイル", 420);
    AddColumn(refused.list, 1, L"理由", 320);
    ShowCount(refused);
    UpdateRefusedList(refused);
}

bool UpdateRefusedList(RefusedList& refused) {
    const auto& files = LoadedFonts().refusedFiles;
    const auto same = [](const RefusedFile& a, const RefusedFile& b) { return a.path == b.path && a.reason == b.reason; };
    if (std::equal(files.begin(), files.end(), refused.shown.begin(), refused.shown.end(), same)) return false;
    SendMessageW(refused.list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(refused.list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SetCell(refused.list, static_cast<int>(i), 0, files[i].path);
        SetCell(refused.list, static_cast<int>(i), 1, JapaneseReason(files[i].reason));
    }
    SendMessageW(refused.list, WM_SETREDRAW, TRUE, 0);
    try {
        refused.shown = files;
    } catch (const std::bad_alloc&) {
        refused.shown.clear();  // listed again at the next look
    }
    ShowCount(refused);
    return true;
}

}  // namespace tavrel
