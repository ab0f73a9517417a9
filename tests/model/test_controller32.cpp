// Bank-select fine (controller 32) rules applied when a song is read, and the
// playback speed applied to the tempo events.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "playback/PlaybackSpeed.h"
#include "writer/Controller32.h"

using namespace lvtest;
using lv::TSong;

TEST(Controller32, InsertBeforeTheFirstProgramChange) {
    struct Case {
        const char* name;
        bool withCoarse;
        std::uint32_t programTick;
        std::vector<TShort> expected;
    };
    const Case cases[] = {
        {"no bank select: coarse and fine",
         false,
         960,
         {{0, 0x90, 60, 1}, {958, 0xB1, 0, 0}, {959, 0xB1, 32, 5}, {960, 0xC1, 10, 0}}},
        {"coarse present: fine only",
         true,
         960,
         {{0, 0x90, 60, 1}, {0, 0xB1, 0, 3}, {959, 0xB1, 32, 5}, {960, 0xC1, 10, 0}}},
        {"program change at tick 1 stays within the song",
         false,
         1,
         {{0, 0x90, 60, 1}, {0, 0xB1, 0, 0}, {0, 0xB1, 32, 5}, {1, 0xC1, 10, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSong song;
        song.Config.InsertController32 = true;
        song.Config.Controller32Value = 5;
        TSmfBuilder smf(0, 480);
        auto& t = smf.AddTrack().NoteOn(0, 0, 60, 1);
        if (c.withCoarse) t.Control(0, 1, 0, 3);
        t.Program(c.programTick, 1, 10).Program(0, 1, 11).EndOfTrack(0);
        ReadImage(song, smf.Build());
        auto shorts = ShortsOf(song.Tracks[0]);
        shorts.pop_back(); // the second program change
        EXPECT_EQ(shorts, c.expected);
        EXPECT_EQ(song.Tracks[0].EventCount, static_cast<int>(c.expected.size()) + 3);

        // A second run only sets the value of the fine bank select.
        song.Config.Controller32Value = 9;
        lv::InsertController32Events(song);
        auto again = ShortsOf(song.Tracks[0]);
        EXPECT_EQ(again.size(), c.expected.size() + 1);
        for (auto& e : song.Tracks[0].Events)
            if (e.Kind == 1 && e.Data1 == 32) {
                EXPECT_EQ(e.Data2, 9);
                EXPECT_EQ(e.OrigData2, 5);
            }
    }
}

TEST(Controller32, ExistingFineBankSelectKeepsItsValueOnRequest) {
    for (bool keep : {false, true}) {
        TSong song;
        song.Config.InsertController32 = true;
        song.Config.Controller32Value = 7;
        song.Config.DoNotChangeController32 = keep;
        TSmfBuilder smf(0, 96);
        smf.AddTrack().Control(0, 2, 32, 1).Control(0, 2, 32, 2).Program(0, 2, 4).EndOfTrack(0);
        ReadImage(song, smf.Build());
        EXPECT_EQ(
            ShortsOf(song.Tracks[0]),
            (std::vector<TShort>{{0, 0xB2, 32, keep ? 1 : 7}, {0, 0xB2, 32, 2}, {0, 0xC2, 4, 0}}));
    }
}

TEST(Controller32, RemoveTakesOnePerChannelAndADrumCoarseEach) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Control(0, 9, 0, 1)
        .Control(0, 0, 32, 1)
        .Control(0, 0, 32, 2)
        .Control(0, 1, 32, 3)
        .Control(0, 9, 0, 2)
        .Control(0, 9, 0, 3)
        .Control(0, 9, 32, 4) // keeps the reader from dropping the drum coarse select
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    lv::RemoveController32Events(song);
    EXPECT_EQ(ShortsOf(song.Tracks[0]), (std::vector<TShort>{{0, 0xB0, 32, 2}}));
    EXPECT_EQ(song.Tracks[0].EventCount, 3);
}

TEST(Controller32, DeleteOnLoadRunsAfterInsert) {
    TSong song;
    song.Config.InsertController32 = true;
    song.Config.DeleteController32 = true;
    TSmfBuilder smf(0, 96);
    smf.AddTrack().Program(10, 3, 1).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]), (std::vector<TShort>{{8, 0xB3, 0, 0}, {10, 0xC3, 1, 0}}));
}

TEST(PlaybackSpeed, RescalesTrackZeroTempoEventsFromTheTempoAsRead) {
    struct Case {
        int index;
        int tempo;
        int bpm;
    };
    const Case cases[] = {{5, 1000000, 60}, {1, 555555, 108}, {0, 500000, 120}, {9, 500000, 120}};
    TSmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 500000).Tempo(96, 0x900000).NoteOn(0, 0, 1, 1).EndOfTrack(0);
    const AByte image = smf.Build();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        TSong song;
        ReadImage(song, image);
        song.Config.PlaybackSpeed = 3;
        lv::ApplyPlaybackSpeed(song); // a first change is not compounded
        song.Config.PlaybackSpeed = static_cast<std::uint8_t>(c.index);
        lv::ApplyPlaybackSpeed(song);
        EXPECT_EQ(song.Tempos[0].Tempo, c.tempo);
        EXPECT_EQ(song.Tempos[0].BPM, c.bpm);
        EXPECT_EQ(song.Tempos[0].OrigTempo, 500000);
        const auto& e = *std::next(song.Tracks[0].Events.begin());
        const int written = (std::uint8_t(e.Data[0]) << 16) | (std::uint8_t(e.Data[1]) << 8) |
                            std::uint8_t(e.Data[2]);
        EXPECT_EQ(written, c.tempo);
        // Three bytes cannot hold more than 0xFFFFFF microseconds.
        EXPECT_LE(song.Tempos[1].Tempo, 0xFFFFFF);
    }
}
