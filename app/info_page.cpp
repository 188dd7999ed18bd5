#include "info_page.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clipboard_text.h"

namespace tavrel {

namespace {

constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
constexpr int kLabelColumnWidth = 200;
constexpr int kValueColumnWidth = 400;

// A list line shows one line of text: breaks inside a value become spaces there.
std::wstring OnOneLine(std::wstring text) {
    std::replace_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    return text;
}

void AddColumn(HWND list, int index, const wchar_t* caption, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(caption);
    column.cx = width;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND list, int index, const DetailRow& row) {
    std::wstring label = row.label, value = OnOneLine(row.value);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = label.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = value.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

class InfoPage : public DetailsPage {
public:
    InfoPage(HWND dialog, std::vector<DetailRow> rows) : rows_(std::move(rows)) {
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", kListStyle, 0, 0, 0, 0, dialog, nullptr, instance, nullptr);
        SendMessageW(list_, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        AddColumn(list_, 0, L"項目", kLabelColumnWidth);
        AddColumn(list_, 1, L"値", kValueColumnWidth);
        for (std::size_t i = 0; i < rows_.size(); ++i) AddRow(list_, static_cast<int>(i), rows_[i]);
    }

    HWND Window() const override { return list_; }

    // The values take the width the labels leave.
    void MoveTo(const RECT& area) const override {
        DetailsPage::MoveTo(area);
        RECT client{};
        GetClientRect(list_, &client);
        const int width = std::max<int>(client.right - kLabelColumnWidth, kLabelColumnWidth);
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(width, 0));
    }
    void Copy(HWND owner) const override { CopyTextToClipboard(owner, RowsAsText(rows_)); }

private:
    std::vector<DetailRow> rows_;
    HWND list_ = nullptr;
};

}  // namespace

std::unique_ptr<DetailsPage> CreateInfoPage(HWND dialog, const DetailsSubject& subject) {
    return std::make_unique<InfoPage>(dialog, DescribeSubject(subject));
}

}  // namespace tavrel
