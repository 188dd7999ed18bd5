#include "subject_code_points.h"

#include "subject_face.h"

namespace tavrel {

std::vector<char32_t> SubjectCodePoints(const DetailsSubject& subject) {
    return ReadSubjectCharacters(subject).codePoints;
}

}  // namespace tavrel
