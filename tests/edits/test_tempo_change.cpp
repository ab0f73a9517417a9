// Tempo change: every tempo event shifted by whole BPM from the tempo as it stands.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SongFixture.h"
#include "TimedSong.h"
#include "edits/TempoChange.h"
#include "model/TimeMap.h"
#include "playback/MidiPlayer.h"
#include "playback/PlaybackSpeedRecompute.h"
#include "playback/TempoEvents.h"

using namespace lv;
using namespace lvtest;

namespace {

std::vector<std::uint32_t> EventTempos(TSong& song) {
    std::vector<std::uint32_t> out;
    for (auto& e : song.Tracks[0].Events)
        if (e.IsMeta(0x51)) out.push_back(TempoOfEvent(e));
    return out;
}

TSong SongWithTempos(std::vector<TTempoAt> tempos) {
    TSongSetup setup;
    setup.Tempos = std::move(tempos);
    TSong song = MakeSong(setup);
    AddNote(song, 0, 1920, 480, 0, 60);
    BuildTimeZones(song);
    ComputeEventTimes(song);
    song.SongLoaded = true;
    return song;
}

struct TempoCase {
    const char* Name;
    std::vector<TTempoAt> Tempos;
    std::vector<int> Differences; // one OK each
    std::vector<std::uint32_t> ExpectedTempos;
    std::vector<std::uint16_t> ExpectedBpm;
};

class TempoChange : public ::testing::TestWithParam<TempoCase> {};

TEST_P(TempoChange, ShiftsEveryTempoEventAndItsMapEntry) {
    const auto& c = GetParam();
    TSong song = SongWithTempos(c.Tempos);
    TTempoDialogState state;
    for (int d : c.Differences) {
        state.Displayed = static_cast<std::int16_t>(d);
        ApplyTempoDifference(song, state, nullptr);
    }
    EXPECT_EQ(EventTempos(song), c.ExpectedTempos);
    for (std::size_t i = 0; i < c.ExpectedBpm.size(); ++i) {
        EXPECT_EQ(song.Tempos[i].BPM, c.ExpectedBpm[i]) << i;
        EXPECT_EQ(song.Tempos[i].Tempo, static_cast<std::int32_t>(c.ExpectedTempos[i])) << i;
        EXPECT_EQ(song.Tempos[i].OrigTempo, c.Tempos[i].Tempo) << i; // the tempo as loaded stays
    }
    EXPECT_EQ(song.TimeZones[0].BPM, c.ExpectedBpm[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, TempoChange,
    ::testing::Values(
        TempoCase{"PlusTen", {{0, 500000}}, {10}, {461538}, {130}},
        // The second OK applies only what changed since the first: 130 + 5.
        TempoCase{"TwoOks", {{0, 500000}}, {10, 15}, {444444}, {135}},
        TempoCase{"TempoSteps", {{0, 600000}, {960, 400000}}, {-20}, {750000, 461538}, {80, 130}},
        // 5 BPM - 40 stops at 4 BPM, the slowest tempo three bytes hold.
        TempoCase{"BelowOneBpm", {{0, 12000000}}, {-40}, {15000000}, {4}},
        TempoCase{"BackToZero", {{0, 500000}}, {7, 0}, {500000}, {120}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TempoChangeEdits, RecomputesTimesAndIgnoresAnUnchangedDifference) {
    TSong song = SongWithTempos({{0, 500000}});
    const auto noteOn = std::find_if(song.Tracks[0].Events.begin(), song.Tracks[0].Events.end(),
                                     [](const TMidiEvent& e) { return e.Status == 0x90; });
    EXPECT_EQ(noteOn->TimeMs, 2000);
    TTempoDialogState state;
    state.Displayed = -40; // 80 BPM: four quarters last 3 s
    EXPECT_TRUE(ApplyTempoDifference(song, state, nullptr));
    EXPECT_EQ(noteOn->TimeMs, 3000);
    EXPECT_EQ(song.SongLengthMs, 12000); // the end at tick 7680, 16 quarters
    EXPECT_FALSE(ApplyTempoDifference(song, state, nullptr));
    EXPECT_EQ(EventTempos(song), std::vector<std::uint32_t>{750000});
}

TEST(TempoChangeEdits, BrokenTempoEventsAreLeftAlone) {
    TSong song = SongWithTempos({{0, 500000}});
    AddEvent(song, 0, MakeMetaEvent(0x51, std::string("\0\0\0", 3), 480));
    AddEvent(song, 0, MakeMetaEvent(0x51, std::string("\x07", 1), 960));
    ShiftTempos(song, 10);
    EXPECT_EQ(EventTempos(song), (std::vector<std::uint32_t>{461538, 0, 0}));
}

TEST(TempoChangeEdits, PausesAPlayingPlayerAndPutsItAtTheStart) {
    TSong song = SongWithTempos({{0, 500000}});
    TCaptureOutput out;
    TMidiPlayer player(song, out);
    player.SilenceWait = std::chrono::milliseconds(1);
    player.SelectDevice();
    ASSERT_TRUE(player.Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    TTempoDialogState state;
    state.Displayed = 10;
    ASSERT_TRUE(ApplyTempoDifference(song, state, &player));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.PositionMs(), 0);
    for (auto& t : song.Tracks)
        EXPECT_EQ(t.PlayCursor, t.Head());
}

TEST(PlaybackSpeed, RestoringTheFileTempoUndoesAShift) {
    TSong song = SongWithTempos({{0, 500000}, {960, 400000}});
    ShiftTempos(song, 25);
    RestoreFileTempo(song, nullptr);
    EXPECT_EQ(EventTempos(song), (std::vector<std::uint32_t>{500000, 400000}));
    EXPECT_EQ(song.Tempos[0].BPM, 120);
    EXPECT_EQ(song.Tempos[1].BPM, 150);
    EXPECT_EQ(song.TimeZones[0].BPM, 120);
}

} // namespace
