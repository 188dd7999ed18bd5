#include "variant_strip.h"

#include <windowsx.h>

#include <algorithm>

#include "app_state.h"
#include "code_point_text.h"
#include "scoped_handles.h"

namespace tavrel {

namespace {

HFONT DialogFontOf(HWND hwnd) { return reinterpret_cast<HFONT>(SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_GETFONT, 0, 0)); }

int TextHeight(HWND hwnd) {
    TEXTMETRICW metrics{};
    ScopedGetDC dc(hwnd);
    const ScopedSelectObject font(dc.get(), DialogFontOf(hwnd));
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

}  // namespace

VariantStrip::VariantStrip(HWND parent, std::wstring faceName, const ShapingFace* face)
    : faceName_(std::move(faceName)), face_(face) {
    hwnd_ = CreateRoutedWindow(kVariantStripClass, WS_VISIBLE | WS_TABSTOP, 0, parent, this);
}

VariantStrip::~VariantStrip() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void VariantStrip::SetCellSize(int pixels) {
    if (pixels == cell_) return;
    cell_ = pixels;
    if (face_) fonts_ = CreateLineFonts(faceName_, *face_, cell_ * 3 / 4, !GdiDrawsFace(faceName_, *face_));
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int VariantStrip::RowHeight() const { return cell_ + TextHeight(hwnd_) + 2; }

int VariantStrip::Height(int width) const {
    const std::size_t columns = static_cast<std::size_t>(std::max(width / ItemWidth(), 1));
    return RowHeight() * static_cast<int>(std::max<std::size_t>((variants_.size() + columns - 1) / columns, 1));
}

void VariantStrip::Show(char32_t base, std::vector<char32_t> selectors) {
    base_ = base;
    variants_.clear();
    for (char32_t selector : selectors) {
        Variant variant{selector, {}, CodePointLabel(selector)};
        const std::u32string sequence{base, selector};
        if (face_)
            if (auto glyphs = ShapeText(*face_, sequence, ShapeOptions{})) variant.line = {ShapedRun{false, glyphs.value()}};
        variants_.push_back(std::move(variant));
    }
    selected_ = 0;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

std::optional<std::wstring> VariantStrip::SelectedText() const {
    if (variants_.empty()) return std::nullopt;
    return Utf16Of(base_) + Utf16Of(variants_[selected_].selector);
}

bool VariantStrip::HasFocusForCopy() const {
    const HWND focus = GetFocus();
    return focus && (focus == hwnd_ || focus == lostTo_);
}

// Wide enough for its selector's label.
int VariantStrip::ItemWidth() const {
    SIZE label{};
    ScopedGetDC dc(hwnd_);
    const ScopedSelectObject font(dc.get(), DialogFontOf(hwnd_));
    GetTextExtentPoint32W(dc.get(), L"U+E01EF", 7, &label);
    return std::max<int>(cell_, label.cx + 6);
}

// The variants wrap onto as many rows as the strip's width asks.
RECT VariantStrip::ItemRect(std::size_t index) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = ItemWidth(), columns = std::max<int>(client.right / width, 1);
    const int left = static_cast<int>(index) % columns * width, top = static_cast<int>(index) / columns * RowHeight();
    return {left, top, left + width, top + cell_};
}

void VariantStrip::Select(std::size_t index) {
    if (variants_.empty()) return;
    selected_ = std::min(index, variants_.size() - 1);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void VariantStrip::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    SetDCBrushColor(dc, appState.backgroundColor);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < variants_.size(); ++i) {
        const RECT cell = ItemRect(i);
        const Variant& v = variants_[i];
        SetTextColor(dc, appState.fontColor);
        const int advance = v.line.empty() ? 0 : LineLength(v.line, fonts_.scale);
        const POINT origin{cell.left + (cell.right - cell.left - advance) / 2,
                           cell.top + (cell_ - fonts_.ascent - fonts_.descent) / 2 + fonts_.ascent};
        if (!v.line.empty() && fonts_.upright) DrawGlyphLine(dc, v.line, false, fonts_, origin);
        const ScopedSelectObject font(dc, DialogFontOf(hwnd_));
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        ExtTextOutW(dc, (cell.left + cell.right) / 2, cell.bottom + 1, 0, nullptr, v.label.c_str(),
                    static_cast<UINT>(v.label.size()), nullptr);
        if (i == selected_ && GetFocus() == hwnd_) {
            RECT frame = cell;
            SetDCBrushColor(dc, appState.fontColor);
            FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
    }
}

LRESULT VariantStrip::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (const HDC dc = BeginPaint(hwnd, &paint)) Paint(dc);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_LEFT && selected_ > 0) Select(selected_ - 1);
            if (wParam == VK_RIGHT) Select(selected_ + 1);
            return 0;
        case WM_LBUTTONDOWN:
            for (std::size_t i = 0; i < variants_.size(); ++i) {
                const RECT cell = ItemRect(i);
                if (PtInRect(&cell, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Select(i);
            }
            SetFocus(hwnd);
            return 0;
        case WM_KILLFOCUS: lostTo_ = reinterpret_cast<HWND>(wParam); [[fallthrough]];
        case WM_SETFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
        case kGetVariantRect:
            if (wParam >= variants_.size() || !lParam) return FALSE;
            *reinterpret_cast<RECT*>(lParam) = ItemRect(wParam);
            return TRUE;
    }
    return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
