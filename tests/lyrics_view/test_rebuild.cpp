#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SongFixture.h"
#include "lyrics/TextView.h"
#include "model/Extract.h"
#include "model/TimeMap.h"

using lvtest::MakeSong;
using Rows = std::vector<std::pair<std::int32_t, std::string>>;

namespace {

const Rows kTable = {{108, "Title"}, {112, "\r"},    {116, "Singer"}, {120, "\r"},   {480, "Hel"},
                     {600, "lo "},   {720, "world"}, {900, "\r"},     {960, "and "}, {1080, "on"}};

Rows LyricRows(const lv::TSong& song) {
    return lvtest::MetaRows(song, song.LyricsTrackIndex(), 5);
}

// Every event of the lyrics track as (meta type, tick, data, flag).
struct TRow {
    int Type;
    std::int32_t Tick;
    std::string Data;
    int Flag;
    bool operator==(const TRow&) const = default;
};
std::vector<TRow> LyricsTrackRows(lv::TSong& song) {
    std::vector<TRow> rows;
    for (const auto& e : song.LyricsTrack().Events)
        rows.push_back({e.MetaType, e.Tick, e.Data, e.Flag});
    return rows;
}

} // namespace

TEST(RebuildLyrics, OneLyricEventPerEntry) {
    auto song = MakeSong({.SongEndTick = 7680});
    for (int i = 0; i < 3; ++i)
        lvtest::AddLyric(song, 50 * i + 10, "old");
    lvtest::SetSyllables(song, kTable);
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song), kTable);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
    // New events are timed at once: 480 ticks at 120 BPM are 500 ms.
    const auto it = std::find_if(song.LyricsTrack().Events.begin(), song.LyricsTrack().Events.end(),
                                 [](const lv::TMidiEvent& e) { return e.Data == "Hel"; });
    EXPECT_EQ(it->TimeMs, 500);
    // Running it again changes nothing.
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song), kTable);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, CopyrightLineComesFirstAtTickZero) {
    auto song = MakeSong({.SongEndTick = 7680});
    song.Config.CopyrightString = "(c) Us";
    lvtest::SetSyllables(song, {{108, "T"}, {112, "\r"}, {480, "a"}, {600, "b"}, {720, "c"}});
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricsTrackRows(song), (std::vector<TRow>{{33, 0, std::string(1, '\0'), 0},
                                                        {3, 0, "Lyrics", 0},
                                                        {5, 0, "(c) Us", 1},
                                                        {5, 0, "\r", 1},
                                                        {5, 108, "T", 0},
                                                        {5, 112, "\r", 0},
                                                        {5, 480, "a", 0},
                                                        {5, 600, "b", 0},
                                                        {5, 720, "c", 0},
                                                        {47, 7680, "", 0}}));
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, SyllablesFromTheSongEndOnAreNotWritten) {
    auto song = MakeSong({.SongEndTick = 1000});
    lvtest::SetSyllables(
        song,
        {{108, "T"}, {112, "\r"}, {480, "a"}, {999, "b"}, {1000, "c"}, {900, "d"}, {2000, "e"}});
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song), (Rows{{108, "T"}, {112, "\r"}, {480, "a"}, {999, "b"}}));
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, UntimedPerformerLineIsPlaced) {
    struct {
        std::uint16_t Division;
        std::int32_t FirstSung;
        std::vector<lvtest::TSignAt> Signs;
        std::int32_t Tick2, Tick3;
        const char* Pos2;
    } cases[] = {
        {480, 1000, {}, 116, 120, "001.01.116"},
        {480, 3000, {}, 1920, 1924, "002.01.000"},
        {480, 2000, {{0, 3, 4}}, 1440, 1444, "002.01.000"},
        {96, 200, {}, 116, 120, "01.02.020"},
        {96, 400, {}, 384, 388, "02.01.000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Division) + " / " + std::to_string(c.FirstSung));
        auto song = MakeSong({.Division = c.Division, .SongEndTick = 20000, .TimeSigns = c.Signs});
        lvtest::SetSyllables(song, {{108, "Title"},
                                    {112, "\r"},
                                    {-1, "Singer"},
                                    {-1, "\r"},
                                    {c.FirstSung, "la "},
                                    {c.FirstSung + 100, "la"}});
        lv::RebuildLyricEvents(song);
        EXPECT_EQ(song.Syllables[2].Tick, c.Tick2);
        EXPECT_EQ(song.Syllables[3].Tick, c.Tick3);
        EXPECT_EQ(song.Syllables[2].PosText, c.Pos2);
        EXPECT_EQ(LyricRows(song).size(), 6u);
    }
}

TEST(RebuildLyrics, EntriesOutOfOrderKeepTheListInTickOrder) {
    // Five entries: too few for the performer placement, so two stay untimed;
    // they are written with the entry before them.
    auto song = MakeSong({.SongEndTick = 7680});
    lvtest::SetSyllables(song, {{108, "T"}, {112, "\r"}, {-1, "S"}, {-1, "\r"}, {480, "a"}});
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song),
              (Rows{{108, "T"}, {112, "\r"}, {112, "S"}, {112, "\r"}, {480, "a"}}));
    EXPECT_EQ(song.Syllables[2].Tick, -1);
    // Untimed from the start: at tick 0, behind the track name.
    lvtest::SetSyllables(song, {{-1, "x"}, {-1, "y"}, {200, "z"}});
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song), (Rows{{0, "x"}, {0, "y"}, {200, "z"}}));
    EXPECT_EQ(LyricsTrackRows(song)[1].Type, 3);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, EmptyTableRemovesAllLyricEvents) {
    auto song = MakeSong({.SongEndTick = 7680});
    for (int i = 0; i < 5; ++i)
        lvtest::AddLyric(song, 100 * i + 100, "x");
    lvtest::SetSyllables(song, {});
    lv::RebuildLyricEvents(song);
    EXPECT_TRUE(LyricRows(song).empty());
    EXPECT_EQ(song.LyricsTrack().EventCount, 2);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, EmptyEntriesAreNotWritten) {
    auto song = MakeSong({.SongEndTick = 7680});
    lvtest::SetSyllables(song, {{108, ""}, {112, "T"}, {116, ""}, {480, "a"}, {600, ""}});
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(LyricRows(song), (Rows{{112, "T"}, {480, "a"}}));
}

TEST(RebuildLyrics, TextSourceEventsMakeWayForLyricEvents) {
    auto song = MakeSong({.SongEndTick = 7680});
    for (const auto& [tick, text] : Rows{{0, "@TTitle"},
                                         {10, "@TSinger"},
                                         {480, "\\one "},
                                         {600, "two "},
                                         {720, "three"},
                                         {840, "/four"}})
        lvtest::AddText(song, 0, tick, text);
    lvtest::AddNote(song, 0, 480, 100, 0, 60);
    const auto track0Count = song.Tracks[0].EventCount;
    lv::ExtractLyrics(song);
    ASSERT_EQ(song.LyricSourceType, 1);
    lv::RebuildLyricEvents(song);
    EXPECT_TRUE(lvtest::MetaRows(song, 0, 1).empty());
    EXPECT_EQ(LyricRows(song), lvtest::SyllableRows(song));
    // Text events were never counted: the note and the rest keep their count.
    EXPECT_EQ(song.Tracks[0].EventCount, track0Count);
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST(RebuildLyrics, ExtractionOfRebuiltEventsGivesTheSameTable) {
    auto song = MakeSong({.SongEndTick = 7680});
    lvtest::SetSyllables(song, kTable);
    lv::RebuildLyricEvents(song);
    lv::ExtractLyrics(song);
    EXPECT_EQ(lvtest::SyllableRows(song), kTable);
}

TEST(RebuildLyrics, PlayerIsLocatedBackAndCursorsStayValid) {
    auto song = MakeSong({.SongEndTick = 7680});
    for (int i = 0; i < 5; ++i)
        lvtest::AddLyric(song, 100 * i + 100, "x");
    // The lyrics track's play cursor stands on a lyric event that goes away.
    auto& lyrics = song.LyricsTrack();
    lyrics.PlayCursor = std::next(lyrics.Events.begin(), 3);
    lvtest::TFakePlayer player;
    player.Position = 1234;
    song.Player = &player;
    song.LyricsRecorded = true;
    lvtest::SetSyllables(song, kTable);
    lv::RebuildLyricEvents(song);
    EXPECT_EQ(player.Locates, std::vector<std::int32_t>{1234});
    EXPECT_FALSE(song.LyricsRecorded);
    bool found = false;
    for (auto it = lyrics.Events.begin(); it != lyrics.Events.end(); ++it)
        if (it == lyrics.PlayCursor) found = true;
    EXPECT_TRUE(found);
}

TEST(RebuildLyrics, PrompterTrackIsBuiltWhenSwitchedOn) {
    auto song = MakeSong({.SongEndTick = 7680});
    song.SongLoaded = true;
    song.Config.SufflorEnabled = true;
    lvtest::SetSyllables(song, kTable);
    const auto before = song.PrompterTrack().Events.size();
    lv::RebuildLyricEvents(song);
    EXPECT_GT(song.PrompterTrack().Events.size(), before);
    EXPECT_EQ(LyricRows(song), kTable);
}
