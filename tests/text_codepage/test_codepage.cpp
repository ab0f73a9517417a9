// Windows-1252 decoding and encoding of lyric bytes.
#include <gtest/gtest.h>

#include "text/CodePage.h"

namespace {

TEST(CodePage1252, DecodesTheBytesThatDifferFromLatin1) {
    struct TCase {
        std::uint8_t Byte;
        char32_t Want;
    };
    const TCase cases[] = {
        {0x41, U'A'},
        {0x0D, U'\r'},
        {0x80, U'\u20AC'},
        {0x82, U'\u201A'},
        {0x8A, U'\u0160'},
        {0x92, U'\u2019'},
        {0x96, U'\u2013'},
        {0x9F, U'\u0178'},
        {0xA0, U'\u00A0'},
        {0xB4, U'\u00B4'},
        {0xE9, U'\u00E9'},
        {0xFF, U'\u00FF'},
        // Undefined in the code page: the control character of the same value.
        {0x81, U'\u0081'},
        {0x8D, U'\u008D'},
        {0x8F, U'\u008F'},
        {0x90, U'\u0090'},
        {0x9D, U'\u009D'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lv::DecodeByte(lv::TCodePage::Windows1252, c.Byte), c.Want)
            << std::hex << int(c.Byte);
    EXPECT_EQ(lv::DecodeToUtf8("Gr\xFC\xDF \x80 \x93x\x94"), "Grüß € “x”");
}

TEST(CodePage1252, EveryByteSurvivesTheWayThereAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = lv::DecodeToUtf8(all);
    std::size_t replaced = 99;
    EXPECT_EQ(lv::EncodeFromUtf8(utf8, lv::TCodePage::Windows1252, &replaced), all);
    EXPECT_EQ(replaced, 0u);
}

TEST(CodePage1252, UnrepresentableAndMalformedInputBecomesQuestionMarks) {
    std::size_t replaced = 0;
    // A Cyrillic letter, an emoji, a stray continuation byte, a cut sequence.
    EXPECT_EQ(lv::EncodeFromUtf8("a\u0416b\U0001F600c\x80"
                                 "d\xE2\x82",
                                 lv::TCodePage::Windows1252, &replaced),
              "a?b?c?d??");
    EXPECT_EQ(replaced, 5u);
}

} // namespace
