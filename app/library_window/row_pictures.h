#pragma once
// The line the library window draws in each face, from the face's own
// outlines: shaped and filled on a worker thread, so nothing is registered
// with GDI; kept within a byte budget, the least recently drawn going first;
// copied to the list's rows by its custom draw.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "loaded_font_list.h"

namespace tavrel {

class RowPictures {
public:
    // Posts `drawnMessage` to `notify` with wParam the face's id each time a
    // picture is ready to be drawn.
    RowPictures(HWND notify, UINT drawnMessage, std::size_t budgetBytes);
    ~RowPictures();
    RowPictures(const RowPictures&) = delete;
    RowPictures& operator=(const RowPictures&) = delete;

    // Forgets every picture and every request: a new line or size.
    void SetLine(std::u16string line, int pixelsPerEm);

    // Draws face `face`'s picture (ids are the caller's, stable until Clear)
    // in `rect`, in `text` on `back`, when it is ready; otherwise asks for it,
    // the newest request first, and leaves `rect` to the background.
    void Draw(HDC dc, const RECT& rect, std::size_t face, const FaceSource& source, COLORREF text, COLORREF back);

    // Requests for faces not in `visible` are dropped: rows scrolled away.
    void KeepOnly(const std::vector<std::size_t>& visible);

    // Forgets every picture and request: the faces' ids change.
    void Clear();

    // The bytes the kept pictures hold, within the budget.
    std::size_t bytes() const;
};

}  // namespace tavrel
