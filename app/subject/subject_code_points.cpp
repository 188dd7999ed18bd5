#include "subject_code_points.h"

#include "subject_face.h"

namespace tavrel {

std::vector<char32_t> SubjectCodePoints(const DetailsSubject& subject) {
    const auto face = ReadSubjectFace(subject);
    return face ? CharactersOf(*face).codePoints : std::vector<char32_t>{};
}

}  // namespace tavrel
