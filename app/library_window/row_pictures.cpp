#include "row_pictures.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "shaper.h"
#include "subject_face.h"

namespace tavrel {

namespace {

// No list column is wider; a longer line is cut off there.
constexpr int kPictureWidth = 2048;

// What keeping a picture costs beside its mask: the list's and the index's
// nodes and the shared pointer's count, about.
constexpr std::size_t kEntryBytes = 96;

std::size_t Cost(const LinePicture& picture) { return picture.bytes() + kEntryBytes; }

// The face read, shaped and filled, then let go: nothing of its file stays.
// A face that cannot be read or shaped gives an empty picture, drawn as the
// background, so it is not asked for again.
LinePicture DrawFace(const FaceSource& source, const std::u16string& line, const LineFrame& frame) {
    const auto read = ReadFaceFile(source);
    if (!read) return {};
    const auto face = ShapingFace::Open(read->Image(), read->index);
    if (!face) return {};
    return DrawLinePicture(face.value(), line, frame);
}

std::uint32_t Pixel(COLORREF color) {
    return std::uint32_t(GetRValue(color)) << 16 | std::uint32_t(GetGValue(color)) << 8 | GetBValue(color);
}

// Each coverage's pixel: `text` over `back`.
std::array<std::uint32_t, 256> Shades(COLORREF text, COLORREF back) {
    std::array<std::uint32_t, 256> shades{};
    const auto mix = [](int under, int over, int a) { return std::uint32_t((under * (255 - a) + over * a + 127) / 255); };
    for (int a = 0; a < 256; ++a)
        shades[std::size_t(a)] = mix(GetRValue(back), GetRValue(text), a) << 16 |
                                 mix(GetGValue(back), GetGValue(text), a) << 8 | mix(GetBValue(back), GetBValue(text), a);
    return shades;
}

// The picture at the left of a `width` by `height` area, centred on its height,
// into `pixels` (rows top down).
void Compose(std::vector<std::uint32_t>& pixels, int width, int height, const LinePicture* picture, COLORREF text,
             COLORREF back) {
    pixels.assign(std::size_t(width) * std::size_t(height), Pixel(back));
    if (!picture || picture->width == 0) return;
    const std::array<std::uint32_t, 256> shades = Shades(text, back);
    const int top = (height - picture->height) / 2, across = std::min(width, picture->width);
    for (int y = std::max(top, 0); y < std::min(height, top + picture->height); ++y) {
        const std::uint8_t* from = &picture->coverage[std::size_t(y - top) * std::size_t(picture->width)];
        std::uint32_t* to = &pixels[std::size_t(y) * std::size_t(width)];
        for (int x = 0; x < across; ++x) to[x] = shades[from[x]];
    }
}

}  // namespace

RowPictures::RowPictures(HWND notify, UINT drawnMessage, std::size_t budgetBytes)
    : notify_(notify), drawnMessage_(drawnMessage), budget_(budgetBytes), worker_([this] { Work(); }) {}

RowPictures::~RowPictures() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void RowPictures::SetLine(std::u16string line, int pixelsPerEm) {
    const std::lock_guard lock(mutex_);
    line_ = std::move(line);
    frame_ = LineFrameFor(pixelsPerEm, kPictureWidth);
    ForgetAll();
}

void RowPictures::Clear() {
    const std::lock_guard lock(mutex_);
    ForgetAll();
}

void RowPictures::ForgetAll() {
    ++generation_;
    drawing_.reset();  // what the worker is drawing will not be kept: the face may be asked for again
    requests_.clear();
    requested_.clear();
    kept_.clear();
    keptFaces_.clear();
    bytes_ = 0;
}

std::size_t RowPictures::bytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

void RowPictures::Draw(HDC dc, const RECT& rect, std::size_t face, const FaceSource& source, COLORREF text,
                       COLORREF back) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    const Picture picture = Find(face);
    if (!picture) Ask(face, source);
    Compose(pixels_, width, height, picture.get(), text, back);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, rect.left, rect.top, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), pixels_.data(),
                      &info, DIB_RGB_COLORS);
}

RowPictures::Picture RowPictures::Find(std::size_t face) {
    const std::lock_guard lock(mutex_);
    const auto found = keptFaces_.find(face);
    if (found == keptFaces_.end()) return nullptr;
    kept_.splice(kept_.begin(), kept_, found->second);
    return found->second->picture;
}

void RowPictures::Ask(std::size_t face, const FaceSource& source) {
    {
        const std::lock_guard lock(mutex_);
        if (drawing_ == face) return;
        if (const auto asked = requested_.find(face); asked != requested_.end()) {
            requests_.splice(requests_.end(), requests_, asked->second);
            return;
        }
        requested_[face] = requests_.insert(requests_.end(), Request{face, source});
    }
    wake_.notify_one();
}

void RowPictures::KeepOnly(const std::vector<std::size_t>& visible) {
    const std::unordered_set<std::size_t> keep(visible.begin(), visible.end());
    const std::lock_guard lock(mutex_);
    for (auto request = requests_.begin(); request != requests_.end();) {
        if (keep.count(request->face)) {
            ++request;
            continue;
        }
        requested_.erase(request->face);
        request = requests_.erase(request);
    }
}

// The least recently drawn go until the new picture fits; one larger than the
// whole budget is kept alone, so that its row is not asked for again and again.
void RowPictures::Keep(std::size_t face, Picture picture) {
    const std::size_t size = Cost(*picture);
    while (!kept_.empty() && bytes_ + size > budget_) {
        bytes_ -= Cost(*kept_.back().picture);
        keptFaces_.erase(kept_.back().face);
        kept_.pop_back();
    }
    keptFaces_[face] = kept_.insert(kept_.begin(), Kept{face, std::move(picture)});
    bytes_ += size;
}

void RowPictures::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !requests_.empty(); });
        if (stop_) return;
        Request request = std::move(requests_.back());
        requests_.pop_back();
        requested_.erase(request.face);
        drawing_ = request.face;
        const Job job{line_, frame_, generation_};
        lock.unlock();
        Picture picture = std::make_shared<const LinePicture>(DrawFace(request.source, job.line, job.frame));
        lock.lock();
        drawing_.reset();
        if (job.generation != generation_ || keptFaces_.count(request.face)) continue;
        Keep(request.face, std::move(picture));
        PostMessageW(notify_, drawnMessage_, WPARAM(request.face), 0);
    }
}

}  // namespace tavrel
