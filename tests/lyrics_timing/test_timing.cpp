#include <gtest/gtest.h>

#include "TimingFixture.h"
#include "lyrics/Timing.h"
#include "model/TimeMap.h"

using namespace lvtest;

namespace {

lv::TSong MakeTimedSong(const TRows& rows, const std::vector<TTempoAt>& tempos = {},
                        std::uint16_t division = 480) {
    TSongSetup setup;
    setup.Division = division;
    setup.Tempos = tempos;
    lv::TSong song = MakeSong(setup);
    SetSyllables(song, rows);
    return song;
}

const TRows kHeader = {{108, "Song"}, {112, "\r"}, {116, "Artist"}, {120, "\r"}};

TRows WithHeader(const TRows& body) {
    TRows all = kHeader;
    all.insert(all.end(), body.begin(), body.end());
    return all;
}

} // namespace

TEST(Quantize, GridFollowsTheFactor) {
    struct TCase {
        std::uint16_t Division;
        std::uint8_t Factor;
        std::int32_t Grid;
    };
    const std::vector<TCase> cases = {{480, 0, 480}, {480, 1, 240}, {480, 2, 160}, {480, 3, 120},
                                      {96, 3, 24},   {480, 9, 240}, {3, 3, 0},     {1, 1, 0}};
    for (const auto& c : cases) {
        lv::TSong song = MakeTimedSong({}, {}, c.Division);
        song.Config.QuantizeFactor = c.Factor;
        EXPECT_EQ(lv::QuantizeGrid(song), c.Grid) << c.Division << "/" << int(c.Factor);
    }
}

TEST(Quantize, MovesToTheNearestGridPointHalvesToEven) {
    lv::TSong song = MakeTimedSong({{119, "a"}, {120, "b"}, {121, "c"}, {360, "d"}, {600, "e"}});
    lv::QuantizeLyrics(song);
    // 120 and 600 lie halfway: they go to the even grid points 0 and 480.
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{0, 4, 240, 480, 484}));
    EXPECT_EQ(song.Syllables[3].SavedTick, 360);
    EXPECT_EQ(song.Syllables[3].PosText, "001.02.000");
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), SyllableRows(song));

    lv::UndoQuantizeLyrics(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{119, 120, 121, 360, 600}));
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), SyllableRows(song));
}

TEST(Quantize, UndoKeepsTheOrder) {
    lv::TSong song = MakeTimedSong({{100, "a"}, {200, "b"}, {300, "c"}});
    song.Syllables[1].SavedTick = 90; // restored before its predecessor
    song.Syllables[2].SavedTick = 300;
    song.Syllables[0].SavedTick = 100;
    lv::UndoQuantizeLyrics(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{100, 104, 300}));
}

TEST(Quantize, AGridOfZeroTicksLeavesTheTicks) {
    lv::TSong song = MakeTimedSong({{5, "a"}, {7, "b"}, {8, "c"}}, {}, 2);
    song.Config.QuantizeFactor = 3;
    lv::QuantizeLyrics(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{5, 7, 8}));
    lv::UndoQuantizeLyrics(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{5, 7, 8}));
}

TEST(MoveLyrics, ShiftsByTheTempoOfTheZone) {
    struct TCase {
        const char* Name;
        std::vector<TTempoAt> Tempos;
        TRows Body;
        std::int32_t Ms;
        std::vector<std::int32_t> Expected;
    };
    const std::vector<TCase> cases = {
        // 120 per minute: 500 ms are 480 ticks.
        {"forwards", {}, {{960, "a"}, {1440, "b"}}, 500, {1440, 1920}},
        // Earlier than tick 0 becomes 0, then the order rule.
        {"backwards", {}, {{240, "a"}, {600, "b"}, {1000, "c"}}, -500, {124, 128, 520}},
        {"zero", {}, {{960, "a"}}, 0, {960}},
        // 60 per minute from 1920: the part of the shift beyond the change
        // counts at the slower rate, in both directions.
        {"across a tempo change",
         {{0, 500000}, {1920, 1000000}},
         {{1440, "a"}, {2400, "b"}},
         1000,
         {2160, 2880}},
        {"back across a tempo change",
         {{0, 500000}, {1920, 1000000}},
         {{1000, "a"}, {2160, "b"}},
         -1000,
         {124, 1440}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        lv::TSong song = MakeTimedSong(WithHeader(c.Body), c.Tempos);
        lv::MoveLyrics(song, c.Ms);
        std::vector<std::int32_t> expected = {108, 112, 116, 120};
        expected.insert(expected.end(), c.Expected.begin(), c.Expected.end());
        EXPECT_EQ(Ticks(song), expected);
        for (std::int32_t i = 0; i < song.SyllableCount; ++i)
            EXPECT_EQ(song.Syllables[i].PosText, lv::TickToPosText(song, song.Syllables[i].Tick));
        EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), SyllableRows(song));
    }
}

TEST(MoveLyrics, TheFirstFourEntriesStay) {
    // Without a song name the table starts with the empty line's break; the
    // first lyric entry then sits at index 3 and stays too.
    lv::TSong song =
        MakeTimedSong({{112, "\r"}, {116, "Artist"}, {120, "\r"}, {960, "a"}, {1440, "b"}});
    lv::MoveLyrics(song, 500);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{112, 116, 120, 960, 1920}));

    // Fewer than five entries: only the song name is kept at 108 or later.
    lv::TSong small = MakeTimedSong({{50, "Song"}, {112, "\r"}, {116, "Artist"}});
    lv::MoveLyrics(small, 500);
    EXPECT_EQ(Ticks(small), (std::vector<std::int32_t>{108, 112, 116}));
}

TEST(MoveLyrics, EqualTicksStayEqual) {
    lv::TSong song = MakeTimedSong(WithHeader({{960, "a"}, {960, "b"}}));
    lv::MoveLyrics(song, 500);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 116, 120, 1440, 1440}));
}

TEST(MoveLyrics, ParsesTheFieldLikeTheDialog) {
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"500", 500}, {"-500", -500}, {"+20", 20}, {" 7 ", 7},         {"", 0},
        {"abc", 0},   {"12x", 0},     {"1.5", 0},  {"99999999999", 0}, {"-", 0}};
    for (const auto& [text, ms] : cases)
        EXPECT_EQ(lv::ParseMoveMs(text), ms) << text;
}
