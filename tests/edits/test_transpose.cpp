// Transposition: plain and intelligent, XF chords, always from the notes as read.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SongFixture.h"
#include "edits/Transpose.h"
#include "playback/MidiPlayer.h"

using namespace lv;
using namespace lvtest;

namespace {

// One note-on per (channel, note) at successive ticks in track 0.
TSong SongWithNotes(const std::vector<std::pair<int, int>>& channelNotes, int tracks = 1) {
    TSongSetup setup;
    setup.TrackCount = static_cast<std::uint16_t>(tracks);
    TSong song = MakeSong(setup);
    int tick = 0;
    for (auto [ch, note] : channelNotes)
        AddEvent(song, 0, MakeShortEvent(0x90 | ch, note, 100, tick += 10));
    song.SongLoaded = true;
    return song;
}

std::vector<int> NotesOf(TSong& song, std::size_t track = 0) {
    std::vector<int> out;
    for (auto& e : song.Tracks[track].Events)
        if (e.Kind == 1) out.push_back(e.Data1);
    return out;
}

struct TransposeCase {
    const char* Name;
    std::vector<std::pair<int, int>> Notes; // (channel 0..15, note)
    int Interval;
    bool Intelligent;
    int Mode;
    std::vector<int> Expected;
};

class Transpose : public ::testing::TestWithParam<TransposeCase> {};

TEST_P(Transpose, MovesNotesFromTheirValuesAsRead) {
    const auto& c = GetParam();
    TSong song = SongWithNotes(c.Notes);
    TransposeSong(song, c.Interval, c.Intelligent, c.Mode);
    EXPECT_EQ(NotesOf(song), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, Transpose,
    ::testing::Values(
        // channel 10 (index 9) never moves
        TransposeCase{"PlainUp3", {{0, 60}, {9, 36}, {3, 0}}, 3, false, 1, {63, 36, 3}},
        TransposeCase{"PlainFoldsDown", {{0, 125}}, 5, false, 1, {118}},
        TransposeCase{"PlainFoldsUp", {{0, 3}}, -9, false, 1, {6}},
        // Mode 1: channel 1 limit 6, channel 4 limit 3
        TransposeCase{"Mode1Up8", {{0, 60}, {3, 60}, {9, 60}}, 8, true, 1, {56, 68, 60}},
        TransposeCase{"Mode1Down5", {{0, 60}, {3, 60}}, -5, true, 1, {55, 67}},
        TransposeCase{"Mode3Up5", {{0, 60}}, 5, true, 3, {65}},        // limit 4: up 5 stays up
        TransposeCase{"Mode4Channel14", {{13, 60}}, 6, true, 4, {66}}, // limit 6 on channel 14
        TransposeCase{"IntelligentFoldsUp", {{0, 2}}, -5, true, 1, {9}},
        TransposeCase{"IntelligentFoldsDown", {{1, 126}}, 5, true, 1, {119}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TransposeEdits, KeyPressureAndControllersKeepTheirBytes) {
    TSong song = SongWithNotes({{0, 60}});
    AddEvent(song, 0, MakeShortEvent(0xA0, 60, 50, 100));
    AddEvent(song, 0, MakeShortEvent(0xB0, 60, 50, 110));
    TransposeSong(song, 3, false, 1);
    EXPECT_EQ(NotesOf(song), (std::vector<int>{63, 60, 60}));
    TransposeSong(song, 3, true, 1);
    EXPECT_EQ(NotesOf(song), (std::vector<int>{63, 60, 60}));
}

TEST(TransposeEdits, BassChannelsNeverGoBelow28NorAbove127) {
    TSong song = SongWithNotes({{2, 30}, {2, 40}, {2, 20}, {2, 125}});
    song.BassChannels[2] = true;
    TransposeSong(song, -5, true, 1);
    EXPECT_EQ(NotesOf(song), (std::vector<int>{37, 35, 39, 120}));
    TransposeSong(song, 9, true, 1);
    EXPECT_EQ(NotesOf(song), (std::vector<int>{39, 49, 29, 122}));
}

TEST(TransposeEdits, RepeatedChangesEndWhereOneChangeWould) {
    const std::vector<std::pair<int, int>> notes{{0, 60}, {1, 127}, {2, 0},
                                                 {3, 64}, {9, 38},  {4, 100}};
    for (bool intelligent : {false, true}) {
        TSong stepped = SongWithNotes(notes);
        stepped.BassChannels[4] = true;
        for (int v : {1, 2, 3, 9, -9, -4})
            TransposeSong(stepped, v, intelligent, 2);
        TSong once = SongWithNotes(notes);
        once.BassChannels[4] = true;
        TransposeSong(once, -4, intelligent, 2);
        EXPECT_EQ(NotesOf(stepped), NotesOf(once)) << intelligent;
        TransposeSong(stepped, 0, intelligent, 2);
        std::vector<int> asRead;
        for (auto [ch, n] : notes)
            asRead.push_back(n);
        EXPECT_EQ(NotesOf(stepped), asRead) << intelligent;
    }
}

TEST(TransposeEdits, ChordBytesUseFlatNamesForNaturalsAndKeepSharps) {
    const std::vector<std::tuple<int, int, int>> cases{
        {0x31, 1, 0x22},  // C + 1 = Db
        {0x41, 2, 0x42},  // C# + 2 = D#
        {0x37, 1, 0x31},  // B + 1 = C
        {0x31, -1, 0x37}, // C - 1 = B
        {0x23, 2, 0x34},  // Eb + 2 = F, a natural
        {0x43, 1, 0x43},  // E# is in neither table
        {0x21, 3, 0x21},  // Cb likewise
        {0x7F, 4, 0x7F},  // no chord
        {0x01, 0, 0x31},  // C without accidental bits comes back natural
    };
    for (auto [in, v, out] : cases)
        EXPECT_EQ(TransposeChordByte(static_cast<std::uint8_t>(in), v), out)
            << std::hex << in << " " << v;
}

TEST(TransposeEdits, XFChordEventsFollowTheStoredBytes) {
    TSong song = SongWithNotes({{0, 60}});
    const auto chord = [](int root, int bass) {
        return std::string{0x43, 0x7B, 0x01, static_cast<char>(root), 0x00, static_cast<char>(bass),
                           0x00};
    };
    AddEvent(song, 0, MakeMetaEvent(0x7F, chord(0x31, 0x7F), 100));
    AddEvent(song, 0, MakeMetaEvent(0x7F, chord(0x41, 0x35), 200));
    AddEvent(song, 0,
             MakeMetaEvent(0x7F, std::string("\x43\x10\x01\x31\x00\x31\x00", 7), 300)); // not XF
    song.XFChordTrack = 0;
    song.XFChords = {{0x7F, 0x31}, {0x35, 0x41}};
    song.XFChordCount = 2;
    const auto chordBytes = [&] {
        std::vector<std::pair<int, int>> out;
        for (auto& e : song.Tracks[0].Events)
            if (e.IsMeta(0x7F))
                out.push_back(
                    {static_cast<std::uint8_t>(e.Data[3]), static_cast<std::uint8_t>(e.Data[5])});
        return out;
    };
    TransposeSong(song, 1, false, 1);
    TransposeSong(song, 2, false, 1);
    EXPECT_EQ(chordBytes(),
              (std::vector<std::pair<int, int>>{{0x32, 0x7F}, {0x42, 0x36}, {0x31, 0x31}}));
    TransposeSong(song, 0, true, 1);
    EXPECT_EQ(chordBytes(),
              (std::vector<std::pair<int, int>>{{0x31, 0x7F}, {0x41, 0x35}, {0x31, 0x31}}));

    // Without a stored pair for every chord event nothing is touched.
    song.XFChords.pop_back();
    TransposeSong(song, 5, false, 1);
    EXPECT_EQ(chordBytes(),
              (std::vector<std::pair<int, int>>{{0x31, 0x7F}, {0x41, 0x35}, {0x31, 0x31}}));
}

TEST(TransposeEdits, ChangingTheIntervalWhilePlayingResumesWithTheNewPitch) {
    TSong song = SongWithNotes({});
    for (int i = 0; i < 40; ++i) {
        auto& e = AddEvent(song, 0, MakeShortEvent(0x90, 60, 100, i * 48));
        e.TimeMs = i * 25;
    }
    song.SongLengthMs = 975;
    for (auto& t : song.Tracks)
        t.Events.back().TimeMs = 975;
    TCaptureOutput out;
    TMidiPlayer player(song, out);
    player.SilenceWait = std::chrono::milliseconds(1);
    player.SelectDevice();
    ASSERT_TRUE(player.Start());
    while (out.Sent().size() < 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    TransposeWithPlayer(song, &player, 4, false, 1);
    EXPECT_TRUE(player.IsPlaying());
    while (player.IsPlaying())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto sent = out.Sent();
    // The last note before the final silencing carries the new pitch.
    EXPECT_EQ(sent[sent.size() - 33].Bytes, (std::vector<std::uint8_t>{0x90, 64, 100}));
    EXPECT_EQ(sent.front().Bytes, (std::vector<std::uint8_t>{0x90, 60, 100}));
}

} // namespace
