#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "SongFixture.h"
#include "model/TimeMap.h"

using lvtest::MakeSong;

TEST(PositionText, FieldWidthsFollowTheDivision) {
    struct {
        std::uint16_t Division;
        std::int32_t Tick;
        const char* Text;
        const char* HeaderText;
    } cases[] = {
        {5, 0, "001.01.0", "1.01.000"},
        {96, 0, "001.01.00", "01.01.000"},
        {96, 96 * 4 * 11 + 96 + 45, "012.02.45", "12.02.045"},
        {480, 0, "001.01.000", "001.01.000"},
        {480, 480 * 4 * 11 + 480 + 45, "012.02.045", "012.02.045"},
        {1000, 1000 * 4 * 11 + 7, "012.01.0007", "0012.01.007"},
        {15360, 15360 + 3, "001.02.00003", "00001.02.003"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Division) + " / " + std::to_string(c.Tick));
        auto song = MakeSong({.Division = c.Division, .SongEndTick = 200000});
        EXPECT_EQ(lv::TickToPosText(song, c.Tick), c.Text);
        EXPECT_EQ(lv::TickToHeaderPosText(song, c.Tick), c.HeaderText);
    }
}

TEST(PositionText, BarsAndBeatsAcrossSignatures) {
    // 4/4 for one bar, 6/8 for two bars, then 2/2, at 480 ticks per quarter.
    auto song = MakeSong({.Division = 480,
                          .SongEndTick = 20000,
                          .TimeSigns = {{0, 4, 4}, {1920, 6, 8}, {4800, 2, 2}}});
    struct {
        std::int32_t Tick;
        const char* Text;
    } cases[] = {
        {0, "001.01.000"},    {479, "001.01.479"},  {480, "001.02.000"},  {1919, "001.04.479"},
        {1920, "002.01.000"}, {2160, "002.02.000"}, {2400, "002.03.000"}, {2639, "002.03.239"},
        {3360, "003.01.000"}, {4799, "003.06.239"}, {4800, "004.01.000"}, {5280, "004.01.480"},
        {5760, "004.02.000"}, {6720, "005.01.000"}, {-1, "011.02.801"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lv::TickToPosText(song, c.Tick), c.Text) << c.Tick;
}

TEST(PositionText, PositionsAreDistinctAndAscendingInEverySignature) {
    // Two ticks a quarter apart never share a position text, whatever the
    // signature; this holds for half notes and sixteenths as beats too.
    for (int denominator : {1, 2, 4, 8, 16}) {
        SCOPED_TRACE(denominator);
        auto song =
            MakeSong({.Division = 96, .SongEndTick = 9600, .TimeSigns = {{0, 3, denominator}}});
        std::tuple<int, int, int> previous{0, 0, -1};
        for (std::int32_t tick = 0; tick <= 9600; tick += 24) {
            const auto pos = lv::TickToMusicalPos(song, tick);
            const std::tuple<int, int, int> now{pos.Bar, pos.Beat, pos.BeatTick};
            EXPECT_LT(previous, now) << tick;
            EXPECT_LE(pos.Beat, 3) << tick;
            EXPECT_LT(pos.BeatTick, 96 * 4 / denominator) << tick;
            previous = now;
        }
        // Half-note beats: a half note (192 ticks) in is beat 2.
        if (denominator == 2) {
            EXPECT_EQ(lv::TickToPosText(song, 96), "001.01.96");
            EXPECT_EQ(lv::TickToPosText(song, 192), "001.02.00");
            EXPECT_EQ(lv::TickToPosText(song, 300), "001.02.108");
        }
    }
}

TEST(PositionText, ZoneStartingInsideABeat) {
    // A tempo change 100 ticks into the third eighth of a 6/8 bar: the zone's
    // beat tick carries on and later positions count whole eighths.
    auto song = MakeSong({.Division = 480,
                          .SongEndTick = 10000,
                          .Tempos = {{0, 500000}, {580, 400000}},
                          .TimeSigns = {{0, 6, 8}}});
    ASSERT_EQ(song.TimeZoneCount, 3);
    EXPECT_EQ(song.TimeZones[1].Beat, 3);
    EXPECT_EQ(song.TimeZones[1].BeatTick, 100);
    struct {
        std::int32_t Tick;
        const char* Text;
    } cases[] = {{580, "001.03.100"},
                 {719, "001.03.239"},
                 {720, "001.04.000"},
                 {1440, "002.01.000"},
                 {1450, "002.01.010"}};
    for (const auto& c : cases)
        EXPECT_EQ(lv::TickToPosText(song, c.Tick), c.Text) << c.Tick;
}
