#pragma once
// The library window's workers, one a core: read each face's traits and names once,
// from a read-only mapping of its file (a web font decoded as its plan says),
// and checks whether it maps every character of the line, handing results
// to the window in batches. Touches no window, list or GDI object.

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "face_traits.h"

namespace tavrel {

// Faces to read, their paths in one buffer: the ten thousand faces of a
// library cost two blocks, given back whole once read.
struct FacesToRead {
    struct Face {
        std::uint32_t face = 0;  // the window's id
        std::uint32_t pathAt = 0, pathLength = 0;
        std::optional<std::uint32_t> member;
        bool readTraits = true;  // else only the line is checked
    };
    std::vector<Face> faces;
    std::wstring paths;

    void Add(std::uint32_t face, const std::wstring& path, std::optional<std::uint32_t> member, bool readTraits);
    std::wstring_view PathOf(const Face& face) const { return std::wstring_view(paths).substr(face.pathAt, face.pathLength); }
};

struct FaceRead {
    std::uint32_t face = 0;
    bool traitsRead = false;
    FaceTraits traits;
    std::wstring names;  // the full names and family names, folded, each once, a line each
    std::uint32_t lineChecked = 0;  // 0 when the line was not checked
    bool setsLine = false;
};

class LibraryReader {
public:
    // Posts `message` to `notify` when a result lands where none was waiting.
    LibraryReader(HWND notify, UINT message);
    // Stops after the faces in hand and waits for the threads.
    ~LibraryReader();
    LibraryReader(const LibraryReader&) = delete;
    LibraryReader& operator=(const LibraryReader&) = delete;

    // More faces to read, after those waiting.
    void Add(FacesToRead faces);

    // The faces waiting are forgotten for `faces`, each checked for `wanted`
    // (line check `line`; none for 0) as it is read.
    void Restart(FacesToRead faces, std::vector<char32_t> wanted, std::uint32_t line);

    std::vector<FaceRead> Take();

private:
    void Run();

    HWND notify_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FacesToRead> waiting_;
    std::size_t next_ = 0;  // in the first of waiting_
    std::vector<FaceRead> results_;
    std::vector<char32_t> wanted_;
    std::uint32_t line_ = 0;
    bool stopping_ = false;
    // Last: they start once everything above is ready. Two, as the machines
    // it runs on have two cores at least: reading a library is mostly waiting
    // for the files' pages.
    std::thread threads_[2];
};

}  // namespace tavrel
