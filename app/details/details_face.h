#pragma once
// What the details dialog's pages share of its face: the face read once, the
// instance of a variable face the 組版 and ウォーターフォール pages show, and
// what is slow to work out (the whole report with its coverage, and the
// characters each feature changes), worked out once on a thread of its own
// while the pages show the rest.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "face_details.h"
#include "shaper.h"
#include "subject_face.h"

namespace tavrel {

// Posted to the window DetailsFace was given when the slow parts are ready.
constexpr UINT kFaceFilledInMessage = WM_APP + 2;

class DetailsFace {
public:
    // Reads the face now and starts the thread; `notify` is told when it ends.
    DetailsFace(DetailsSubject subject, HWND notify);
    // The thread stops at its next step and cleans up after itself.
    ~DetailsFace();
    DetailsFace(const DetailsFace&) = delete;
    DetailsFace& operator=(const DetailsFace&) = delete;

    const DetailsSubject& Subject() const { return subject_; }
    // Null when the face cannot be read (ReadSubjectFace).
    const SubjectFace* Face() const { return face_.get(); }

    // The report's rows: whole once filled in, until then all but what is
    // slow; the reason, when the face cannot be read.
    const std::vector<DetailRow>& Rows() const;
    bool FilledIn() const;
    // What `tag` changes; nothing until filled in.
    const std::vector<CharacterChange>* ChangesOf(std::uint32_t tag) const;

    // The instance chosen on either page; empty at the default.
    std::vector<AxisSetting>& Instance() { return instance_; }

private:
    struct Slow {
        std::mutex mutex;
        std::atomic<bool> stop{false};
        bool done = false;
        std::vector<DetailRow> rows;
        std::map<std::uint32_t, std::vector<CharacterChange>> changes;
    };
    static void Work(std::shared_ptr<Slow> slow, std::shared_ptr<const SubjectFace> face, DetailsSubject subject,
                     HWND notify);

    DetailsSubject subject_;
    std::shared_ptr<const SubjectFace> face_;
    std::vector<DetailRow> quickRows_;
    std::shared_ptr<Slow> slow_;
    std::vector<AxisSetting> instance_;
};

}  // namespace tavrel
