#pragma once
// The library window's one worker: reads each face's traits and names once,
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
#include <thread>
#include <vector>

#include "face_traits.h"

namespace tavrel {

struct FaceToRead {
    std::uint32_t face = 0;  // the window's id
    std::wstring path;
    std::optional<std::uint32_t> member;
    bool readTraits = true;  // else only the line is checked
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
    // Stops after the face in hand and waits for the thread.
    ~LibraryReader();
    LibraryReader(const LibraryReader&) = delete;
    LibraryReader& operator=(const LibraryReader&) = delete;

    // More faces to read, after those waiting.
    void Add(std::vector<FaceToRead> faces);

    // The faces waiting are forgotten for `faces`, each checked for `wanted`
    // (line check `line`; none for 0) as it is read.
    void Restart(std::vector<FaceToRead> faces, std::vector<char32_t> wanted, std::uint32_t line);

    std::vector<FaceRead> Take();

private:
    void Run();

    HWND notify_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FaceToRead> waiting_;
    std::vector<FaceRead> results_;
    std::vector<char32_t> wanted_;
    std::uint32_t line_ = 0;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace tavrel
