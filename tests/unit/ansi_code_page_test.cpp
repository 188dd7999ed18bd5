// Macintosh full names are decoded in the thread's ANSI code page
// (CP_THREAD_ACP): the same bytes read as Shift-JIS on a Japanese thread and
// as Windows-1252 on a Western one.
#include <windows.h>

#include <gtest/gtest.h>

#include "font_builder.h"
#include "full_name.h"

namespace tavrel {
namespace {

using test::ByteVector;

// Gives the calling thread a locale for one test and restores the old one.
class ThreadLocale {
public:
    explicit ThreadLocale(LANGID language) : saved_(GetThreadLocale()) {
        EXPECT_TRUE(SetThreadLocale(MAKELCID(language, SORT_DEFAULT)));
    }
    ~ThreadLocale() { SetThreadLocale(saved_); }

    static UINT AnsiCodePage() {
        UINT codePage = 0;
        GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
        return codePage;
    }

private:
    LCID saved_;
};

std::u16string MacFullName(const ByteVector& text, std::uint16_t encoding = 1, std::uint16_t language = 11) {
    const ByteVector table = test::NameTableBuilder().Record({1, encoding, language, 4, text}).Build();
    std::u16string name = u"stale";
    PickFullName(name, table);
    return name;
}

const ByteVector kGothicShiftJis{0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E};

TEST(AnsiCodePage, JapaneseThreadReadsShiftJis) {
    ThreadLocale japanese(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    ASSERT_EQ(ThreadLocale::AnsiCodePage(), 932u);
    EXPECT_EQ(MacFullName(kGothicShiftJis), u"ゴシック");
    EXPECT_EQ(MacFullName({'I', 'P', 'A', 0xB1, 0xB2}), u"IPAｱｲ");  // half-width katakana
    // 600 bytes of double-byte characters: 300 characters, cut to 259.
    ByteVector many;
    for (int i = 0; i < 300; ++i) many.insert(many.end(), {0x83, 0x53});
    EXPECT_EQ(MacFullName(many), std::u16string(259, u'ゴ'));
}

TEST(AnsiCodePage, JapaneseThreadSurvivesBrokenShiftJis) {
    ThreadLocale japanese(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    // A lead byte with no trail byte, at the end or before the zero that ends
    // the text, and one followed by a byte that cannot trail it: some
    // replacement, never a NUL or a longer text. Wine gives U+30FB for the
    // lone lead byte and swallows the invalid trail byte with it ("AB・");
    // Windows is only held to what both must share.
    for (const ByteVector& text :
         {ByteVector{'A', 'B', 0x83}, ByteVector{'A', 'B', 0x83, 0x00, 'C'}, ByteVector{'A', 'B', 0x83, 0x20}}) {
        const std::u16string name = MacFullName(text);
        EXPECT_LE(name.size(), text.size());
        EXPECT_EQ(name.find(u'\0'), std::u16string::npos);
        EXPECT_EQ(name.substr(0, 2), u"AB");
    }
    // Single bytes code page 932 leaves unassigned map to U+0080 and the private use area.
    EXPECT_EQ(MacFullName({0x80, 0xA0, 0xFD, 0xFE, 0xFF}), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
}

TEST(AnsiCodePage, WesternThreadReadsWindows1252) {
    ThreadLocale english(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_EQ(ThreadLocale::AnsiCodePage(), 1252u);
    EXPECT_EQ(MacFullName({'C', 'a', 'f', 0xE9, ' ', 0x80, 0x99}, 0, 0), u"Café €™");
    // The same Shift-JIS bytes as four pairs of Western characters.
    EXPECT_EQ(MacFullName(kGothicShiftJis, 0, 0), u"ƒSƒVƒbƒN");
    // The five bytes Windows-1252 leaves unassigned pass through as C1 controls.
    EXPECT_EQ(MacFullName({0x81, 0x8D, 0x8F, 0x90, 0x9D}, 0, 0), u"\u0081\u008D\u008F\u0090\u009D");
}

}  // namespace
}  // namespace tavrel
