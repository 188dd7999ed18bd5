#pragma once
// A strict JSON reader that only says whether a text is one well-formed value.

#include <string_view>

namespace tavrel::fuzz {

class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : text_(text) {}
    bool WellFormed() { return Value(0) && at_ == text_.size(); }

private:
    bool Value(int depth) {
        if (depth > 16 || at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '{') return Members(depth, '}', true);
        if (c == '[') return Members(depth, ']', false);
        if (c == '"') return String();
        if (Word("null") || Word("true") || Word("false")) return true;
        return Number();
    }
    bool Members(int depth, char close, bool keyed) {
        ++at_;
        if (Take(close)) return true;
        do {
            if (keyed && !(String() && Take(':'))) return false;
            if (!Value(depth + 1)) return false;
        } while (Take(','));
        return Take(close);
    }
    bool String() {
        if (!Take('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\' && !Escape()) return false;
        }
        return false;
    }
    bool Escape() {
        if (at_ >= text_.size()) return false;
        const char c = text_[at_++];
        if (std::string_view("\"\\/bfnrt").find(c) != std::string_view::npos) return true;
        if (c != 'u' || text_.size() - at_ < 4) return false;
        for (int i = 0; i < 4; ++i)
            if (std::string_view("0123456789abcdefABCDEF").find(text_[at_++]) == std::string_view::npos) return false;
        return true;
    }
    bool Number() {
        const std::size_t start = at_;
        Take('-');
        const std::size_t digits = Digits();
        if (digits == 0 || (digits > 1 && text_[at_ - digits] == '0')) return false;
        if (Take('.') && Digits() == 0) return false;
        if ((Take('e') || Take('E')) && (Take('+') || Take('-') || true) && Digits() == 0) return false;
        return at_ > start;
    }
    std::size_t Digits() {
        std::size_t count = 0;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_, ++count;
        return count;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    bool Take(char c) {
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace tavrel::fuzz
