#include "subject_code_points.h"

#include "subject_face.h"

namespace tavrel {

std::vector<char32_t> SubjectCodePoints(const DetailsSubject& subject) {
    const auto face = ReadSubjectFace(subject);
    return face && face->info.codePoints ? *face->info.codePoints : std::vector<char32_t>{};
}

}  // namespace tavrel
