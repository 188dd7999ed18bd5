#include "char_grid.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "app_state.h"
#include "code_point_text.h"
#include "color_glyphs.h"
#include "dialog_dpi.h"
#include "scoped_handles.h"

namespace tavrel {

namespace {

constexpr int kSizeStep = 8;  // pixels per Ctrl+wheel notch or Ctrl+plus/minus

bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

// The glyph takes three quarters of its cell, so tall and deep glyphs fit.
HFONT CreateCellFont(const std::wstring& faceName, int cellSize) {
    LOGFONTW font{};
    font.lfHeight = -cellSize * 3 / 4;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

// A mid tone between the two colours, for the lines between cells.
COLORREF Blend(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

}  // namespace

CharGrid::CharGrid(HWND parent, std::wstring faceName, const std::vector<char32_t>& codePoints, Events events)
    : codePoints_(codePoints), faceName_(std::move(faceName)), events_(std::move(events)) {
    hwnd_ = CreateRoutedWindow(kCharGridClass, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, WS_EX_CLIENTEDGE, parent, this);
    SetCellSize(kDefaultCellSize);
    ScopedGetDC dc(hwnd_);
    const ScopedSelectObject face(dc.get(), font_);
    glyphs_ = FaceGlyphs(dc.get());
}

CharGrid::~CharGrid() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
}

std::optional<char32_t> CharGrid::Selected() const {
    if (codePoints_.empty()) return std::nullopt;
    return codePoints_[selected_];
}

bool CharGrid::Select(char32_t codePoint) {
    const auto found = std::lower_bound(codePoints_.begin(), codePoints_.end(), codePoint);
    if (found == codePoints_.end() || *found != codePoint) return false;
    SelectIndex(static_cast<std::size_t>(found - codePoints_.begin()));
    return true;
}

std::size_t CharGrid::Rows() const {
    const auto columns = static_cast<std::size_t>(Columns());
    return (codePoints_.size() + columns - 1) / columns;
}

int CharGrid::Columns() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return std::max<int>(client.right / Cell(), 1);
}

int CharGrid::RowsInView() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return std::max<int>(client.bottom / Cell(), 1);
}

int CharGrid::Cell() const { return Scaled(hwnd_, cellSize_); }

void CharGrid::SetCellSize(int size) {
    size = std::clamp(size, kMinCellSize, kMaxCellSize);
    const HFONT font = CreateCellFont(faceName_, Scaled(hwnd_, size));
    if (!font) return;
    if (font_) DeleteObject(font_);
    font_ = font;
    cellSize_ = size;
    if (colorFace_) colorFonts_ = CreateLineFonts(faceName_, *colorFace_, Scaled(hwnd_, size) * 3 / 4);
    TEXTMETRICW metrics{};
    if (const HDC dc = GetDC(hwnd_)) {
        const HGDIOBJ previous = SelectObject(dc, font_);
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(hwnd_, dc);
    }
    baseline_ = (Cell() - metrics.tmAscent - metrics.tmDescent) / 2 + metrics.tmAscent;
    SelectIndex(selected_);
}

void CharGrid::SetTopRow(long row) {
    const long last = std::max<long>(static_cast<long>(Rows()) - RowsInView(), 0);
    const auto top = static_cast<std::size_t>(std::clamp<long>(row, 0, last));
    if (top != topRow_) InvalidateRect(hwnd_, nullptr, FALSE);
    topRow_ = top;
    UpdateScrollBar();
}

// Selects the cell and scrolls the least that brings its row into view.
void CharGrid::SelectIndex(std::size_t index) {
    if (codePoints_.empty()) return UpdateScrollBar();
    index = std::min(index, codePoints_.size() - 1);
    const bool changed = index != selected_;
    selected_ = index;
    const long row = static_cast<long>(index / static_cast<std::size_t>(Columns()));
    const long top = static_cast<long>(topRow_);
    SetTopRow(row < top ? row : row >= top + RowsInView() ? row - RowsInView() + 1 : top);
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (changed && events_.selectionChanged) events_.selectionChanged();
}

void CharGrid::UpdateScrollBar() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMax = static_cast<int>(Rows()) - 1;
    info.nPage = static_cast<UINT>(RowsInView());
    info.nPos = static_cast<int>(topRow_);
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void CharGrid::OnKey(WPARAM key) {
    const long columns = Columns(), page = static_cast<long>(RowsInView()) * columns;
    const long at = static_cast<long>(selected_);
    const bool control = ControlHeld();
    long to = at;
    switch (key) {
        case VK_LEFT: to = at - 1; break;
        case VK_RIGHT: to = at + 1; break;
        case VK_UP: to = at - columns; break;
        case VK_DOWN: to = at + columns; break;
        case VK_PRIOR: to = at - page; break;
        case VK_NEXT: to = at + page; break;
        case VK_HOME: to = 0; break;  // with Ctrl too, as in any list
        case VK_END: to = static_cast<long>(codePoints_.size()) - 1; break;
        case VK_RETURN:
            if (events_.activated && !codePoints_.empty()) events_.activated();
            return;
        case VK_ADD:
        case VK_OEM_PLUS:
            if (control) SetCellSize(cellSize_ + kSizeStep);
            return;
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            if (control) SetCellSize(cellSize_ - kSizeStep);
            return;
        default: return;
    }
    // A step off either end stays on the first or last cell.
    if (to < 0) to = key == VK_UP || key == VK_PRIOR ? at % columns : 0;
    SelectIndex(static_cast<std::size_t>(to));
}

void CharGrid::OnWheel(int delta, bool control) {
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ %= WHEEL_DELTA;
    if (control) return SetCellSize(cellSize_ + notches * kSizeStep);
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SetTopRow(static_cast<long>(topRow_) - notches * static_cast<long>(std::min<UINT>(lines, 100)));
}

void CharGrid::OnScroll(WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd_, SB_VERT, &info);
    const long top = static_cast<long>(topRow_), page = RowsInView();
    switch (request) {
        case SB_LINEUP: SetTopRow(top - 1); break;
        case SB_LINEDOWN: SetTopRow(top + 1); break;
        case SB_PAGEUP: SetTopRow(top - page); break;
        case SB_PAGEDOWN: SetTopRow(top + page); break;
        case SB_TOP: SetTopRow(0); break;
        case SB_BOTTOM: SetTopRow(static_cast<long>(Rows())); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopRow(info.nTrackPos); break;
    }
}

std::optional<std::size_t> CharGrid::IndexAt(LPARAM point) const {
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point), cell = Cell();
    if (x < 0 || y < 0 || x / cell >= Columns()) return std::nullopt;
    const std::size_t index = (topRow_ + static_cast<std::size_t>(y / cell)) * static_cast<std::size_t>(Columns()) +
                              static_cast<std::size_t>(x / cell);
    if (index >= codePoints_.size()) return std::nullopt;
    return index;
}

// The lines around the cells of rows [firstRow, endRow), one stroke per row and column.
void CharGrid::PaintLines(HDC dc, std::size_t firstRow, std::size_t endRow) const {
    const std::size_t columns = static_cast<std::size_t>(Columns()), last = codePoints_.size() - 1;
    const std::size_t lastRow = last / columns, lastColumn = last % columns;
    const int cell = Cell();
    const auto y = [&](std::size_t row) { return static_cast<int>(row - topRow_) * cell; };
    const std::size_t lineEnd = std::min(endRow, lastRow + 1);
    for (std::size_t row = firstRow; row <= lineEnd; ++row) {
        const bool full = row < lastRow || (row == lastRow && row > 0);
        PatBlt(dc, 0, y(row), static_cast<int>(full ? columns : lastColumn + 1) * cell + 1, 1, PATCOPY);
    }
    for (std::size_t column = 0; column <= columns; ++column) {
        const std::size_t bottom = column <= lastColumn + 1 ? lastRow + 1 : lastRow;
        if (bottom <= firstRow) continue;
        const int x = static_cast<int>(column) * cell;
        PatBlt(dc, x, y(firstRow), 1, y(std::min(bottom, endRow)) - y(firstRow), PATCOPY);
    }
}

void CharGrid::PaintSelection(HDC dc, std::size_t firstRow, std::size_t endRow) const {
    const auto columns = static_cast<std::size_t>(Columns());
    const std::size_t row = selected_ / columns;
    if (row < firstRow || row >= endRow) return;
    const int side = Cell(), left = static_cast<int>(selected_ % columns) * side;
    const int top = static_cast<int>(row - topRow_) * side;
    RECT cell{left + 1, top + 1, left + side, top + side};
    SetDCBrushColor(dc, appState.fontColor);
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    FrameRect(dc, &cell, brush);
    InflateRect(&cell, -1, -1);
    FrameRect(dc, &cell, brush);
}

void CharGrid::ShowColors(const ShapingFace* face) {
    colorFace_ = face && HasColorGlyphs(*face) ? face : nullptr;
    SetCellSize(cellSize_);
}

// A COLR or bitmap glyph with its ink centred in the cell whose top left is
// (left, top); false for any other glyph.
bool CharGrid::PaintColorGlyph(HDC dc, char32_t codePoint, int left, int top) const {
    if (!colorFace_) return false;
    const auto glyph = glyphs_.Find(codePoint);
    if (!glyph || (ColorLayersOf(*colorFace_, *glyph).empty() && ColorPngOf(*colorFace_, *glyph).empty())) return false;
    const auto ink = colorFace_->GlyphExtents(*glyph);
    if (!ink) return false;
    const double s = colorFonts_.scale, half = Cell() / 2.0;
    const POINT origin{LONG(left + half - (ink->left + ink->width / 2.0) * s),
                       LONG(top + half + (ink->top + ink->height / 2.0) * s)};
    DrawGlyphLine(dc, {ShapedRun{false, {ShapedGlyph{*glyph}}}}, false, colorFonts_, origin);
    return true;
}

void CharGrid::MarkSequences(const std::vector<std::pair<char32_t, std::uint32_t>>* counts) {
    sequences_ = counts;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

std::uint32_t CharGrid::SequencesOf(char32_t codePoint) const {
    if (!sequences_) return 0;
    const auto found = std::lower_bound(sequences_->begin(), sequences_->end(), std::pair{codePoint, 0u});
    return found != sequences_->end() && found->first == codePoint ? found->second : 0;
}

// A small triangle in the cell's top right corner, in the line colour.
void CharGrid::PaintSequenceMark(HDC dc, int left, int top) const {
    const int cell = Cell(), side = std::max(cell / 6, 3);
    const POINT corner[] = {{left + cell - side, top}, {left + cell, top}, {left + cell, top + side}};
    const HGDIOBJ brush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    const COLORREF previous = SetDCBrushColor(dc, Blend(appState.fontColor, appState.backgroundColor));
    Polygon(dc, corner, 3);
    SetDCBrushColor(dc, previous);
    SelectObject(dc, pen);
    SelectObject(dc, brush);
}

void CharGrid::Paint(HDC dc, const RECT& area) const {
    SetDCBrushColor(dc, appState.backgroundColor);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (codePoints_.empty()) return;
    const auto columns = static_cast<std::size_t>(Columns());
    const int cell = Cell();
    const std::size_t firstRow = topRow_ + static_cast<std::size_t>(std::max<LONG>(area.top, 0) / cell);
    const std::size_t endRow =
        std::min(topRow_ + static_cast<std::size_t>((std::max<LONG>(area.bottom, 1) - 1) / cell) + 1, Rows());
    const HGDIOBJ previousFont = SelectObject(dc, font_);
    SetTextColor(dc, appState.fontColor);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);
    const std::size_t end = std::min(endRow * columns, codePoints_.size());
    for (std::size_t index = firstRow * columns; index < end; ++index) {
        const int left = static_cast<int>(index % columns) * cell;
        const int top = static_cast<int>(index / columns - topRow_) * cell;
        if (!PaintColorGlyph(dc, codePoints_[index], left, top))
            DrawFaceText(dc, left + cell / 2, top + baseline_, Utf16Of(codePoints_[index]), glyphs_);
        if (SequencesOf(codePoints_[index])) PaintSequenceMark(dc, left, top);
    }
    SelectObject(dc, previousFont);
    const HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, Blend(appState.fontColor, appState.backgroundColor));
    PaintLines(dc, firstRow, endRow);
    PaintSelection(dc, firstRow, endRow);
    SelectObject(dc, previousBrush);
}

void CharGrid::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc) Paint(dc, paint.rcPaint);
    EndPaint(hwnd_, &paint);
}

LRESULT CharGrid::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(hwnd, &client);
            Paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: SelectIndex(selected_); return 0;
        case WM_DPICHANGED_AFTERPARENT: SetCellSize(cellSize_); return 0;
        case WM_GETDLGCODE: {
            // Enter reaches the grid rather than pressing the dialog's default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_KEYDOWN: OnKey(wParam); return 0;
        case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL); return 0;
        case WM_VSCROLL: OnScroll(LOWORD(wParam)); return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // The cell under the pointer before the focus moves: taking the focus repaints.
            if (const auto index = IndexAt(lParam)) {
                SelectIndex(*index);
                if (message == WM_LBUTTONDBLCLK && events_.activated) events_.activated();
            }
            SetFocus(hwnd);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    }
    return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
