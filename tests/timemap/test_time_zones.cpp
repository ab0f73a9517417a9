#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SongFixture.h"
#include "model/Errors.h"
#include "model/TimeMap.h"

using lvtest::MakeSong;
using lvtest::TSongSetup;

namespace {

struct TZoneRow {
    std::int32_t Tick;
    int Bar, Beat, BeatTick;
    int Numerator, Denominator;
    int BPM;
    std::int32_t StartMs;
};

std::vector<TZoneRow> ZoneRows(const lv::TSong& song) {
    std::vector<TZoneRow> rows;
    for (std::int32_t i = 0; i < song.TimeZoneCount; ++i) {
        const auto& z = song.TimeZones.at(i);
        rows.push_back(
            {z.Tick, z.Bar, z.Beat, z.BeatTick, z.Numerator, z.Denominator, z.BPM, z.StartMs});
    }
    return rows;
}

void ExpectZones(const lv::TSong& song, const std::vector<TZoneRow>& expected) {
    const auto rows = ZoneRows(song);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("zone " + std::to_string(i));
        EXPECT_EQ(rows[i].Tick, expected[i].Tick);
        EXPECT_EQ(rows[i].Bar, expected[i].Bar);
        EXPECT_EQ(rows[i].Beat, expected[i].Beat);
        EXPECT_EQ(rows[i].BeatTick, expected[i].BeatTick);
        EXPECT_EQ(rows[i].Numerator, expected[i].Numerator);
        EXPECT_EQ(rows[i].Denominator, expected[i].Denominator);
        EXPECT_EQ(rows[i].BPM, expected[i].BPM);
        EXPECT_EQ(rows[i].StartMs, expected[i].StartMs);
    }
}

} // namespace

TEST(TimeZones, SongWithoutMapEventsHasOneZoneAndSentinels) {
    auto song = MakeSong({.Division = 480, .SongEndTick = 3840});
    ExpectZones(song, {{0, 1, 1, 0, 4, 4, 120, 0}, {3841, 3, 1, 1, 4, 4, 120, 4001}});
    ASSERT_EQ(song.TimeZones.size(), 3u); // a second sentinel stays readable
    EXPECT_EQ(song.TimeZones[2].Tick, 3841);
    EXPECT_EQ(song.TimeZones[2].Tempo, 500000u);
    EXPECT_FLOAT_EQ(song.TimeZones[0].MsPerTick, 1.0416667f);
    EXPECT_EQ(lv::TickToPosText(song, 1920), "002.01.000");
    EXPECT_EQ(lv::TickToMs(song, 1920), 2000);
    EXPECT_EQ(song.CurrentBPM, 120);
}

TEST(TimeZones, TempoAndSignatureChangesMerge) {
    // 3/4 at 0, tempo 60 BPM at bar 3, 4/4 at bar 4 together with 90 BPM,
    // a time signature alone at bar 5.
    auto song = MakeSong({.Division = 480,
                          .SongEndTick = 20000,
                          .Tempos = {{0, 500000}, {2880, 1000000}, {4320, 666667}},
                          .TimeSigns = {{0, 3, 4}, {4320, 4, 4}, {6240, 6, 8}}});
    ExpectZones(song, {
                          {0, 1, 1, 0, 3, 4, 120, 0},
                          {2880, 3, 1, 0, 3, 4, 60, 3000},
                          {4320, 4, 1, 0, 4, 4, 90, 6000},
                          {6240, 5, 1, 0, 6, 8, 90, 8667},
                          {20001, 14, 4, 81, 6, 8, 90, 27779},
                      });
    // The 6/8 zone carries the tempo in force before it.
    EXPECT_EQ(song.TimeZones[3].Tempo, 666667u);
}

TEST(TimeZones, EventTimesFollowTheZones) {
    auto song = MakeSong({.Division = 480, .SongEndTick = 3840, .Tempos = {{960, 1000000}}});
    ASSERT_EQ(song.TimeZoneCount, 3);
    EXPECT_EQ(song.TimeZones[1].StartMs, 1000);
    lvtest::AddNote(song, 0, 1440, 480, 0, 60);
    auto& atZero = lvtest::AddLyric(song, 0, "x");
    lv::ComputeEventTimes(song);
    std::vector<std::pair<std::int32_t, std::int32_t>> times;
    for (const auto& e : song.Tracks[0].Events)
        if (e.IsChannel()) times.emplace_back(e.Tick, e.TimeMs);
    EXPECT_EQ(times,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{1440, 2000}, {1920, 3000}}));
    EXPECT_EQ(atZero.TimeMs, 0);
    // The end-of-track at 3840 is the latest event: 1000 + 2880 ticks at 2.0833 ms.
    EXPECT_EQ(song.Tracks[0].Events.back().TimeMs, 7000);
    EXPECT_EQ(song.SongLengthMs, 7000);
}

TEST(TimeZones, MillisecondsRoundHalvesToEvenAndSumBeforeRounding) {
    // Division 1000 at 120 BPM: exactly half a millisecond per tick.
    auto song = MakeSong(
        {.Division = 1000, .SongEndTick = 100, .Tempos = {{0, 500000}, {1, 500000}, {2, 500000}}});
    // Zone 1 starts at 0.5 ms (rounds to 0), zone 2 at 1.0 ms: the starts are
    // rounded from the running sum, not from rounded parts.
    EXPECT_EQ(song.TimeZones[1].StartMs, 0);
    EXPECT_EQ(song.TimeZones[2].StartMs, 1);
    struct {
        std::int32_t Tick, Ms;
    } cases[] = {{3, 1}, {4, 2}, {5, 3}, {6, 3}, {7, 3}, {9, 5}, {11, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(lv::TickToMs(song, c.Tick), c.Ms) << c.Tick;
}

TEST(TimeZones, MapsFromSeveralTracksAreMergedInTickOrder) {
    // Track 0 holds a tempo at 1920, track 1 one at 0 and one at 960: the map
    // is in reading order, not tick order.
    auto song = MakeSong({.Division = 480,
                          .TrackCount = 2,
                          .SongEndTick = 3840,
                          .Tempos = {{0, 500000}, {1920, 250000}, {960, 1000000}},
                          .TimeSigns = {{0, 4, 4}}});
    ExpectZones(song, {{0, 1, 1, 0, 4, 4, 120, 0},
                       {960, 1, 3, 0, 4, 4, 60, 1000},
                       {1920, 2, 1, 0, 4, 4, 240, 3000},
                       {3841, 3, 1, 1, 4, 4, 240, 4001}});
    EXPECT_EQ(lv::TickToMs(song, 2400), 3250);
}

TEST(TimeZones, MissingStartEntriesGetDefaults) {
    auto song = MakeSong({.Division = 480, .SongEndTick = 3840, .BuildTimes = false});
    // A map whose first entry lies after tick 0.
    song.Tempos = {{600000, 600000, 960, 100, 600000}, {600000, 600000, 3841, 100, 600000}};
    song.TempoCount = 2;
    song.TimeSigns = {{8, 8, 6, 1920, 24}, {8, 8, 6, 3841, 24}};
    song.TimeSignCount = 2;
    lv::BuildTimeZones(song);
    ASSERT_EQ(song.TempoCount, 3);
    EXPECT_EQ(song.Tempos[0].Tick, 0);
    EXPECT_EQ(song.Tempos[0].Tempo, 500000);
    EXPECT_EQ(song.Tempos[0].OrigTempo, 500000);
    EXPECT_EQ(song.Tempos[0].FileTempo, 500000);
    EXPECT_EQ(song.Tempos[1].Tick, 960);
    ASSERT_EQ(song.TimeSignCount, 3);
    EXPECT_EQ(song.TimeSigns[0].Tick, 0);
    EXPECT_EQ(song.TimeSigns[0].Numerator, 4);
    EXPECT_EQ(song.TimeSigns[0].ThirtySecondsPerQuarter, 8);
    EXPECT_EQ(song.TimeSigns[0].ClocksPerClick, 24);
    EXPECT_EQ(song.CurrentBPM, 120);
    ExpectZones(song, {{0, 1, 1, 0, 4, 4, 120, 0},
                       {960, 1, 3, 0, 4, 4, 100, 1000},
                       {1920, 2, 1, 0, 6, 8, 100, 2200},
                       {3841, 3, 3, 1, 6, 8, 100, 4601}});
}

TEST(TimeZones, CurrentBpmIsTheFirstTempo) {
    auto song = MakeSong({.SongEndTick = 100, .Tempos = {{0, 400000}}});
    EXPECT_EQ(song.CurrentBPM, 150);
}

TEST(TimeZones, ZoneLookup) {
    // Two tempo events at tick 960: the zone of the first has no length.
    auto song = MakeSong({.Division = 480,
                          .SongEndTick = 3840,
                          .Tempos = {{0, 500000}, {960, 400000}, {960, 250000}}});
    ASSERT_EQ(song.TimeZoneCount, 4);
    struct {
        std::int32_t Tick, Zone;
    } cases[] = {{0, 0}, {959, 0}, {960, 2}, {3840, 2}, {3841, 3}, {100000, 3}, {-1, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(lv::FindZone(song, c.Tick), c.Zone) << c.Tick;
    EXPECT_EQ(song.TimeZones[2].BPM, 240);
}

TEST(TimeZones, EventsAfterSongEndTakeTheLastZone) {
    // A tempo event after the last note keeps its tick but opens no zone.
    auto song = MakeSong({.Division = 480, .SongEndTick = 1920, .Tempos = {{2400, 1000000}}});
    ASSERT_EQ(song.TimeZoneCount, 2);
    const auto& tempoEvent = *std::next(song.Tracks[0].Events.begin());
    ASSERT_TRUE(tempoEvent.IsMeta(0x51));
    // Zone 1 is the sentinel at 1921 (StartMs 2001 at 120 BPM); 479 ticks more.
    EXPECT_EQ(tempoEvent.TimeMs, 2001 + 499);
    EXPECT_EQ(lv::TickToPosText(song, 2400), "002.02.000");
}

TEST(TimeZones, MsToTickInvertsTickToMs) {
    auto song =
        MakeSong({.Division = 480, .SongEndTick = 7680, .Tempos = {{0, 500000}, {1920, 1000000}}});
    for (std::int32_t tick : {0, 480, 1919, 1920, 2400, 5000, 7680}) {
        const std::int32_t ms = lv::TickToMs(song, tick);
        const std::int32_t back = lv::MsToTick(song, ms);
        EXPECT_LE(std::abs(back - tick), 1) << tick;
    }
    EXPECT_EQ(lv::FindZoneByMs(song, 1999), 0);
    EXPECT_EQ(lv::FindZoneByMs(song, 2000), 1);
    EXPECT_EQ(lv::MsToTick(song, 3000), 2400);
}

TEST(TimeZones, ValuesBeyondTheirFieldsAreRangeErrors) {
    {
        // 70000 bars of 4/4 at one tick per quarter: the sentinel's bar is beyond 16 bits.
        auto song = MakeSong({.Division = 1, .SongEndTick = 4 * 70000, .BuildTimes = false});
        EXPECT_THROW(lv::BuildTimeZones(song), lv::ERangeError);
    }
    {
        // 16.7 s per quarter, one tick per quarter: 300000 ticks are beyond 2^31 ms.
        auto song = MakeSong({.Division = 1,
                              .SongEndTick = 300000,
                              .Tempos = {{0, 0xFFFFFF}},
                              .TimeSigns = {{0, 255, 1}},
                              .BuildTimes = false});
        EXPECT_THROW(lv::BuildTimeZones(song), lv::ERangeError);
    }
    {
        // Within the table, but an event far beyond it.
        auto song = MakeSong({.Division = 1, .SongEndTick = 1000, .Tempos = {{0, 0xFFFFFF}}});
        lvtest::AddLyric(song, 200000, "late");
        EXPECT_THROW(lv::ComputeEventTimes(song), lv::ERangeError);
        EXPECT_THROW(lv::TickToPosText(song, 0x7FFFFFFF), lv::ERangeError);
    }
}

TEST(TimeZones, DegenerateHeadersDoNotCrash) {
    // A numerator of 0 counts as one beat per bar; a denominator larger than
    // four times the division still gives one tick per beat.
    auto song = MakeSong({.Division = 24, .SongEndTick = 960, .TimeSigns = {{0, 0, 128}}});
    EXPECT_EQ(lv::TickToPosText(song, 0), "001.01.00");
    EXPECT_EQ(lv::TickToPosText(song, 5), "006.01.00");
    // Division 0 gives no finite time per tick: a range error, not a table of
    // infinite times.
    for (std::int32_t end : {0, 960}) {
        auto none = MakeSong({.Division = 0, .SongEndTick = end, .BuildTimes = false});
        EXPECT_THROW(lv::BuildTimeZones(none), lv::ERangeError) << end;
    }
}

TEST(TimeZones, ConversionsWithoutATableUseTheDefaults) {
    auto song = MakeSong({.Division = 480, .SongEndTick = 1920, .BuildTimes = false});
    EXPECT_EQ(lv::FindZone(song, 100), 0);
    EXPECT_EQ(lv::TickToPosText(song, 480), "001.02.000");
    EXPECT_EQ(lv::TickToMs(song, 480), 500);
}
