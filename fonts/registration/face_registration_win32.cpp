#include "face_registration_win32.h"

#include <algorithm>
#include <new>
#include <string>

#include "font_file_win32.h"
#include "font_plan.h"
#include "loaded_font_list.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

// The system keeps its own copy of the bytes.
void Register(const std::wstring& path, Bytes image) {
    DWORD fontCount = 1;
    void* bytes = const_cast<std::uint8_t*>(image.data());
    if (const HANDLE handle = AddFontMemResourceEx(bytes, static_cast<DWORD>(image.size()), nullptr, &fontCount))
        ShareRegistration(path, handle);
}

bool HoldsFace(const FontPlan& plan, std::wstring_view faceName, const FaceSource& source) {
    const auto found = std::find(plan.faceNames.begin(), plan.faceNames.end(), ToU16(faceName));
    if (found == plan.faceNames.end()) return false;
    const auto at = static_cast<std::size_t>(found - plan.faceNames.begin());
    if (!source.member) return plan.faceMembers.empty();
    return at < plan.faceMembers.size() && plan.faceMembers[at] == *source.member;
}

Check ReadAndRegister(std::wstring_view faceName, const FaceSource& source) {
    const auto stamp = StampOf(source.path.c_str());
    if (!stamp) return Failure{"the file is gone"};
    if (*stamp != source.stamp) return Failure{"the file changed since it was listed"};
    const auto image = ReadFontFile(source.path.c_str());
    if (!image) return Failure{"cannot read the file"};
    const auto plan = PlanFontFile(ChooseLoader(ToU16(source.path)), image->bytes());
    if (!plan) return Failure{plan.reason()};
    if (!HoldsFace(plan.value(), faceName, source)) return Failure{"the file no longer holds the face"};
    Register(source.path, RegisteredImage(plan.value(), image->bytes()));
    return Passed();
}

}  // namespace

bool RegisterListedFace(std::size_t index) {
    const LoadedFontList& list = LoadedFonts();
    if (index >= list.faceSources.size()) return false;
    if (list.faceSources[index].installed || list.fontHandles[index]) return true;
    try {
        const FaceSource source = list.faceSources[index];
        const Check registered = ReadAndRegister(list.faceNames[index], source);
        if (!registered) RefuseFile(source.path, registered.reason());
        return registered.ok();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool RegisterListedFaceNamed(std::wstring_view faceName) {
    const auto& names = LoadedFonts().faceNames;
    const auto found = std::find(names.begin(), names.end(), faceName);
    return found == names.end() || RegisterListedFace(static_cast<std::size_t>(found - names.begin()));
}

void RegisterListedFaceFrom(std::size_t index, Bytes image) {
    const LoadedFontList& list = LoadedFonts();
    if (index < list.faceSources.size() && !list.faceSources[index].installed && !list.fontHandles[index])
        Register(list.faceSources[index].path, image);
}

}  // namespace tavrel
