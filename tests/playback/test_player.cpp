// The player through the capture backend: what goes out, in which order,
// the chase after a locate, stop and rewind, and the end of the song.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "FakeDialogs.h"
#include "TimedSong.h"
#include "playback/MidiPlayer.h"

using namespace lv;
using namespace lvtest;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Waits for a condition the player reaches on its own; the limit only keeps a
// broken player from hanging the suite.
template <class F> bool WaitFor(F&& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::vector<Bytes> BytesOf(const std::vector<TCaptureOutput::TSent>& sent, std::size_t from = 0,
                           std::size_t count = SIZE_MAX) {
    std::vector<Bytes> out;
    for (std::size_t i = from; i < sent.size() && out.size() < count; ++i)
        out.push_back(sent[i].Bytes);
    return out;
}

std::vector<Bytes> Silencing() {
    std::vector<Bytes> out;
    for (int ch = 0; ch < 16; ++ch) {
        out.push_back({static_cast<std::uint8_t>(0xB0 | ch), 120, 0});
        out.push_back({static_cast<std::uint8_t>(0xB0 | ch), 123, 0});
    }
    return out;
}

struct PlayerTest : ::testing::Test {
    TSong Song;
    TCaptureOutput Out{{"Port A", "Port B"}};
    TFakeDialogs Dialogs;
    std::unique_ptr<TMidiPlayer> Player;

    void Make(const std::vector<std::vector<TTimedEvent>>& tracks) {
        FillSong(Song, tracks);
        Song.Dialogs = &Dialogs;
        Player = std::make_unique<TMidiPlayer>(Song, Out);
        Player->SilenceWait = std::chrono::milliseconds(5);
        Song.Player = Player.get();
        Player->SelectDevice();
    }
    void PlayToEnd() {
        ASSERT_TRUE(Player->Start());
        ASSERT_TRUE(WaitFor([&] { return !Player->IsPlaying(); }));
    }
};

TEST_F(PlayerTest, SendsShortAndSysexMessagesButNeverMetaEventsThenSilencesAtTheEnd) {
    Make({{
        Short(0, 0x90, 60, 100),
        Short(0, 0xC3, 7), // program change: status, data 1 and a zero
        Meta(5, 5, "la"),  // lyric
        Meta(5, 0x51, "\x07\xA1\x20"),
        Sysex(10, 0xF0, std::string("\x7E\x7F\x09\x01\xF7", 5)),
        Sysex(15, 0xF7, std::string("\x01\x02", 2)),
        Sysex(20, 0xF0, ""), // empty system exclusive is not sent
        Short(30, 0x80, 60, 17),
        Short(40, 0xE0, 0, 64),
    }});
    PlayToEnd();
    const auto sent = Out.Sent();
    std::vector<Bytes> expected{
        {0x90, 60, 100},    {0xC3, 7, 0},   {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
        {0xF7, 0x01, 0x02}, {0x80, 60, 17}, {0xE0, 0, 64},
    };
    for (const auto& s : Silencing())
        expected.push_back(s);
    EXPECT_EQ(BytesOf(sent), expected);
    EXPECT_TRUE(sent[2].Long);
    EXPECT_FALSE(sent[0].Long);
    // The song ends by itself more than 100 ms after its length, and the port is closed.
    EXPECT_GT(Player->PositionMs(), Song.SongLengthMs + 100);
    EXPECT_FALSE(Out.IsOpen());
    EXPECT_EQ(Out.CloseCount(), 1);
}

TEST_F(PlayerTest, MergesTracksInTimeOrderAndNeverSendsEarly) {
    Make({
        {Short(0, 0x90, 1, 1), Short(20, 0x90, 3, 1), Short(40, 0x90, 6, 1)},
        {Short(10, 0x91, 2, 1), Short(20, 0x91, 4, 1), Short(30, 0x91, 5, 1)},
    });
    PlayToEnd();
    const auto sent = Out.Sent();
    ASSERT_GE(sent.size(), 6u);
    const std::vector<int> times{0, 10, 20, 20, 30, 40};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(sent[i].Bytes[1], i + 1) << "message " << i;
        EXPECT_GE(sent[i].Time, Player->StartTime() + std::chrono::milliseconds(times[i]))
            << "message " << i;
    }
}

TEST_F(PlayerTest, StartAtZeroSendsNoChase) {
    Make({{Short(10, 0x92, 64, 90)}});
    PlayToEnd();
    EXPECT_EQ(Out.Sent().front().Bytes, (Bytes{0x92, 64, 90}));
}

TEST_F(PlayerTest, LocateChasesSixValuesPerChannelWithDefaultsForSilentChannels) {
    Make({
        {Short(0, 0xC0, 5), Short(0, 0xB0, 7, 80), Short(10, 0xB0, 10, 20), Short(20, 0xB0, 10, 30),
         Short(30, 0xB0, 1, 99), // modulation is not chased
         Short(150, 0x90, 60, 100)},
        {Short(50, 0xB1, 91, 11), Short(60, 0xB1, 93, 12), Short(70, 0xB1, 11, 13)},
        // A change after the target belongs to later, not to the chase.
        {Short(100, 0xC2, 9), Short(120, 0xB2, 7, 1)},
    });
    Player->Locate(100);
    EXPECT_EQ(Player->PositionMs(), 100);
    ASSERT_TRUE(Player->Start());
    ASSERT_TRUE(WaitFor([&] { return Out.Sent().size() >= 99; }));
    Player->Stop();
    const auto sent = BytesOf(Out.Sent(), 0, 99);
    std::vector<Bytes> chase;
    const TChannelState defaults;
    for (int ch = 0; ch < 16; ++ch) {
        TChannelState c = defaults;
        if (ch == 0) c.Program = 5, c.Volume = 80, c.Pan = 30;
        if (ch == 1) c.Reverb = 11, c.Chorus = 12, c.Expression = 13;
        const auto b = static_cast<std::uint8_t>(0xB0 | ch);
        chase.push_back({static_cast<std::uint8_t>(0xC0 | ch), c.Program, 0});
        chase.push_back({b, 7, c.Volume});
        chase.push_back({b, 10, c.Pan});
        chase.push_back({b, 11, c.Expression});
        chase.push_back({b, 91, c.Reverb});
        chase.push_back({b, 93, c.Chorus});
    }
    EXPECT_EQ(std::vector<Bytes>(sent.begin(), sent.begin() + 96), chase);
    // Sending goes on with the events at and after the target, in time order.
    EXPECT_EQ(std::vector<Bytes>(sent.begin() + 96, sent.end()),
              (std::vector<Bytes>{{0xC2, 9, 0}, {0xB2, 7, 1}, {0x90, 60, 100}}));
}

TEST_F(PlayerTest, LocateLimits) {
    Make({{Short(0, 0xB0, 7, 50), Short(100, 0x90, 60, 1), Short(200, 0x90, 61, 1)}});
    Player->Locate(200); // exactly the song length is accepted
    EXPECT_EQ(Player->PositionMs(), 200);
    const auto cursor = Song.Tracks[0].PlayCursor;
    EXPECT_EQ(cursor->Data1, 61);
    for (int bad : {201, -1}) {
        Player->Locate(bad);
        EXPECT_EQ(Player->PositionMs(), 200) << bad;
        EXPECT_EQ(Song.Tracks[0].PlayCursor, cursor) << bad;
        EXPECT_EQ(Player->ChannelStates()[0].Volume, 50) << bad;
    }
    // Without a song nothing moves.
    Song.SongLoaded = false;
    Player->Locate(0);
    EXPECT_EQ(Player->PositionMs(), 200);
}

TEST_F(PlayerTest, StopPausesThenRewindsAndResumingSendsEveryEventOnce) {
    std::vector<TTimedEvent> notes;
    for (int i = 0; i < 20; ++i)
        notes.push_back(Short(i * 10, 0x90, i, 1));
    Make({notes});
    ASSERT_TRUE(Player->Start());
    ASSERT_TRUE(WaitFor([&] { return Out.Sent().size() >= 5; }));
    Player->Stop();
    EXPECT_FALSE(Player->IsPlaying());
    EXPECT_FALSE(Out.IsOpen());
    auto sent = Out.Sent();
    const std::size_t notesBefore = sent.size() - 32;
    EXPECT_EQ(BytesOf(sent, notesBefore), Silencing());
    const std::int32_t pausedAt = Player->PositionMs();
    EXPECT_GE(pausedAt, static_cast<std::int32_t>((notesBefore - 1) * 10));
    EXPECT_NE(Song.Tracks[0].PlayCursor, Song.Tracks[0].Head());

    // Resume from the kept position: the chase, then the rest of the notes.
    Out.Clear();
    ASSERT_TRUE(Player->Start());
    ASSERT_TRUE(WaitFor([&] { return !Player->IsPlaying(); }));
    sent = Out.Sent();
    std::vector<int> notesSeen;
    for (std::size_t i = pausedAt != 0 ? 96 : 0; i + 32 < sent.size(); ++i)
        notesSeen.push_back(sent[i].Bytes[1]);
    std::vector<int> rest;
    for (int i = static_cast<int>(notesBefore); i < 20; ++i)
        rest.push_back(i);
    EXPECT_EQ(notesSeen, rest);

    // The song ended by itself; Stop while stopped rewinds.
    Player->Stop();
    EXPECT_EQ(Player->PositionMs(), 0);
    for (auto& t : Song.Tracks)
        EXPECT_EQ(t.PlayCursor, t.Head());
    Out.Clear();
    PlayToEnd();
    EXPECT_EQ(Out.Sent().size(), 20u + 32u); // from the start again, no chase
}

TEST_F(PlayerTest, LocateWhilePlayingGoesOnFromTheTarget) {
    std::vector<TTimedEvent> notes;
    for (int i = 0; i < 30; ++i)
        notes.push_back(Short(i * 20, 0x90, i, 1));
    Make({notes});
    ASSERT_TRUE(Player->Start());
    ASSERT_TRUE(WaitFor([&] { return Out.Sent().size() >= 2; }));
    Player->Locate(500);
    EXPECT_TRUE(Player->IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return !Player->IsPlaying(); }));
    const auto sent = Out.Sent();
    // After the pause's silencing and the chase come notes 25..29 only.
    std::vector<int> tail;
    for (std::size_t i = sent.size() - 32 - 5; i + 32 < sent.size(); ++i)
        tail.push_back(sent[i].Bytes[1]);
    EXPECT_EQ(tail, (std::vector<int>{25, 26, 27, 28, 29}));
}

TEST_F(PlayerTest, PositionAndPlayingStateAreReadableFromAnotherThread) {
    std::vector<TTimedEvent> notes;
    for (int i = 0; i < 40; ++i)
        notes.push_back(Short(i * 5, 0x90, i, 1));
    Make({notes});
    std::atomic<bool> stop{false};
    std::atomic<bool> wentBack{false};
    std::thread display([&] {
        std::int32_t last = -1;
        while (!stop.load()) {
            if (Player->IsPlaying()) {
                const std::int32_t p = Player->PositionMs();
                if (p < last) wentBack = true;
                last = p;
            }
            std::this_thread::yield();
        }
    });
    PlayToEnd();
    stop = true;
    display.join();
    EXPECT_FALSE(wentBack.load());
}

struct DeviceCase {
    std::vector<std::string> Names;
    std::vector<int> Unreadable;
    std::string Saved;
    int ExpectedDevice;
    std::string ExpectedSaved;
    std::size_t ListSize;
};

class DeviceSelection : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceSelection, PicksTheSavedNameOrTheFirstDevice) {
    const auto& c = GetParam();
    TSong song;
    FillSong(song, {{Short(0, 0x90, 60, 1)}});
    TFakeDialogs dialogs;
    song.Dialogs = &dialogs;
    song.Config.MidiOutputDeviceName = c.Saved;
    TCaptureOutput out(c.Names);
    out.UnreadableDevices = c.Unreadable;
    TMidiPlayer player(song, out);
    player.SelectDevice();
    EXPECT_EQ(out.Selected(), c.ExpectedDevice);
    EXPECT_EQ(song.Config.MidiOutputDeviceName, c.ExpectedSaved);
    EXPECT_EQ(player.Devices().size(), c.ListSize);
    EXPECT_TRUE(dialogs.Log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Player, DeviceSelection,
    ::testing::Values(
        DeviceCase{{"A", "B", "C"}, {}, "B", 1, "B", 3},
        DeviceCase{{"A", "B"}, {}, "Gone", 0, "A", 2},
        DeviceCase{{"A", "B", "C"}, {1}, "B", 0, "A", 2},   // unreadable device left out
        DeviceCase{{"A", "B", "C"}, {0}, "Gone", 1, "B", 2} // first readable one stands in
        ));

TEST(PlayerDevices, NoDeviceTellsTheUserInTheirLanguageAndNeverPlays) {
    for (const std::string language : {"Deutsch", "English"}) {
        TSong song;
        FillSong(song, {{Short(0, 0x90, 60, 1)}});
        TFakeDialogs dialogs;
        song.Dialogs = &dialogs;
        song.Language = language;
        song.Config.MidiOutputDeviceName = "Old port";
        TCaptureOutput out(std::vector<std::string>{});
        TMidiPlayer player(song, out);
        player.SelectDevice();
        ASSERT_EQ(dialogs.Log.size(), 1u);
        EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox");
        EXPECT_EQ(dialogs.Log[0].Text,
                  language == "Deutsch"
                      ? "Sie haben keine Midi-Schnittstelle in Ihrem Conputer!\r\n"
                        "Es ist keine Midi-Ausgabe möglich!"
                      : "You have no midi interface!\r\nThere for no midi playback posible!");
        EXPECT_EQ(song.Config.MidiOutputDeviceName, "");
        EXPECT_FALSE(player.Start());
        EXPECT_EQ(out.OpenCount(), 0);
    }
}

TEST(PlayerDevices, StartDoesNothingWhenThePortDoesNotOpenOrNoSongIsLoaded) {
    TSong song;
    FillSong(song, {{Short(0, 0x90, 60, 1)}});
    TCaptureOutput out;
    TMidiPlayer player(song, out);
    player.SelectDevice();
    out.FailOpen = true;
    EXPECT_FALSE(player.Start());
    EXPECT_FALSE(player.IsPlaying());
    out.FailOpen = false;
    song.SongLoaded = false;
    EXPECT_FALSE(player.Start());
    EXPECT_TRUE(out.Sent().empty());
}

} // namespace
