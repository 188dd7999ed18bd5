#pragma once
// The line the library window draws in each face, from the face's own
// outlines: shaped and filled on a worker thread, so nothing is registered
// with GDI; kept within a byte budget, the least recently drawn going first;
// copied to the list's rows by its custom draw.

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "line_picture.h"
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

private:
    using Picture = std::shared_ptr<const LinePicture>;
    struct Request {
        std::size_t face;
        FaceSource source;
    };
    struct Kept {
        std::size_t face;
        Picture picture;
    };
    // What the worker draws a request with, and the generation it belongs to.
    struct Job {
        std::u16string line;
        LineFrame frame;
        std::uint64_t generation;
    };

    void Work();
    Picture Find(std::size_t face);  // and marks it drawn now
    void Ask(std::size_t face, const FaceSource& source);
    void Keep(std::size_t face, Picture picture);
    void ForgetAll();

    HWND notify_;
    UINT drawnMessage_;
    std::size_t budget_;

    mutable std::mutex mutex_;  // guards what follows, up to the worker
    std::condition_variable wake_;
    std::u16string line_;
    LineFrame frame_;
    std::uint64_t generation_ = 0;  // a new line or Clear: what is being drawn is stale
    std::list<Request> requests_;   // the newest at the back, drawn first
    std::unordered_map<std::size_t, std::list<Request>::iterator> requested_;
    std::optional<std::size_t> drawing_;  // the face the worker is drawing
    std::list<Kept> kept_;                // the most recently drawn at the front
    std::unordered_map<std::size_t, std::list<Kept>::iterator> keptFaces_;
    std::size_t bytes_ = 0;
    bool stop_ = false;
    std::thread worker_;

    std::vector<std::uint32_t> pixels_;  // the rect being drawn, on the window's thread only
};

}  // namespace tavrel
