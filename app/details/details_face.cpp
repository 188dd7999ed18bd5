#include "details_face.h"

#include <new>
#include <thread>

namespace tavrel {

DetailsFace::DetailsFace(DetailsSubject subject, HWND notify)
    : subject_(std::move(subject)), slow_(std::make_shared<Slow>()) {
    if (auto face = ReadSubjectFace(subject_)) face_ = std::make_shared<const SubjectFace>(std::move(*face));
    if (!face_) {
        // Read again to say why: the file is gone, changed, or the face is not loaded.
        slow_->rows = quickRows_ = DescribeSubject(subject_);
        slow_->done = true;
        PostMessageW(notify, kFaceFilledInMessage, 0, 0);
        return;
    }
    quickRows_ = DescribeSubjectFace(subject_, *face_, ReportDepth::Quick);
    std::thread(Work, slow_, face_, subject_, notify).detach();
}

DetailsFace::~DetailsFace() {
    const std::lock_guard lock(slow_->mutex);
    slow_->stop = true;
}

// Memory running out leaves the quick rows and no changes, as for a face without features.
void DetailsFace::Work(std::shared_ptr<Slow> slow, std::shared_ptr<const SubjectFace> face, DetailsSubject subject,
                       HWND notify) {
    // Below the window's priority, so that a busy machine gives the opening dialog the processor first.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    std::vector<DetailRow> rows;
    std::map<std::uint32_t, std::vector<CharacterChange>> changes;
    try {
        rows = DescribeSubjectFace(subject, *face, ReportDepth::Whole);
        changes = EveryFeatureChange(*face, slow->stop);
    } catch (const std::bad_alloc&) {
        rows.clear();
        changes.clear();
    }
    const std::lock_guard lock(slow->mutex);
    slow->rows = std::move(rows);
    slow->changes = std::move(changes);
    slow->done = true;
    if (!slow->stop) PostMessageW(notify, kFaceFilledInMessage, 0, 0);
}

bool DetailsFace::FilledIn() const {
    const std::lock_guard lock(slow_->mutex);
    return slow_->done;
}

const std::vector<DetailRow>& DetailsFace::Rows() const {
    return FilledIn() && !slow_->rows.empty() ? slow_->rows : quickRows_;
}

const std::vector<CharacterChange>* DetailsFace::ChangesOf(std::uint32_t tag) const {
    static const std::vector<CharacterChange> none;
    if (!FilledIn()) return nullptr;
    const auto found = slow_->changes.find(tag);
    return found == slow_->changes.end() ? &none : &found->second;
}

}  // namespace tavrel
