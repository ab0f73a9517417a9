// Position texts of the transport and the typed bar.beat entry.
#include <gtest/gtest.h>

#include "SongFixture.h"
#include "playback/PlaybackSpeedRecompute.h"
#include "playback/Position.h"
#include "playback/TempoEvents.h"

using namespace lv;
using namespace lvtest;

namespace {

TSong FourFourSong() {
    TSong song = MakeSong(); // 480 ticks per quarter, 120 BPM, 4/4, end at tick 7680
    song.SongLoaded = true;
    return song;
}

TEST(Position, BarAndBeatWithAndWithoutLead) {
    const TSong song = FourFourSong();
    const std::vector<std::tuple<int, int, std::string>> cases{
        {0, 0, "1.01"}, {499, 0, "1.01"}, {499, 50, "1.02"}, {2000, 0, "2.01"}, {3500, 0, "2.04"},
    };
    for (const auto& [ms, lead, text] : cases)
        EXPECT_EQ(BarBeatText(BarBeatOfPosition(song, ms, lead)), text) << ms << " " << lead;
}

TEST(Position, BarAndBeatAcrossATimeSignatureChange) {
    TSongSetup setup;
    setup.TimeSigns = {{0, 4, 4}, {1920, 3, 4}}; // 3/4 from bar 2
    TSong song = MakeSong(setup);
    EXPECT_EQ(BarBeatText(BarBeatOfPosition(song, 2000, 0)), "2.01");
    EXPECT_EQ(BarBeatText(BarBeatOfPosition(song, 3500, 0)), "3.01");
    EXPECT_EQ(BarBeatText(BarBeatOfPosition(song, 5499, 0)), "4.01");
    EXPECT_EQ(BarBeatText(BarBeatOfPosition(song, 5500, 0)), "4.02");
}

TEST(Position, ABrokenZoneDoesNotDivideByZero) {
    TSong song = FourFourSong();
    song.TimeZones[0].Numerator = 0;
    song.TimeZones[0].Tempo = 0;
    EXPECT_FALSE(BarBeatText(BarBeatOfPosition(song, 1000, 50)).empty());
    TSong empty;
    EXPECT_EQ(BarBeatText(BarBeatOfPosition(empty, 1000, 0)), "1.01");
}

TEST(Position, TimeTooltip) {
    const std::vector<std::pair<int, std::string>> cases{
        {65123, "1:05.123"}, {5123, "5.123 s"}, {123, "123 ms"},
        {0, "0 ms"},         {1000, "1.000 s"}, {600000, "10:00.000"},
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(TimeTooltipText(ms), text) << ms;
}

TEST(PositionEntry, KeepsOnlyDigitsAndOnePoint) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"12.03", "12.0", "12.03"},
        {"12.0a", "12.0", "12.0"},
        {"1.2.", "1.2", "1.2"},
        {"", "1", ""},
        {"-3", "", ""},
    };
    for (const auto& [text, last, kept] : cases)
        EXPECT_EQ(AcceptPositionEntry(text, last), kept) << text;
}

TEST(PositionEntry, SearchKeys) {
    EXPECT_EQ(PositionSearchKey("12.03"), 1203000);
    EXPECT_EQ(PositionSearchKey("12.3"), 123000);
    EXPECT_EQ(PositionSearchKey("."), -1);
    EXPECT_EQ(PositionSearchKey("1234567890123456.1"), -1); // too long for a number: no zone
    TTimeZone z;
    EXPECT_EQ(ZoneKey(z), 101000);
    z.Bar = 12, z.Beat = 3, z.BeatTick = 5;
    EXPECT_EQ(ZoneKey(z), 1203005);
}

TEST(PositionEntry, TargetsOfTypedPositions) {
    const TSong song = FourFourSong(); // 8 000 ms long, one zone from bar 1 to bar 5
    auto t = PositionEntryTarget(song, "3.01");
    EXPECT_TRUE(t.Found);
    EXPECT_EQ(t.Zone, 0);
    EXPECT_EQ(t.TargetMs, 4000); // 8 beats, 3 840 ticks
    EXPECT_TRUE(t.WithinSong);
    t = PositionEntryTarget(song, "2.03");
    EXPECT_EQ(t.TargetMs, 3000);
    // One beat digit: the zone search reads 12.3 as bar 1, beat 23; the target is bar 12, beat 3.
    t = PositionEntryTarget(song, "12.3");
    EXPECT_TRUE(t.Found);
    EXPECT_EQ(t.TargetMs, 23000);
    EXPECT_FALSE(t.WithinSong);
    // At or beyond the last zone's start, and before the first, nothing moves.
    for (const std::string text : {"9.01", "6.01", "0.5", "3", "99999999999999999999.1"}) {
        t = PositionEntryTarget(song, text);
        EXPECT_FALSE(t.Found) << text;
    }
    // The song's last bar line is its length: found, but not a place to locate to.
    t = PositionEntryTarget(song, "5.01");
    EXPECT_TRUE(t.Found);
    EXPECT_EQ(t.TargetMs, 8000);
    EXPECT_FALSE(t.WithinSong);
    EXPECT_EQ(PositionEntryTarget(song, "9.01").Zone, song.TimeZoneCount - 1);
}

TEST(PositionEntry, SecondZoneCountsFromItsOwnStart) {
    TSongSetup setup;
    setup.Tempos = {{0, 500000}, {1920, 1000000}}; // 60 BPM from bar 2
    TSong song = MakeSong(setup);
    const auto t = PositionEntryTarget(song, "3.02");
    EXPECT_TRUE(t.Found);
    EXPECT_EQ(t.Zone, 1);
    EXPECT_EQ(t.TargetMs, 2000 + 5000);
    EXPECT_EQ(FindZoneOfMs(song, 6999), 1);
    EXPECT_EQ(TickOfPosition(song, 1, 7000), 1920 + 2400);
}

TEST(PlaybackSpeedRecompute, HalfSpeedThenBackToTheFileTempo) {
    TSongSetup setup;
    setup.Tempos = {{0, 500000}};
    TSong song = MakeSong(setup);
    song.SongLoaded = true;
    song.Config.PlaybackSpeed = 5; // 50 %
    ApplyPlaybackSpeedAndRecompute(song);
    auto tempoEvent = std::find_if(song.Tracks[0].Events.begin(), song.Tracks[0].Events.end(),
                                   [](const TMidiEvent& e) { return e.IsMeta(0x51); });
    EXPECT_EQ(TempoOfEvent(*tempoEvent), 1000000u);
    EXPECT_EQ(song.TimeZones[0].BPM, 60);
    EXPECT_EQ(song.SongLengthMs, 16000);
    song.Config.PlaybackSpeed = 0;
    RestoreFileTempo(song);
    EXPECT_EQ(TempoOfEvent(*tempoEvent), 500000u);
    EXPECT_EQ(song.Tempos[0].BPM, 120);
    EXPECT_EQ(song.SongLengthMs, 8000);
}

} // namespace
