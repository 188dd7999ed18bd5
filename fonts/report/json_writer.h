#pragma once
// JSON as the command line writes it: compact, every string well formed.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "face_report_fields.h"
#include "unicode_text.h"

namespace tavrel {

class JsonWriter {
public:
    // A string, well formed whatever the bytes: broken UTF-8 becomes U+FFFD.
    void String(std::string_view text) {
        out_ += '"';
        for (std::size_t i = 0; i < text.size();) {
            const char32_t c = NextUtf8(text, i);
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out_ += escape;
            } else {
                AppendUtf8(out_, c);
            }
        }
        out_ += '"';
    }
    void Text(std::u16string_view text) { String(ToUtf8(text)); }
    void Number(double value) { out_ += std::isfinite(value) ? NumberText(value) : "null"; }
    void Count(std::uint64_t value) { out_ += std::to_string(value); }
    void Null() { out_ += "null"; }
    void Bool(bool value) { out_ += value ? "true" : "false"; }

    template <class T, class Write>
    void Optional(const std::optional<T>& value, Write write) {
        if (value) write(*value);
        else Null();
    }
    template <class T>
    void OptionalCount(const std::optional<T>& value) {
        Optional(value, [this](T v) { Count(v); });
    }
    // Members whose values are counts, in the order given.
    void Counts(std::initializer_list<std::pair<std::string_view, std::uint64_t>> members) {
        for (const auto& [key, value] : members) {
            Key(key);
            Count(value);
        }
    }
    template <class Strings>
    void StringArray(const Strings& strings) {
        Open('[');
        for (std::string_view text : strings) {
            Item();
            String(text);
        }
        Close(']');
    }

    // Structure: Key writes the separator before every member but the first.
    void Open(char bracket) {
        out_ += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        out_ += bracket;
        first_ = false;
    }
    void Key(std::string_view key) {
        Item();
        String(key);
        out_ += ':';
    }
    void Item() {
        if (!first_) out_ += ',';
        first_ = false;
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    bool first_ = true;
};

}  // namespace tavrel
