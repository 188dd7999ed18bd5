#include "instance_controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "dialog_dpi.h"
#include "label_width.h"
#include "face_report_fields.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

constexpr int kRow = 24, kLabelWidth = 72, kValueWidth = 56, kGap = 6;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr,
                                       instance, nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(GetParent(parent), WM_GETFONT, 0, 0), FALSE);
    return child;
}

std::wstring AxisLabel(const VariationAxis& axis) {
    return WideFromUtf8(TagString(axis.tag)) + (axis.name ? L" " + ToWide(*axis.name) : L"");
}

bool AtDefaults(const NamedInstance& instance, const std::vector<VariationAxis>& axes) {
    for (const auto& [tag, value] : instance.coordinates)
        for (const VariationAxis& axis : axes)
            if (axis.tag == tag && axis.defaultValue != value) return false;
    return true;
}

}  // namespace

InstanceControls::InstanceControls(HWND parent, const FaceInfo& info, std::vector<AxisSetting>& shared,
                                   std::function<void()> changed)
    : parent_(parent), shared_(shared), changed_(std::move(changed)) {
    if (info.axes.empty()) return;
    instancesLabel_ = Child(parent, L"Static", L"インスタンス(&I):", SS_LEFT);
    instances_ = Child(parent, L"ComboBox", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    std::wstring defaultName = L"既定";
    for (const NamedInstance& instance : info.instances) {
        if (AtDefaults(instance, info.axes) && instance.name && defaultName == L"既定") defaultName += L" (" + ToWide(*instance.name) + L")";
        else named_.push_back(instance);
    }
    ComboBox_AddString(instances_, defaultName.c_str());
    for (const NamedInstance& instance : named_)
        ComboBox_AddString(instances_, instance.name ? ToWide(*instance.name).c_str() : L"(名前なし)");
    ComboBox_SetCurSel(instances_, 0);
    for (const VariationAxis& axis : info.axes) {
        Axis made{axis};
        made.factor = axis.maximum - axis.minimum <= 100 ? 10 : 1;
        made.label = Child(parent, L"Static", AxisLabel(axis).c_str(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS);
        made.track = Child(parent, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS);
        made.value = Child(parent, L"Static", L"", SS_LEFT | SS_NOPREFIX);
        SendMessageW(made.track, TBM_SETRANGEMIN, FALSE, LPARAM(std::lround(axis.minimum * made.factor)));
        SendMessageW(made.track, TBM_SETRANGEMAX, FALSE, LPARAM(std::lround(axis.maximum * made.factor)));
        // Arrow keys move by 1 % of the range, Page Up and Page Down by 10 %.
        const double range = (axis.maximum - axis.minimum) * made.factor;
        SendMessageW(made.track, TBM_SETLINESIZE, 0, LPARAM(std::max<long>(std::lround(range / 100), 1)));
        SendMessageW(made.track, TBM_SETPAGESIZE, 0, LPARAM(std::max<long>(std::lround(range / 10), 1)));
        SetPosition(made, SharedValue(made));
        axes_.push_back(made);
    }
    SelectMatchingInstance();
}

int InstanceControls::Height() const {
    return Variable() ? int(axes_.size() + 1) * (Scaled(parent_, kRow) + Scaled(parent_, kGap)) : 0;
}

// As wide as the widest label, at most half the band.
int InstanceControls::LabelColumn(int width) const {
    int label = std::max(Scaled(parent_, kLabelWidth), LabelWidth(instancesLabel_));
    for (const Axis& axis : axes_) label = std::max(label, LabelWidth(axis.label));
    return std::min(label + Scaled(parent_, kGap), width / 2);
}

void InstanceControls::MoveTo(int left, int top, int width) const {
    if (!Variable()) return;
    const int row = Scaled(parent_, kRow), gap = Scaled(parent_, kGap), label = LabelColumn(width),
              value = Scaled(parent_, kValueWidth);
    MoveWindow(instancesLabel_, left, top + Scaled(parent_, 4), label, row, TRUE);
    MoveWindow(instances_, left + label, top, std::max(width - label, 0), Scaled(parent_, 240), TRUE);
    for (const Axis& axis : axes_) {
        top += row + gap;
        MoveWindow(axis.label, left, top + Scaled(parent_, 4), label, row, TRUE);
        MoveWindow(axis.track, left + label, top, std::max(width - label - value, 0), row, TRUE);
        MoveWindow(axis.value, left + width - value + gap, top + Scaled(parent_, 4), value - gap, row, TRUE);
    }
}

std::vector<AxisSetting> InstanceControls::Settings() const {
    std::vector<AxisSetting> settings;
    for (const Axis& axis : axes_) settings.push_back({axis.axis.tag, float(Value(axis))});
    return settings;
}

bool InstanceControls::AtDefault() const {
    for (const Axis& axis : axes_)
        if (std::abs(Value(axis) - axis.axis.defaultValue) * axis.factor >= 0.5) return false;
    return true;
}

void InstanceControls::SetPosition(Axis& axis, double value) const {
    SendMessageW(axis.track, TBM_SETPOS, TRUE, LPARAM(std::lround(value * axis.factor)));
    ShowValue(axis);
}

double InstanceControls::Value(const Axis& axis) const {
    return double(SendMessageW(axis.track, TBM_GETPOS, 0, 0)) / axis.factor;
}

void InstanceControls::ShowValue(const Axis& axis) const {
    SetWindowTextW(axis.value, WideFromUtf8(NumberText(Value(axis))).c_str());
}

// "wght 512, slnt -3.5": where the track bars are.
std::wstring InstanceControls::ValuesText() const {
    std::wstring text;
    for (const Axis& axis : axes_)
        text += (text.empty() ? L"" : L", ") + WideFromUtf8(TagString(axis.axis.tag) + " " + NumberText(Value(axis)));
    return text;
}

// The drop-down names the instance the track bars are at; between named
// instances, an item after them gives the axes' values.
void InstanceControls::SelectMatchingInstance() {
    const int valuesItem = int(named_.size()) + 1;
    if (ComboBox_GetCount(instances_) > valuesItem) ComboBox_DeleteString(instances_, valuesItem);
    int match = AtDefault() ? 0 : -1;
    for (std::size_t i = 0; i < named_.size() && match < 0; ++i) {
        bool same = true;
        for (const auto& [tag, value] : named_[i].coordinates)
            for (const Axis& axis : axes_)
                if (axis.axis.tag == tag && std::abs(Value(axis) - value) * axis.factor >= 0.5) same = false;
        if (same) match = int(i) + 1;
    }
    if (match < 0) match = ComboBox_AddString(instances_, ValuesText().c_str());
    ComboBox_SetCurSel(instances_, match);
}

double InstanceControls::SharedValue(const Axis& axis) const {
    for (const AxisSetting& setting : shared_)
        if (setting.tag == axis.axis.tag) return setting.value;
    return axis.axis.defaultValue;
}

void InstanceControls::Changed() {
    shared_ = Settings();
    changed_();
}

bool InstanceControls::Follow() {
    bool same = true;
    for (const Axis& axis : axes_) same = same && std::abs(Value(axis) - SharedValue(axis)) * axis.factor < 0.5;
    if (same) return false;
    for (Axis& axis : axes_) SetPosition(axis, SharedValue(axis));
    SelectMatchingInstance();
    return true;
}

bool InstanceControls::OnCommand(HWND control, WORD code) {
    if (!Variable() || control != instances_) return false;
    if (code != CBN_SELCHANGE) return true;
    const int item = ComboBox_GetCurSel(instances_);
    if (item < 0 || std::size_t(item) > named_.size()) return true;  // the values the bars are at already
    for (Axis& axis : axes_) {
        double value = axis.axis.defaultValue;
        if (item > 0 && std::size_t(item) <= named_.size())
            for (const auto& [tag, coordinate] : named_[std::size_t(item) - 1].coordinates)
                if (tag == axis.axis.tag) value = coordinate;
        SetPosition(axis, value);
    }
    SelectMatchingInstance();  // takes away the values' item
    Changed();
    return true;
}

bool InstanceControls::OnScroll(HWND control) {
    for (const Axis& axis : axes_) {
        if (axis.track != control) continue;
        ShowValue(axis);
        SelectMatchingInstance();
        Changed();
        return true;
    }
    return false;
}

}  // namespace tavrel
