#pragma once
// The panel beside the 文字 page's grid: who the selected character is (its
// codes, readings, radical and strokes, and what the face gives it) as
// selectable text, and its variant glyphs side by side.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "character_glyphs.h"
#include "routed_window.h"
#include "variant_strip.h"

namespace tavrel {

constexpr wchar_t kCharacterPanelClass[] = L"TavrelCharacterPanel";

class CharacterPanel : public MessageTarget {
public:
    // `face` (absent for a face that cannot be read) must outlive the panel.
    CharacterPanel(HWND parent, const std::wstring& faceName, FaceCharacterGlyphs glyphs, const ShapingFace* face);
    ~CharacterPanel() override;
    CharacterPanel(const CharacterPanel&) = delete;
    CharacterPanel& operator=(const CharacterPanel&) = delete;

    HWND Window() const { return hwnd_; }
    void Show(std::optional<char32_t> character);
    void SetCellSize(int pixels);
    // What Ctrl+C and the copy button copy while the variants have the focus: the selected one's base and selector.
    std::optional<std::wstring> FocusedVariant() const;

    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout(int width, int height) const;

    HWND hwnd_ = nullptr, text_ = nullptr;
    std::unique_ptr<VariantStrip> strip_;
    const FaceCharacterGlyphs glyphs_;
};

}  // namespace tavrel
