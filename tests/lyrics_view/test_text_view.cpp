#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SongFixture.h"
#include "lyrics/TextView.h"

using lvtest::MakeSong;
using Rows = std::vector<std::pair<std::int32_t, std::string>>;

namespace {

// Title, performer and two lines of lyrics.
const Rows kTwoLines = {{108, "Title"}, {112, "\r"},  {116, "Singer"}, {120, "\r"},
                        {480, "Hel"},   {600, "lo "}, {720, "world"},  {900, "\r"},
                        {960, "and "},  {1080, "on"}};

lv::TSong SongWith(const Rows& rows) {
    auto song = MakeSong({.SongEndTick = 7680});
    lvtest::SetSyllables(song, rows);
    return song;
}

} // namespace

TEST(TextView, ViewTextHasOneLinePerLineBreak) {
    auto song = SongWith({{108, "Title"},
                          {112, "\r"},
                          {116, "Singer"},
                          {120, "\r"},
                          {480, ""},
                          {500, "one "},
                          {600, "two\r"},
                          {700, "three"}});
    EXPECT_EQ(lv::FillTextView(song), "Title\r\nSinger\r\none two\r\nthree");
    EXPECT_EQ(lv::BuildViewText(song), lv::FillTextView(song));
    // Entries beyond SyllableCount are not shown.
    song.SyllableCount = 3;
    EXPECT_EQ(lv::BuildViewText(song), "Title\r\nSinger");
}

TEST(TextView, TypographicApostrophesBecomePlainOnes) {
    auto song = SongWith({{108, "don\x92t"},
                          {112, "\xB4"
                                "a\x60"
                                "b\x82"
                                "c\x91"},
                          {116, "\xE9"}});
    EXPECT_EQ(lv::FillTextView(song), "don't'a'b'c'\xE9");
    EXPECT_EQ(song.Syllables[0].Text, "don't");
    EXPECT_EQ(song.Syllables[1].Text, "'a'b'c'");
    EXPECT_EQ(song.Syllables[2].Text, "\xE9");
}

TEST(TextViewHighlight, SelectsTheSungPartOfTheLine) {
    auto song = SongWith(kTwoLines);
    const std::string view = lv::FillTextView(song);
    ASSERT_EQ(view, "Title\r\nSinger\r\nHello world\r\nand on");
    struct {
        std::int32_t Index;
        const char* Selected;
        std::int32_t Caret; // scroll-ahead position
    } cases[] = {
        {0, "Title", 28},  // caret after the third line end ahead
        {2, "Singer", 34}, // fewer line ends left: the end of the view
        {4, "Hel", 34},      {6, "Hello world", 34},
        {9, "and on", 34},  // the last syllable selects the last line
        {1, "Title\r", 28}, // a line break: the line just ended, two lines ahead
        {3, "Singer\r", 34}, {7, "Hello world\r", 34},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        const auto h = lv::HighlightSyllable(song, c.Index, view);
        ASSERT_TRUE(h.Apply);
        EXPECT_EQ(view.substr(h.SelStart, h.SelEnd - h.SelStart), c.Selected);
        EXPECT_EQ(h.ScrollCaret, c.Caret);
        EXPECT_EQ(song.SelectedSyllable, c.Index);
        EXPECT_FALSE(song.AtLineEnd);
    }
}

TEST(TextViewHighlight, ScrollsThreeLinesAhead) {
    Rows rows = {{108, "T"}, {112, "\r"}, {116, "S"}, {120, "\r"}};
    for (int line = 0; line < 6; ++line) {
        rows.push_back({500 + 100 * line, "ab"});
        rows.push_back({550 + 100 * line, "\r"});
    }
    auto song = SongWith(rows);
    const std::string view = lv::FillTextView(song);
    // Each lyric line is "ab\r\n", four characters, from position 6 on.
    const auto h = lv::HighlightSyllable(song, 4, view);
    EXPECT_EQ(h.SelStart, 6);
    EXPECT_EQ(h.SelEnd, 8);
    EXPECT_EQ(h.ScrollCaret, 6 + 3 * 4);
    const auto onBreak = lv::HighlightSyllable(song, 5, view);
    EXPECT_EQ(onBreak.ScrollCaret, 6 + 3 * 4);
}

TEST(TextViewHighlight, LineBreakAfterABlankInTheControlText) {
    // When the control's own text holds a blank before its line end, the
    // selection stops before the blank.
    auto song = SongWith({{108, "ab"}, {112, "\r"}, {116, "c"}});
    const auto h = lv::HighlightSyllable(song, 1, "ab \nc");
    EXPECT_EQ(h.SelStart, 0);
    EXPECT_EQ(h.SelEnd, 2);
    // A shorter control text than the table is no failure.
    const auto shortText = lv::HighlightSyllable(song, 1, "");
    EXPECT_TRUE(shortText.Apply);
    EXPECT_EQ(shortText.SelEnd, 3);
}

TEST(TextViewHighlight, IndexOutsideTheTableDoesNothing) {
    auto song = SongWith(kTwoLines);
    song.SelectedSyllable = 4;
    for (std::int32_t index : {-1, 10, 1000}) {
        EXPECT_FALSE(lv::HighlightSyllable(song, index, "").Apply) << index;
        EXPECT_EQ(song.SelectedSyllable, 4);
    }
    auto empty = SongWith({});
    EXPECT_FALSE(lv::HighlightSyllable(empty, 0, "").Apply);
}
