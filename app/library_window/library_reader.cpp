#include "library_reader.h"

#include <filesystem>
#include <new>
#include <utility>

#include "collection.h"
#include "font_plan.h"
#include "loader_choice.h"
#include "library_rows.h"
#include "mapped_file.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

// Results are small; the window takes them in batches of whatever waits.
// The file last read stays mapped, and its plan made, for its next members.
struct OpenFile {
    std::wstring path;
    std::optional<MappedFile> mapped;
    std::optional<FontPlan> plan;

    Bytes Image() const { return RegisteredImage(*plan, mapped->bytes()); }
};

void Open(OpenFile& file, const std::wstring& path) {
    if (file.path == path && file.mapped) return;
    file = OpenFile{path, std::nullopt, std::nullopt};
    auto mapped = MappedFile::Open(std::filesystem::path(path));
    if (!mapped) return;
    auto plan = PlanFontFile(ChooseLoader(ToU16(path)), mapped->bytes());
    if (!plan) return;
    file.mapped = std::move(mapped.value());
    file.plan = std::move(plan.value());
}

std::optional<std::uint64_t> OffsetTableOf(const OpenFile& file, std::optional<std::uint32_t> member) {
    if (!file.plan) return std::nullopt;
    if (!member) return 0;
    const auto read = ReadCollectionMember(file.Image(), *member);
    if (!read) return std::nullopt;
    return read->directory.at;
}

std::wstring NamesLines(Bytes image, std::uint64_t offsetTable, const std::wstring& path) {
    std::wstring lines;
    for (const std::u16string& name : ReadFaceNames(image, offsetTable)) lines += ToWide(name) + L'\n';
    lines += path.substr(path.find_last_of(L"\\/") + 1);
    return Folded(std::move(lines));
}

FaceRead ReadFace(OpenFile& file, const FaceToRead& face, const std::vector<char32_t>& wanted, std::uint32_t line) {
    FaceRead read;
    read.face = face.face;
    Open(file, face.path);
    const auto offsetTable = OffsetTableOf(file, face.member);
    read.traitsRead = face.readTraits;  // a file gone or damaged has no traits to wait for
    if (!offsetTable) return read;
    const Bytes image = file.Image();
    if (face.readTraits) {
        read.traits = ReadFaceTraits(image, *offsetTable);
        read.names = NamesLines(image, *offsetTable, face.path);
    }
    if (line) {
        read.lineChecked = line;
        read.setsLine = MapsEveryCharacter(image, *offsetTable, wanted);
    }
    return read;
}

}  // namespace

LibraryReader::LibraryReader(HWND notify, UINT message)
    : notify_(notify), message_(message), thread_([this] { Run(); }) {}

LibraryReader::~LibraryReader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LibraryReader::Add(std::vector<FaceToRead> faces) {
    {
        std::lock_guard lock(mutex_);
        for (FaceToRead& face : faces) waiting_.push_back(std::move(face));
    }
    changed_.notify_all();
}

void LibraryReader::Restart(std::vector<FaceToRead> faces, std::vector<char32_t> wanted, std::uint32_t line) {
    {
        std::lock_guard lock(mutex_);
        waiting_.assign(std::make_move_iterator(faces.begin()), std::make_move_iterator(faces.end()));
        wanted_ = std::move(wanted);
        line_ = line;
    }
    changed_.notify_all();
}

std::vector<FaceRead> LibraryReader::Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(results_, {});
}

// Memory running out leaves the face unread; the others go on.
void LibraryReader::Run() {
    OpenFile file;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (waiting_.empty()) file = OpenFile{};  // nothing held open while idle
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;
        const FaceToRead face = std::move(waiting_.front());
        waiting_.pop_front();
        const std::vector<char32_t> wanted = wanted_;
        const std::uint32_t line = line_;
        lock.unlock();
        std::optional<FaceRead> read;
        try {
            read = ReadFace(file, face, wanted, line);
        } catch (const std::bad_alloc&) {
            file = OpenFile{};
        }
        lock.lock();
        if (!read) continue;
        const bool wasEmpty = results_.empty();
        results_.push_back(std::move(*read));
        if (wasEmpty) PostMessageW(notify_, message_, 0, 0);
    }
}

}  // namespace tavrel
