#include "info_page.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "clipboard_text.h"
#include "dialog_dpi.h"
#include "routed_window.h"
#include "text_view.h"

namespace tavrel {

namespace {

constexpr wchar_t kPaneClass[] = L"TavrelInfoPage";
// The rows are the page's and the list asks for what it shows: Wine's list
// view takes some 50 ms to have a large face's rows inserted one by one.
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                             LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA;
constexpr int kLabelColumnWidth = 200;
constexpr int kValueColumnWidth = 400;
constexpr int kValueLines = 4;  // the box under the list, which shows the selected row's value whole
constexpr int kGap = 6;

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


class InfoPage : public DetailsPage, public MessageTarget {
public:
    InfoPage(HWND dialog, const DetailsFace& face) : face_(face), rows_(face.Rows()) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", kListStyle, 0, 0, 0, 0, pane_, nullptr, instance, nullptr);
        SendMessageW(list_, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
        value_ = std::make_unique<TextView>(pane_, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        AddColumn(list_, 0, L"項目", Scaled(dialog, kLabelColumnWidth));
        AddColumn(list_, 1, L"値", Scaled(dialog, kValueColumnWidth));
        SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
    }

    // The whole report in place of the quick one: the rows that stay as they
    // were are left alone, so only the others are drawn again.
    void FaceFilledIn() override {
        std::vector<DetailRow> rows = face_.Rows();
        const std::size_t kept = std::min(rows.size(), rows_.size());
        for (std::size_t i = 0; i < kept; ++i)
            if (rows[i].label != rows_[i].label || rows[i].value != rows_[i].value)
                SendMessageW(list_, LVM_REDRAWITEMS, i, i);
        const bool countChanged = rows.size() != rows_.size();
        rows_ = std::move(rows);
        if (countChanged) SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        ShowValue();
    }

    HWND Window() const override { return pane_; }

    // The selected row alone, else every row.
    void Copy(HWND owner) const override {
        const auto row = SelectedRow();
        CopyTextToClipboard(owner, RowsAsText(row ? std::vector<DetailRow>{rows_[*row]} : rows_));
    }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: Layout(LOWORD(lParam), HIWORD(lParam)); return 0;
            case WM_SETFOCUS: SetFocus(list_); return 0;
            case WM_NOTIFY: {
                const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
                if (header.hwndFrom != list_) return 0;
                if (header.code == LVN_ITEMCHANGED) ShowValue();
                if (header.code == LVN_GETDISPINFOW) GiveText(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
                return 0;
            }
            case WM_DPICHANGED_AFTERPARENT: {
                RECT client{};
                GetClientRect(hwnd, &client);
                Layout(client.right, client.bottom);
                return 0;
            }
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    // The label, or the value on one line; held until the list asks again.
    void GiveText(LVITEMW& item) {
        if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || std::size_t(item.iItem) >= rows_.size()) return;
        const DetailRow& row = rows_[std::size_t(item.iItem)];
        given_ = item.iSubItem == 0 ? row.label : OnOneLine(row.value);
        item.pszText = given_.data();
    }

    std::optional<std::size_t> SelectedRow() const {
        const LRESULT row = SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::nullopt;
        return static_cast<std::size_t>(row);
    }

    void ShowValue() const {
        const auto row = SelectedRow();
        value_->SetText(row ? rows_[*row].value : L"");
    }

    // The list over the value box; the values take the width the labels leave.
    void Layout(int width, int height) const {
        TEXTMETRICW metrics{};
        if (const HDC dc = GetDC(pane_)) {
            const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)));
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, previous);
            ReleaseDC(pane_, dc);
        }
        const int gap = Scaled(pane_, kGap);
        const int valueHeight = std::min<int>(kValueLines * metrics.tmHeight + Scaled(pane_, 8), height / 2);
        MoveWindow(list_, 0, 0, width, std::max(height - valueHeight - gap, 0), TRUE);
        MoveWindow(value_->Window(), 0, height - valueHeight, width, valueHeight, TRUE);
        RECT client{};
        GetClientRect(list_, &client);
        const int labels = Scaled(pane_, kLabelColumnWidth);
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(labels, 0));
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(std::max<int>(client.right - labels, labels), 0));
    }

    const DetailsFace& face_;
    std::vector<DetailRow> rows_;
    std::wstring given_;
    HWND pane_ = nullptr, list_ = nullptr;
    std::unique_ptr<TextView> value_;
};

}  // namespace

std::unique_ptr<DetailsPage> CreateInfoPage(HWND dialog, DetailsFace& face, const RECT&) {
    return std::make_unique<InfoPage>(dialog, face);
}

}  // namespace tavrel
