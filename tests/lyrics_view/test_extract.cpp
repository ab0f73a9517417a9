#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SongFixture.h"
#include "model/Errors.h"
#include "model/Extract.h"

using lvtest::MakeSong;
using Rows = std::vector<std::pair<std::int32_t, std::string>>;

namespace {

// A song whose lyrics track holds lyric events at the given ticks.
lv::TSong LyricSong(const Rows& events, const std::string& copyright = "") {
    auto song = MakeSong({.SongEndTick = 100000});
    song.Config.CopyrightString = copyright;
    for (const auto& [tick, text] : events)
        lvtest::AddLyric(song, tick, text);
    return song;
}

// A song whose track 0 holds text events.
lv::TSong TextSong(const Rows& events) {
    auto song = MakeSong({.SongEndTick = 100000});
    for (const auto& [tick, text] : events)
        lvtest::AddText(song, 0, tick, text);
    return song;
}

Rows Extracted(lv::TSong& song) {
    lv::ExtractLyrics(song);
    return lvtest::SyllableRows(song);
}

} // namespace

TEST(ExtractSource, ChoosesTheTrackWithTheMostEventsOfOneType) {
    struct {
        const char* Name;
        int Lyrics, TextsTrack0, TextsTrack1;
        int Type, Track; // Track -1: the lyrics track
        int Count;
    } cases[] = {
        {"five lyrics beat many texts", 5, 12, 0, 5, -1, 5},
        {"four lyrics, twelve texts", 4, 12, 0, 1, 0, 12},
        {"four of each: no lyrics", 4, 4, 0, 5, 0, 0},
        {"texts in the second track", 0, 3, 7, 1, 1, 7},
        {"equal text counts: lower track", 0, 6, 6, 1, 0, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto song = MakeSong({.TrackCount = 2, .SongEndTick = 100000});
        for (int i = 0; i < c.Lyrics; ++i)
            lvtest::AddLyric(song, 1000 + 100 * i, "la ");
        for (int i = 0; i < c.TextsTrack0; ++i)
            lvtest::AddText(song, 0, 1000 + 100 * i, "t0 ");
        for (int i = 0; i < c.TextsTrack1; ++i)
            lvtest::AddText(song, 1, 1000 + 100 * i, "t1 ");
        lv::ExtractLyrics(song);
        EXPECT_EQ(song.LyricSourceType, c.Type);
        EXPECT_EQ(song.LyricSourceTrack, c.Track < 0 ? 2 : c.Track);
        EXPECT_EQ(song.SyllableCount, c.Count);
    }
}

TEST(ExtractSource, FewerThanFiveEntriesAfterCleaningAreNoLyrics) {
    // Five events, but two are blank: three entries remain.
    auto song = LyricSong({{500, "a"}, {600, " "}, {700, "b"}, {800, ""}, {900, "c"}});
    EXPECT_TRUE(Extracted(song).empty());
    EXPECT_EQ(song.SyllableCount, 0);
    EXPECT_TRUE(song.Syllables.empty());
}

TEST(ExtractKaraoke, HeaderLinesAndLinePrefixes) {
    auto song = TextSong({{0, "@KMIDI KARAOKE FILE"},
                          {0, "@V0100"},
                          {10, "@T  Song Title"},
                          {20, "@TPerformer"},
                          {30, "@Lengl"},
                          {40, "%comment"},
                          {480, "\\Hel"},
                          {600, "lo "},
                          {720, "/world"}});
    EXPECT_EQ(Extracted(song), (Rows{{108, "Song Title"},
                                     {112, "\r"},
                                     {116, "Performer"},
                                     {476, "\r"},
                                     {480, "Hel"},
                                     {600, "lo"},
                                     {716, "\r"},
                                     {720, "world"}}));
    EXPECT_EQ(song.LyricSourceType, 1);
    // Discarded headers and the comment are gone from the track.
    const auto left = lvtest::MetaRows(song, 0, 1);
    ASSERT_EQ(left.size(), 5u);
    EXPECT_EQ(left[0].second, "/Song Title");
    EXPECT_EQ(left[1].second, "/Performer");
}

TEST(ExtractKaraoke, HeaderSkipEndsAtTheFirstParagraph) {
    // After "@K" every plain text up to the first "\" text is header matter.
    auto song = TextSong({{0, "@KKaraoke"},
                          {0, "Some info"},
                          {0, "More info"},
                          {10, "@TTitle"},
                          {20, "@TArtist"},
                          {500, "\\One "},
                          {600, "two "},
                          {700, "three"}});
    EXPECT_EQ(Extracted(song), (Rows{{108, "Title"},
                                     {112, "\r"},
                                     {116, "Artist"},
                                     {496, "\r"},
                                     {500, "One "},
                                     {600, "two "},
                                     {700, "three"}}));
}

TEST(ExtractKaraoke, TextTrackConventions) {
    struct {
        const char* Name;
        Rows Events;
        Rows Expected;
    } cases[] = {
        {"a word space moves to the previous syllable",
         {{0, "Title"}, {10, "/Art"}, {500, "/Hel"}, {600, "lo"}, {700, " world"}, {800, " end"}},
         {{108, "Title"},
          {112, "\r"},
          {116, "Art"},
          {496, "\r"},
          {500, "Hel"},
          {600, "lo "},
          {700, "world "},
          {800, "end"}}},
        {"a blank before a backslash goes",
         {{0, "Title"}, {10, "/Art"}, {500, " \\Para"}, {600, "graph"}, {700, "/x"}},
         {{108, "Title"},
          {112, "\r"},
          {116, "Art"},
          {496, "\r"},
          {500, "Para"},
          {600, "graph"},
          {696, "\r"},
          {700, "x"}}},
        {"a title made of blanks is discarded",
         {{0, "@T   "}, {10, "One"}, {20, "two"}, {30, "three"}, {40, "four"}, {50, "five"}},
         {{108, "One"}, {112, "two"}, {116, "three"}, {120, "four"}, {124, "five"}}},
        {"comment texts give no entry",
         {{0, "a"}, {10, "b"}, {20, "%x"}, {30, "c"}, {40, "d"}, {50, "e"}},
         {{108, "a"}, {112, "b"}, {116, "c"}, {120, "d"}, {124, "e"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto song = TextSong(c.Events);
        EXPECT_EQ(Extracted(song), c.Expected);
    }
}

TEST(ExtractLines, LineEndsSplitTexts) {
    struct {
        const char* Name;
        Rows Events;
        Rows Expected;
    } cases[] = {
        {"a word then a line end: the break moves 4 ticks later",
         {{0, "Title\r"}, {10, "Artist\r"}, {500, "one "}, {600, "two\r"}, {700, "three"}},
         {{108, "Title"},
          {112, "\r"},
          {116, "Artist"},
          {120, "\r"},
          {500, "one "},
          {600, "two"},
          {604, "\r"},
          {700, "three"}}},
        {"line feeds become line ends",
         {{0, "Title\n"}, {10, "Artist\r\n"}, {500, "one "}, {600, "two"}, {700, "three"}},
         {{108, "Title"},
          {112, "\r"},
          {116, "Artist"},
          {120, "\r"},
          {500, "one "},
          {600, "two"},
          {700, "three"}}},
        {"a line end inside and in front of a text",
         {{0, "T"}, {10, "a\rb"}, {500, "\rc"}, {600, "d"}, {700, "e"}},
         {{108, "T"},
          {112, "a"},
          {116, "\r"},
          {120, "b"},
          {500, "\r"},
          {504, "c"},
          {600, "d"},
          {700, "e"}}},
        {"blank before the line end: only the break",
         {{0, "T"}, {10, "x "}, {20, "   \r"}, {500, "c"}, {600, "d"}},
         {{108, "T"}, {112, "x"}, {116, "\r"}, {500, "c"}, {600, "d"}}},
        {"leading line breaks go, the first entry is at 108",
         {{5, "\r"}, {6, "\r"}, {500, "a"}, {600, "b"}, {700, "c"}, {800, "d"}, {900, "e"}},
         {{108, "a"}, {600, "b"}, {700, "c"}, {800, "d"}, {900, "e"}}},
        {"trailing NUL bytes are cut, a leading NUL empties the text",
         {{0, std::string("a\0\0", 3)},
          {10, std::string("\0zz", 3)},
          {20, "b"},
          {30, "c"},
          {40, "d"},
          {50, "e"}},
         {{108, "a"}, {112, "b"}, {116, "c"}, {120, "d"}, {124, "e"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto song = LyricSong(c.Events);
        EXPECT_EQ(Extracted(song), c.Expected);
    }
}

TEST(ExtractLines, EmptyLinesMoveUpToTheNextLine) {
    auto song = LyricSong({{0, "Title"},
                           {10, "\r"},
                           {20, "Artist"},
                           {30, "\r"},
                           {40, "\r"},
                           {1000, "one"},
                           {1100, "\r"},
                           {1200, "\r"},
                           {1300, "\r"},
                           {2000, "two"}});
    EXPECT_EQ(Extracted(song), (Rows{{108, "Title"},
                                     {112, "\r"},
                                     {116, "Artist"},
                                     {120, "\r"},
                                     {996, "\r"},
                                     {1000, "one"},
                                     {1100, "\r"},
                                     {1992, "\r"},
                                     {1996, "\r"},
                                     {2000, "two"}}));
}

TEST(ExtractCleaning, BlankAndLineEndAtTheStartAreDropped) {
    auto song = LyricSong(
        {{0, "  "}, {5, "\r"}, {100, "Title"}, {110, "\r"}, {500, "a"}, {600, "b"}, {700, "c"}});
    const auto countBefore = song.LyricsTrack().EventCount;
    EXPECT_EQ(Extracted(song),
              (Rows{{108, "Title"}, {112, "\r"}, {500, "a"}, {600, "b"}, {700, "c"}}));
    // Both events are released and uncounted.
    EXPECT_EQ(lvtest::MetaRows(song, song.LyricsTrackIndex(), 5).size(), 5u);
    EXPECT_EQ(song.LyricsTrack().EventCount, countBefore - 2);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(ExtractCleaning, CopyrightTextsGoOnlyWithAnOwnCopyrightLine) {
    const Rows events = {{0, "Title"},
                         {10, "\r"},
                         {20, "(c) SonarVELL 1999"},
                         {30, "Made by Me"},
                         {40, "All Rights Reserved"},
                         {500, "one "},
                         {600, "two"},
                         {700, "three"}};
    {
        auto song = LyricSong(events, "made by me");
        EXPECT_EQ(Extracted(song),
                  (Rows{{108, "Title"}, {112, "\r"}, {500, "one "}, {600, "two"}, {700, "three"}}));
    }
    {
        auto song = LyricSong(events, "");
        EXPECT_EQ(Extracted(song).size(), 8u);
    }
}

TEST(ExtractCleaning, ChordHelperTextsGoWhenAskedFor) {
    const Rows events = {{0, "Title"}, {10, "----"}, {20, "ab----"}, {30, "ab----c"},
                         {40, "one"},  {50, "two"},  {60, "three"}};
    auto keep = LyricSong(events);
    EXPECT_EQ(Extracted(keep).size(), 7u);
    auto drop = LyricSong(events);
    drop.Config.XF_DeleteChordHelper = true;
    EXPECT_EQ(Extracted(drop),
              (Rows{{108, "Title"}, {112, "ab----c"}, {116, "one"}, {120, "two"}, {124, "three"}}));
}

TEST(ExtractCleaning, DroppedTextEventsLeaveTheLyricsTrackCountAlone) {
    // Four lyric events stay in the lyrics track of a song whose lyrics come
    // from text events; dropping texts must not uncount them, or a saved file
    // would lose them.
    auto song = TextSong({{0, "@KKaraoke"},
                          {0, "@VVersion"},
                          {0, "  "},
                          {10, "@TTitle"},
                          {500, "\\a"},
                          {600, "b"},
                          {700, "c"},
                          {800, "d"}});
    for (int i = 0; i < 4; ++i)
        lvtest::AddLyric(song, 100 * i + 50, "x");
    lv::ExtractLyrics(song);
    ASSERT_EQ(song.LyricSourceType, 1);
    EXPECT_EQ(song.LyricsTrack().EventCount, 6);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(ExtractSpacing, EntriesStayFourTicksApart) {
    // Lyrics gathered from two tracks: "d" comes from the second one.
    auto song = LyricSong({{0, "T"}, {10, "\r"}, {500, "a"}, {500, "b"}, {502, "c"}});
    lvtest::AppendEvent(song, song.LyricsTrackIndex(), lv::MakeMetaEvent(5, "d", 400));
    lvtest::AppendEvent(song, song.LyricsTrackIndex(), lv::MakeMetaEvent(5, "e", 600));
    EXPECT_EQ(
        Extracted(song),
        (Rows{
            {108, "T"}, {112, "\r"}, {500, "a"}, {504, "b"}, {508, "c"}, {512, "d"}, {600, "e"}}));
}

TEST(ExtractSpacing, WordSpaceBeforeALineBreakGoes) {
    auto song =
        LyricSong({{0, "Title "}, {10, "\r"}, {500, "a "}, {600, "b "}, {700, "\r"}, {800, "c"}});
    EXPECT_EQ(
        Extracted(song),
        (Rows{{108, "Title"}, {112, "\r"}, {500, "a "}, {600, "b"}, {700, "\r"}, {800, "c"}}));
}

TEST(ExtractNumbers, SmallNumbersJoinTheirWords) {
    struct {
        const char* Text;
        const char* Joined;
    } cases[] = {
        {"sing 2 times", "sing_2_times"},
        {"sing 12 times", "sing_12_times"},
        {"x 0 y", "x 0 y"},
        {"sing 2", "sing 2"},
        {"a 1 b 2 c", "a_1_b 2 c"},
        {"a 05 b", "a 05 b"},
        {"ab 99 cd", "ab_99_cd"},
        {"a  2 b", "a  2 b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        auto song = LyricSong({{0, "T"}, {10, "\r"}, {20, "A"}, {30, c.Text}, {40, "x"}});
        const auto rows = Extracted(song);
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(rows[3].second, c.Joined);
    }
    // The title and performer lines are never joined.
    auto song = LyricSong({{0, "in 2 parts"}, {10, "\r"}, {20, "x"}, {30, "y"}, {40, "z"}});
    EXPECT_EQ(Extracted(song)[0].second, "in 2 parts");
}

TEST(ExtractLimits, MoreThan65536EntriesAreARangeError) {
    auto song = MakeSong({.SongEndTick = 1000000});
    const auto lyrics = song.LyricsTrackIndex();
    for (std::int32_t i = 0; i < 65537; ++i)
        lvtest::AppendEvent(song, lyrics, lv::MakeMetaEvent(5, "la", 1000 + i * 8));
    EXPECT_THROW(lv::ExtractLyrics(song), lv::ERangeError);
    // One event less: 65536 entries are the most the table holds.
    auto& list = song.LyricsTrack().Events;
    list.erase(std::prev(list.end(), 2));
    EXPECT_NO_THROW(lv::ExtractLyrics(song));
    EXPECT_EQ(song.SyllableCount, 65536);
}

TEST(ExtractBlank, BlankMeansSpacesOnly) {
    EXPECT_TRUE(lv::IsBlank(""));
    EXPECT_TRUE(lv::IsBlank("   "));
    EXPECT_FALSE(lv::IsBlank(" \t"));
    EXPECT_FALSE(lv::IsBlank("\r"));
    EXPECT_FALSE(lv::IsBlank(" a "));
}
