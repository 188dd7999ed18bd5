#include "char_grid_page.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app_state.h"
#include "char_grid.h"
#include "clipboard_text.h"
#include "code_point_text.h"
#include "subject_code_points.h"
#include "unicode_blocks.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr wchar_t kPaneClass[] = L"TavrelCharGridPage";
constexpr int kGap = 6;
constexpr int kLineHeight = 22;

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const HWND child = CreateWindowExW(className == std::wstring(L"Edit") ? WS_EX_CLIENTEDGE : 0, className, L"",
                                       WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(GetParent(parent), WM_GETFONT, 0, 0), FALSE);
    return child;
}

std::wstring WindowTextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// "永  U+6C38  CJK Unified Ideographs  8765 / 44806": the character, its block, its place in the grid.
std::wstring DescribeCell(char32_t codePoint, std::size_t index, std::size_t count) {
    return Utf16Of(codePoint) + L"  " + CodePointLabel(codePoint) + L"  " +
           WideFromUtf8(std::string(UnicodeBlockName(codePoint))) + L"  " + std::to_wstring(index + 1) + L" / " +
           std::to_wstring(count);
}

class CharGridPage : public DetailsPage, public MessageTarget {
public:
    CharGridPage(HWND dialog, const DetailsSubject& subject) : codePoints_(SubjectCodePoints(subject)) {
        pane_ = CreateRoutedWindow(kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, dialog, this);
        search_ = CreateChild(pane_, L"Edit", WS_TABSTOP | ES_AUTOHSCROLL);
        SendMessageW(search_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"文字または U+XXXX"));
        line_ = CreateChild(pane_, L"Static", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE);
        grid_ = std::make_unique<CharGrid>(pane_, subject.faceName, codePoints_,
                                           CharGrid::Events{[this] { ShowSelected(); }, [this] { Insert(); }});
        ShowSelected();
    }

    HWND Window() const override { return pane_; }
    void Copy(HWND owner) const override {
        if (const auto selected = grid_->Selected()) CopyTextToClipboard(owner, Utf16Of(*selected));
    }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: Layout(LOWORD(lParam), HIWORD(lParam)); return 0;
            case WM_SETFOCUS: SetFocus(grid_->Window()); return 0;
            case WM_COMMAND:
                if (reinterpret_cast<HWND>(lParam) == search_ && HIWORD(wParam) == EN_CHANGE) Search();
                return 0;
        }
        return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
    }

private:
    void Layout(int width, int height) const {
        const int searchHeight = kLineHeight + 2;
        MoveWindow(search_, 0, 0, width, searchHeight, TRUE);
        MoveWindow(line_, 0, height - kLineHeight, width, kLineHeight, TRUE);
        MoveWindow(grid_->Window(), 0, searchHeight + kGap, width,
                   std::max(height - searchHeight - kLineHeight - 2 * kGap, 0), TRUE);
    }

    void ShowSelected() const {
        const auto selected = grid_->Selected();
        SetWindowTextW(line_, selected ? DescribeCell(*selected, grid_->SelectedIndex(), codePoints_.size()).c_str()
                                       : L"このフォントには Unicode の文字がありません");
    }

    void Search() const {
        const auto wanted = ParseCodePointQuery(WindowTextOf(search_));
        if (!wanted) return;
        if (grid_->Select(*wanted))
            ShowSelected();
        else
            SetWindowTextW(line_, (CodePointLabel(*wanted) + L" はこのフォントにありません").c_str());
    }

    void Insert() const {
        if (const auto selected = grid_->Selected()) InsertIntoSample(Utf16Of(*selected));
    }

    const std::vector<char32_t> codePoints_;
    HWND pane_ = nullptr, search_ = nullptr, line_ = nullptr;
    std::unique_ptr<CharGrid> grid_;
};

}  // namespace

void InsertIntoSample(const std::wstring& text) {
    SendMessageW(appState.hwndSample, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::unique_ptr<DetailsPage> CreateCharGridPage(HWND dialog, const DetailsSubject& subject) {
    return std::make_unique<CharGridPage>(dialog, subject);
}

}  // namespace tavrel
