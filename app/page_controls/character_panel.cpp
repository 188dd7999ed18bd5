#include "character_panel.h"

#include <algorithm>

#include "character_text.h"
#include "code_point_text.h"
#include "face_report_fields.h"
#include "wide_text_win32.h"

namespace tavrel {

namespace {

std::wstring Line(std::u16string_view label, const std::string& value) {
    return std::wstring(label.begin(), label.end()) + L": " + WideFromUtf8(value) + L"\r\n";
}

// Every row of the character's identity, then what the face gives it.
std::wstring Describe(char32_t c, const CharacterGlyphs& glyphs) {
    std::wstring text = Utf16Of(c) + L"  " + CodePointLabel(c) + L"\r\n";
    for (const CharacterRow& row : CharacterRows(IdentifyCharacter(c))) text += Line(row.labelJapanese, row.value);
    if (glyphs.glyph) text += Line(u"グリフ", std::to_string(*glyphs.glyph));
    if (glyphs.cid) text += Line(u"CID", std::to_string(*glyphs.cid));
    std::string sequences;
    for (const VariationSequence& s : glyphs.sequences)
        sequences.append(sequences.empty() ? "" : ", ").append(CodePointText(s.selector)).append(" ").append(std::to_string(s.glyph));
    if (!sequences.empty()) text += Line(u"異体字シーケンス", sequences);
    return text;
}

}  // namespace

CharacterPanel::CharacterPanel(HWND parent, const std::wstring& faceName, FaceCharacterGlyphs glyphs,
                               const ShapingFace* face)
    : glyphs_(std::move(glyphs)) {
    hwnd_ = CreateRoutedWindow(kCharacterPanelClass, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, this);
    strip_ = std::make_unique<VariantStrip>(hwnd_, faceName, face);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            0, 0, 0, 0, hwnd_, nullptr, instance, nullptr);
    SendMessageW(text_, WM_SETFONT, SendMessageW(GetAncestor(parent, GA_ROOT), WM_GETFONT, 0, 0), FALSE);
}

CharacterPanel::~CharacterPanel() {
    strip_.reset();
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void CharacterPanel::Show(std::optional<char32_t> c) {
    const CharacterGlyphs glyphs = c ? GlyphsOfCharacter(glyphs_, *c, std::nullopt) : CharacterGlyphs{};
    SetWindowTextW(text_, c ? Describe(*c, glyphs).c_str() : L"");
    std::vector<char32_t> selectors;
    for (const VariationSequence& s : glyphs.sequences) selectors.push_back(s.selector);
    RECT client{}, strip{};
    GetClientRect(hwnd_, &client);
    GetClientRect(strip_->Window(), &strip);
    strip_->Show(c.value_or(0), std::move(selectors));
    // Only a character with more rows of variants than the last moves the text.
    if (std::min<LONG>(strip_->Height(client.right), client.bottom / 2) != strip.bottom) Layout(client.right, client.bottom);
}

void CharacterPanel::SetCellSize(int pixels) {
    strip_->SetCellSize(pixels);
    RECT client{};
    GetClientRect(hwnd_, &client);
    Layout(client.right, client.bottom);
}

std::optional<std::wstring> CharacterPanel::FocusedVariant() const {
    return strip_->HasFocusForCopy() ? strip_->SelectedText() : std::nullopt;
}

// The variants over the text, the text taking what is left and scrolling rather than clipping or
// wrapping (Wine's text box measures a wrapped line again and again, a frame's time for the panel).
void CharacterPanel::Layout(int width, int height) const {
    const int strip = std::min(strip_->Height(width), height / 2);
    MoveWindow(strip_->Window(), 0, 0, width, strip, TRUE);
    MoveWindow(text_, 0, strip, width, std::max(height - strip, 0), TRUE);
}

LRESULT CharacterPanel::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) return Layout(LOWORD(lParam), HIWORD(lParam)), 0;
    return MessageTarget::OnMessage(hwnd, message, wParam, lParam);
}

}  // namespace tavrel
