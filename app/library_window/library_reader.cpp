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

// The file last read stays mapped for its next members. Only a web font is
// planned, for its decoded image; any other is read where it lies.
struct OpenFile {
    std::wstring path;
    std::optional<MappedFile> mapped;
    std::optional<FontPlan> plan;
    bool readable = false;

    Bytes Image() const { return plan ? RegisteredImage(*plan, mapped->bytes()) : mapped->bytes(); }
};

void Open(OpenFile& file, const std::wstring& path) {
    if (file.path == path && file.mapped) return;
    file = OpenFile{path, std::nullopt, std::nullopt, false};
    auto mapped = MappedFile::Open(std::filesystem::path(path));
    if (!mapped) return;
    file.mapped = std::move(mapped.value());
    const FontLoader loader = ChooseLoader(ToU16(path));
    if (loader == FontLoader::Woff || loader == FontLoader::Woff2) {
        auto plan = PlanFontFile(loader, file.mapped->bytes());
        if (!plan) return;
        file.plan = std::move(plan.value());
    }
    file.readable = loader != FontLoader::None;
}

std::optional<std::uint64_t> OffsetTableOf(const OpenFile& file, std::optional<std::uint32_t> member) {
    if (!file.readable) return std::nullopt;
    if (!member) return 0;
    const auto read = ReadCollectionMember(file.Image(), *member);
    if (!read) return std::nullopt;
    return read->directory.at;
}

// Each name once, a line each.
std::wstring NamesLines(Bytes image, std::uint64_t offsetTable) {
    std::wstring lines;
    for (const std::u16string& name : ReadFaceNames(image, offsetTable)) {
        const std::wstring folded = Folded(ToWide(name));
        if (!folded.empty() && (L'\n' + lines).find(L'\n' + folded + L'\n') == std::wstring::npos)
            lines += folded + L'\n';
    }
    return lines;
}

FaceRead ReadFace(OpenFile& file, const FacesToRead::Face& face, const std::wstring& path,
                  const std::vector<char32_t>& wanted, std::uint32_t line) {
    FaceRead read;
    read.face = face.face;
    Open(file, path);
    const auto offsetTable = OffsetTableOf(file, face.member);
    read.traitsRead = face.readTraits;  // a file gone or damaged has no traits to wait for
    if (!offsetTable) return read;
    const Bytes image = file.Image();
    if (face.readTraits) {
        read.traits = ReadFaceTraits(image, *offsetTable);
        read.names = NamesLines(image, *offsetTable);
    }
    if (line) {
        read.lineChecked = line;
        read.setsLine = MapsEveryCharacter(image, *offsetTable, wanted);
    }
    return read;
}

}  // namespace

LibraryReader::LibraryReader(HWND notify, UINT message)
    : notify_(notify), message_(message), threads_{std::thread([this] { Run(); }), std::thread([this] { Run(); })} {}

LibraryReader::~LibraryReader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

// A collection's members share their file's path.
void FacesToRead::Add(std::uint32_t face, const std::wstring& path, std::optional<std::uint32_t> member,
                      bool readTraits) {
    const bool samePath = !faces.empty() && PathOf(faces.back()) == path;
    const auto at = static_cast<std::uint32_t>(samePath ? faces.back().pathAt : paths.size());
    if (!samePath) paths += path;
    faces.push_back({face, at, static_cast<std::uint32_t>(path.size()), member, readTraits});
}

void LibraryReader::Add(FacesToRead faces) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(faces));
    }
    changed_.notify_all();
}

void LibraryReader::Restart(FacesToRead faces, std::vector<char32_t> wanted, std::uint32_t line) {
    {
        std::lock_guard lock(mutex_);
        waiting_.clear();
        waiting_.push_back(std::move(faces));
        next_ = 0;
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
// Below the window's thread, which must answer while a library is read.
void LibraryReader::Run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    OpenFile file;
    std::wstring path;
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!waiting_.empty() && next_ == waiting_.front().faces.size()) {
            waiting_.pop_front();
            next_ = 0;
        }
        if (waiting_.empty()) file = OpenFile{};  // nothing held open while idle
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;
        if (next_ == waiting_.front().faces.size()) continue;
        const FacesToRead::Face face = waiting_.front().faces[next_++];
        path.assign(waiting_.front().PathOf(face));
        const std::vector<char32_t> wanted = wanted_;
        const std::uint32_t line = line_;
        lock.unlock();
        std::optional<FaceRead> read;
        try {
            read = ReadFace(file, face, path, wanted, line);
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
