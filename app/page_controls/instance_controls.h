#pragma once
// The instance of a variable face a page shows: its named instances in a
// drop-down, the default first, and a track bar per axis from its minimum to
// its maximum, with the value beside it. Either one changes the other. The
// instance is shared with the other pages that show one.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "face_info.h"
#include "shaper.h"

namespace tavrel {

class InstanceControls {
public:
    // Nothing is made for a face without axes. The controls start at `shared`
    // (empty: the default) and keep it as they change; `changed` runs after
    // every change of the instance. `shared` must outlive them.
    InstanceControls(HWND parent, const FaceInfo& info, std::vector<AxisSetting>& shared, std::function<void()> changed);

    bool Variable() const { return !axes_.empty(); }
    // The height the controls take at the parent's DPI; 0 for a face without axes.
    int Height() const;
    // Lays the controls out in a band `width` wide from (left, top).
    void MoveTo(int left, int top, int width) const;

    std::vector<AxisSetting> Settings() const;
    // True at every axis's default, where GDI can draw the face.
    bool AtDefault() const;

    // The parent hands on WM_COMMAND and WM_HSCROLL; true when they were ours.
    bool OnCommand(HWND control, WORD code);
    bool OnScroll(HWND control);
    // Takes the shared instance when another page has changed it; true then.
    bool Follow();

private:
    struct Axis {
        VariationAxis axis;
        HWND label = nullptr, track = nullptr, value = nullptr;
        int factor = 1;  // track positions per axis unit
    };
    int LabelColumn(int width) const;
    void SetPosition(Axis& axis, double value) const;
    double Value(const Axis& axis) const;
    void ShowValue(const Axis& axis) const;
    std::wstring ValuesText() const;
    void SelectMatchingInstance();
    double SharedValue(const Axis& axis) const;
    void Changed();

    HWND parent_;
    HWND instances_ = nullptr, instancesLabel_ = nullptr;
    std::vector<Axis> axes_;
    std::vector<NamedInstance> named_;  // the combo's items after the default, in order
    std::vector<AxisSetting>& shared_;
    std::function<void()> changed_;
};

}  // namespace tavrel
