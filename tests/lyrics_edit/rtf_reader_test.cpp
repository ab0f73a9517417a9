// The RTF text reader: what a document's plain text is.
#include <gtest/gtest.h>

#include <string>

#include "lyrics/RtfReader.h"

namespace {

struct TRtfCase {
    const char* Name;
    std::string Rtf;
    std::string Text;
};

class RtfText : public ::testing::TestWithParam<TRtfCase> {};

TEST_P(RtfText, IsThePlainText) {
    EXPECT_EQ(lv::RtfToPlainText(GetParam().Rtf), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RtfText,
    ::testing::Values(
        TRtfCase{"paragraphs_and_line_breaks",
                 "{\\rtf1\\ansi Title\\par Artist\\line la-la\\par\r\n}", "Title\nArtist\nla-la\n"},
        TRtfCase{"tables_and_info_are_dropped",
                 "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Helvetica;}}"
                 "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                 "{\\info{\\title Secret}{\\author Nobody}}"
                 "\\pard\\plain \\f0\\fs24 Hello\\par}",
                 "Hello\n"},
        TRtfCase{"starred_destinations_and_pictures_are_dropped",
                 "{\\rtf1{\\*\\generator Writer;}{\\*\\pgdsctbl{\\pgdsc0 Standard;}}"
                 "a{\\pict\\pngblip 89504e47}b{\\*\\unknown c}d\\par}",
                 "abd\n"},
        TRtfCase{"hex_escapes_are_bytes", "{\\rtf1\\ansi M\\'e4dchen \\'92\\par}",
                 "M\xE4"
                 "dchen \x92\n"},
        TRtfCase{"unicode_with_a_code_page_byte_skips_the_fallback",
                 "{\\rtf1\\uc1 gr\\u252?n \\u8217'\\par}", "gr\xFCn \x92\n"},
        TRtfCase{"unicode_without_a_byte_keeps_the_fallback", "{\\rtf1\\uc2 x\\u12354??y\\par}",
                 "x??y\n"},
        TRtfCase{"negative_unicode_value", "{\\rtf1\\u-3\\'3fz}", "?z"},
        TRtfCase{"uc0_has_no_fallback", "{\\rtf1\\uc0\\u233 t\\'e9}", "\xE9t\xE9"},
        TRtfCase{"uc_is_scoped_to_its_group", "{\\rtf1{\\uc0 \\u233}\\u233 ?x}", "\xE9\xE9x"},
        TRtfCase{"tabs_and_escaped_symbols", "{\\rtf1 a\\tab b \\{c\\} \\\\ d\\~e\\_f\\-g\\par}",
                 "a\tb {c} \\ d e-fg\n"},
        TRtfCase{"quote_and_dash_words",
                 "{\\rtf1 \\lquote a\\rquote  \\ldblquote b\\rdblquote  \\endash\\emdash}",
                 "\x91"
                 "a\x92 \x93"
                 "b\x94 \x96\x97"},
        TRtfCase{"raw_line_ends_are_not_text", "{\\rtf1 la\r\nla\ndi\\par}", "laladi\n"},
        TRtfCase{"binary_data_is_skipped", std::string("{\\rtf1 a\\bin3 \x01}\x02 b}", 20), "a b"},
        TRtfCase{"text_after_the_document_is_ignored", "{\\rtf1 x}trailing", "x"},
        TRtfCase{"unclosed_document", "{\\rtf1 x{\\b y", "xy"},
        TRtfCase{"stray_closing_braces", "}}{\\rtf1 x}", "x"},
        TRtfCase{"truncated_escapes", "{\\rtf1 a\\'4", "a"},
        TRtfCase{"backslash_at_the_end", "{\\rtf1 a\\", "a"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RtfReader, DeepNestingIsReadFlatWithoutFailing) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        rtf += "{";
    rtf += "deep";
    for (int i = 0; i < 100000; ++i)
        rtf += "}";
    rtf += "after}";
    EXPECT_EQ(lv::RtfToPlainText(rtf), "deepafter");
}

TEST(RtfReader, SkippedDestinationStaysSkippedBelowTheNestingLimit) {
    std::string rtf = "{\\rtf1 {\\fonttbl";
    for (int i = 0; i < 1000; ++i)
        rtf += "{x";
    for (int i = 0; i < 1000; ++i)
        rtf += "}";
    rtf += "}shown}";
    EXPECT_EQ(lv::RtfToPlainText(rtf), "shown");
}

TEST(RtfReader, LooksLikeRtf) {
    EXPECT_TRUE(lv::LooksLikeRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(lv::LooksLikeRtf(" \r\n{\\rtf1"));
    EXPECT_FALSE(lv::LooksLikeRtf("Title\r\nArtist"));
    EXPECT_FALSE(lv::LooksLikeRtf("{\\rt"));
}

} // namespace
