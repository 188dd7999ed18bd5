#pragma once
// One page of the face details dialog: a child window of the dialog that the
// dialog lays out in its tab control's display area, shows while its tab is
// chosen, and asks to copy on Ctrl+C and the copy button.

#include <windows.h>

#include <memory>

#include "details_face.h"

namespace tavrel {

class DetailsPage {
public:
    virtual ~DetailsPage() = default;
    // The page's top window, a child of the dialog; destroyed with the dialog.
    virtual HWND Window() const = 0;
    // Places the page over `area`, in the dialog's client coordinates.
    virtual void MoveTo(const RECT& area) const {
        MoveWindow(Window(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    // Puts what the page shows on the clipboard, opened for `owner`.
    virtual void Copy(HWND owner) const = 0;
    // Ctrl+Shift+C: the selected glyph's outline as SVG text, on pages that select glyphs.
    virtual void CopyOutline(HWND) const {}
    // The face's slow parts are ready (DetailsFace::FilledIn): the page shows them.
    virtual void FaceFilledIn() {}
};

// How a page is made: its tab's caption and its constructor, given the
// place it will be shown at (the dialog moves it there after).
struct DetailsPageKind {
    const wchar_t* title;
    std::unique_ptr<DetailsPage> (*create)(HWND dialog, DetailsFace& face, const RECT& area);
};

}  // namespace tavrel
