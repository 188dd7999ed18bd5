#pragma once
// The character grid: one square cell per code point of a face, each glyph
// drawn by GDI in that face. Virtual: only the rows in view are drawn, and
// nothing is kept per code point beyond the list it is given.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "face_glyphs.h"
#include "glyph_line.h"
#include "routed_window.h"

namespace tavrel {

// Cell sizes at 96 DPI; the grid scales them by the dialog's DPI.
constexpr int kMinCellSize = 16;
constexpr int kMaxCellSize = 256;
constexpr int kDefaultCellSize = 48;
constexpr wchar_t kCharGridClass[] = L"TavrelCharGrid";

class CharGrid : public MessageTarget {
public:
    struct Events {
        std::function<void()> selectionChanged;
        std::function<void()> activated;  // Enter or a double click on a cell
    };

    // `codePoints` ascending; the grid reads it and never copies it.
    CharGrid(HWND parent, std::wstring faceName, const std::vector<char32_t>& codePoints, Events events);
    ~CharGrid() override;
    CharGrid(const CharGrid&) = delete;
    CharGrid& operator=(const CharGrid&) = delete;

    HWND Window() const { return hwnd_; }
    std::optional<char32_t> Selected() const;
    std::size_t SelectedIndex() const { return selected_; }
    // Selects the cell of `codePoint` and scrolls it into view; false when the face lacks it.
    bool Select(char32_t codePoint);
    // Draws the cells that meet `area` (client coordinates) into `dc`.
    void Paint(HDC dc, const RECT& area) const;
    // Marks the cells of characters with variation sequences (bases ascending,
    // with their counts), which must outlive the grid.
    void MarkSequences(const std::vector<std::pair<char32_t, std::uint32_t>>* counts);
    // How many variation sequences the character has, 0 when unmarked.
    std::uint32_t SequencesOf(char32_t codePoint) const;
    // Draws the cells of colour glyphs in their colours, through `face`, which
    // must outlive the grid; nothing changes for a face without colour glyphs.
    void ShowColors(const ShapingFace* face);
    // The cell's side in pixels at the grid's DPI.
    int CellPixels() const { return Cell(); }
    // How the face maps characters to its glyphs.
    const FaceGlyphs& Glyphs() const { return glyphs_; }

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::size_t Rows() const;
    int Columns() const;
    int RowsInView() const;  // whole rows
    int Cell() const;        // the cell's side in pixels
    void SetCellSize(int size);
    void SetTopRow(long row);
    void SelectIndex(std::size_t index);
    void UpdateScrollBar();
    void OnKey(WPARAM key);
    void OnWheel(int delta, bool control);
    void OnScroll(WORD request);
    std::optional<std::size_t> IndexAt(LPARAM point) const;
    void PaintLines(HDC dc, std::size_t firstRow, std::size_t endRow) const;
    void PaintSelection(HDC dc, std::size_t firstRow, std::size_t endRow) const;
    void PaintSequenceMark(HDC dc, int left, int top) const;
    bool PaintColorGlyph(HDC dc, char32_t codePoint, int left, int top) const;
    void OnPaint();

    const std::vector<char32_t>& codePoints_;
    std::wstring faceName_;
    Events events_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    FaceGlyphs glyphs_;
    const std::vector<std::pair<char32_t, std::uint32_t>>* sequences_ = nullptr;
    const ShapingFace* colorFace_ = nullptr;
    LineFonts colorFonts_;  // at the cell font's size
    int cellSize_ = kDefaultCellSize;  // at 96 DPI
    int baseline_ = 0;  // from a cell's top to the centred glyph's baseline
    std::size_t selected_ = 0;
    std::size_t topRow_ = 0;
    int wheelRemainder_ = 0;
};

}  // namespace tavrel
