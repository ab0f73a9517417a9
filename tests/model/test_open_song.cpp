// The open pipeline: too-short files, map completion, title and performer
// placement, XF chords, playback speed, the state after an open and the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "FakeDialogs.h"
#include "ReaderTestUtil.h"
#include "model/Errors.h"
#include "model/OpenSong.h"

using namespace lvtest;
using lv::TSong;

namespace {

AByte NoLyricsSong() {
    TSmfBuilder smf(0, 480);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(1920, 0, 60).EndOfTrack(0);
    return smf.Build();
}

// Lyric events in one track, all at the given ticks.
AByte LyricSong(const std::vector<std::pair<std::uint32_t, std::string>>& lyrics) {
    TSmfBuilder smf(1, 480);
    smf.AddTrack().Tempo(0, 500000).EndOfTrack(0);
    auto& t = smf.AddTrack();
    std::uint32_t now = 0;
    for (const auto& [tick, text] : lyrics) {
        t.Lyric(tick - now, text);
        now = tick;
    }
    t.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack(0);
    return smf.Build();
}

std::string Texts(const TSong& song) {
    std::string out;
    for (int k = 0; k < song.SyllableCount; ++k)
        out += song.Syllables[k].Text + "|";
    return out;
}

// Every list starts with the port head and ends with one end-of-track at
// SongEndTick; counts and cursors are as after an open.
void ExpectModelInvariants(TSong& song) {
    ASSERT_EQ(song.Tracks.size(), song.TrackCount + 2u);
    for (std::size_t k = 0; k < song.Tracks.size(); ++k) {
        SCOPED_TRACE("track " + std::to_string(k));
        auto& t = song.Tracks[k];
        ASSERT_TRUE(t.HasHead());
        EXPECT_TRUE(t.Events.front().IsMeta(33));
        EXPECT_EQ(t.Events.front().Tick, 0);
        EXPECT_TRUE(t.Events.back().IsMeta(47));
        EXPECT_EQ(t.Events.back().Tick, song.SongEndTick);
        EXPECT_TRUE(t.PlayCursor == t.Events.begin());
        int ends = 0;
        for (auto& e : t.Events)
            ends += e.IsMeta(47);
        EXPECT_EQ(ends, 1);
    }
    ASSERT_GE(song.TempoCount, 2);
    EXPECT_EQ(song.Tempos[0].Tick, 0);
    EXPECT_EQ(song.Tempos[song.TempoCount - 1].Tick, song.SongEndTick + 1);
    EXPECT_EQ(song.TimeSigns[0].Tick, 0);
    EXPECT_EQ(song.TimeSigns[song.TimeSignCount - 1].Tick, song.SongEndTick + 1);
    for (int k = 1; k < song.SyllableCount; ++k)
        EXPECT_LE(song.Syllables[k - 1].Tick, song.Syllables[k].Tick) << k;
    for (int k = 0; k < song.SyllableCount; ++k)
        EXPECT_FALSE(song.Syllables[k].PosText.empty());
    EXPECT_TRUE(song.FileImage.empty());
}

} // namespace

TEST(OpenSong, FilesBelow24BytesAreTooShort) {
    for (const char* lang : {"Deutsch", "English"}) {
        TSong song;
        song.Language = lang;
        AByte image = NoLyricsSong();
        image.resize(23);
        try {
            lv::OpenSongFromImage(song, image, "short.mid");
            ADD_FAILURE() << "no error";
        } catch (const lv::EMidiError& e) {
            EXPECT_STREQ(e.what(), std::string(lang) == "Deutsch"
                                       ? "Fehler in der Mididatei: Datei zu kurz!"
                                       : "Error: midi file too short!");
        }
        EXPECT_FALSE(song.SongLoaded);
    }
}

TEST(OpenSong, MissingFileIsAClearError) {
    TSong song;
    EXPECT_THROW(lv::OpenSong(song, "/nonexistent/folder/song.mid"), lv::EMidiError);
    EXPECT_FALSE(song.SongLoaded);
}

TEST(OpenSong, SongWithoutLyricsOpensInEditMode) {
    TSong song;
    song.Language = "Deutsch";
    const auto result = lv::OpenSongFromImage(song, NoLyricsSong(), "plain.mid");
    EXPECT_TRUE(song.SongLoaded);
    EXPECT_TRUE(song.EditMode);
    EXPECT_TRUE(song.RulesQuestionPending);
    EXPECT_FALSE(result.HasLyrics);
    EXPECT_EQ(result.ViewText, "");
    EXPECT_EQ(result.TempoHint, "Tempo: 120");
    EXPECT_EQ(song.FileName, "plain.mid");
    ExpectModelInvariants(song);

    // Defaults and one sentinel each.
    ASSERT_EQ(song.TempoCount, 2);
    EXPECT_EQ(song.Tempos[0].Tempo, 500000);
    EXPECT_EQ(song.Tempos[0].BPM, 120);
    EXPECT_EQ(song.Tempos[1].Tick, 1921);
    EXPECT_EQ(song.Tempos[1].Tempo, 500000);
    EXPECT_EQ(song.TimeSigns[0].Numerator, 4);
    EXPECT_EQ(song.TimeSigns[0].Denominator, 4);
    EXPECT_EQ(song.TimeSigns[0].ClocksPerClick, 24);
    EXPECT_EQ(song.TimeSigns[0].ThirtySecondsPerQuarter, 8);
    // The zone after the end starts just after the song's length.
    for (int k = 0; k < song.TimeZoneCount; ++k)
        if (song.TimeZones[k].Tick == song.SongEndTick + 1)
            EXPECT_EQ(song.TimeZones[k].StartMs, song.SongLengthMs + 1);

    const std::set<std::string> enabled = {
        "MainMenu_DateiSpeichern", "MainMenu_DateiSpeichernUnter", "MainMenu_Edit",
        "MainMenu_Text",           "MainMenu_TextLaden",           "MainMenu_TextSchriftAuswahl",
        "MainMenu_TextEdit",       "PopupMenu_TextEdit",           "MainMenu_TextHyphenate",
        "PopupMenu_TextHyphenate"};
    for (const auto& [name, on] : lv::OpenMenuStates(result.HasLyrics))
        EXPECT_EQ(on, enabled.count(name) == 1) << name;
    const auto captions = lv::OpenEditCaptions(false, song.Language);
    EXPECT_EQ(captions.TextEdit, "Bearbeiten beenden");
    EXPECT_EQ(captions.TextEditMTC, "Bearbeiten mit MTC");
    EXPECT_EQ(lv::OpenEditCaptions(true, "English").TextEdit, "Edit");
    EXPECT_EQ(lv::OpenEditCaptions(false, "English").TextEdit, "Finish editing");
}

TEST(OpenSong, MenuStatesWithLyrics) {
    for (const auto& [name, enabled] : lv::OpenMenuStates(true)) {
        const bool off =
            name.find("Hyphenate") != std::string::npos || name.find("Undo") != std::string::npos;
        EXPECT_EQ(enabled, !off) << name;
    }
}

TEST(OpenSong, TitleAndPerformerLinesArePlaced) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::uint32_t, std::string>> lyrics;
        std::vector<int> ticks;
    };
    const Case cases[] = {
        {"performer of one syllable",
         {{0, "Title"}, {0, "\r"}, {0, "Singer"}, {0, "\r"}, {960, "Hel"}, {1200, "lo"}},
         {108, 112, 952, 956, 960, 1200}},
        {"performer of two syllables",
         {{0, "Title"}, {0, "\r"}, {0, "Sin"}, {0, "ger"}, {0, "\r"}, {960, "Hel"}, {1200, "lo"}},
         {108, 112, 948, 952, 956, 960, 1200}},
        {"no line break after the title",
         {{0, "Title"}, {0, "Hel"}, {960, "lo"}, {1200, "a"}, {1300, "b"}},
         {108, 112, 960, 1200, 1300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSong song;
        const auto result = lv::OpenSongFromImage(song, LyricSong(c.lyrics), "lyrics.mid");
        EXPECT_TRUE(result.HasLyrics);
        EXPECT_FALSE(song.EditMode);
        ASSERT_EQ(song.SyllableCount, static_cast<int>(c.ticks.size())) << Texts(song);
        for (std::size_t k = 0; k < c.ticks.size(); ++k)
            EXPECT_EQ(song.Syllables[k].Tick, c.ticks[k]) << k << " " << Texts(song);
        EXPECT_EQ(song.Syllables[0].PosText, "001.01.108");
        EXPECT_EQ(result.ViewText.rfind("Title", 0), 0u);
        EXPECT_FALSE(result.Highlight.Apply && result.Highlight.SelEnd > result.Highlight.SelStart);
        ExpectModelInvariants(song);
    }
}

TEST(OpenSong, XFChordsAreCollectedWhenMoreThanFive) {
    for (int chords : {5, 6}) {
        SCOPED_TRACE(chords);
        TSmfBuilder smf(0, 480);
        auto& t = smf.AddTrack();
        for (int k = 0; k < chords; ++k)
            t.Meta(10, 0x7F, std::string{'\x43', '\x7B', '\x01', char(k), 0, char(k + 0x10), 0});
        t.NoteOn(10, 0, 60, 100).EndOfTrack(0);
        TSong song;
        lv::OpenSongFromImage(song, smf.Build(), "xf.mid");
        EXPECT_EQ(song.XFChordTrack, 0);
        EXPECT_EQ(song.XFChordCount, chords);
        if (chords == 6) {
            ASSERT_EQ(song.XFChords.size(), 6u);
            EXPECT_EQ(song.XFChords[2], (std::pair<std::uint8_t, std::uint8_t>{0x12, 2}));
        } else {
            EXPECT_TRUE(song.XFChords.empty());
        }
    }
}

TEST(OpenSong, PlaybackSpeedIsAppliedToTheTempoEvents) {
    TSong song;
    song.Config.PlaybackSpeed = 5; // 50 %
    TSmfBuilder smf(0, 480);
    smf.AddTrack().Tempo(0, 500000).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack(0);
    const auto result = lv::OpenSongFromImage(song, smf.Build(), "slow.mid");
    EXPECT_EQ(song.Tempos[0].Tempo, 1000000);
    EXPECT_EQ(song.Tempos[0].OrigTempo, 500000);
    EXPECT_EQ(result.TempoHint, "Tempo: 60");
    EXPECT_EQ(song.SongLengthMs, 1000);
}

TEST(OpenSong, OpeningAgainReplacesTheSong) {
    TSong song;
    TFakeDialogs dialogs;
    song.Dialogs = &dialogs;
    lv::OpenSongFromImage(song, LyricSong({{0, "a"}, {10, "b"}, {20, "c"}, {30, "d"}, {40, "e"}}),
                          "first.mid");
    EXPECT_EQ(song.TrackCount, 2);
    EXPECT_GT(song.SyllableCount, 0);
    lv::OpenSongFromImage(song, NoLyricsSong(), "second.mid");
    EXPECT_EQ(song.TrackCount, 1);
    EXPECT_EQ(song.SyllableCount, 0);
    ExpectModelInvariants(song);

    // A failing open leaves no song loaded; the next open starts clean.
    AByte bad = NoLyricsSong();
    bad[0] = 'X';
    EXPECT_THROW(lv::OpenSongFromImage(song, bad, "bad.mid"), lv::EMidiError);
    EXPECT_FALSE(song.SongLoaded);
    EXPECT_TRUE(song.FileImage.empty());
    lv::OpenSongFromImage(song, NoLyricsSong(), "third.mid");
    EXPECT_TRUE(song.SongLoaded);
    ExpectModelInvariants(song);

    lv::FreeSong(song);
    EXPECT_FALSE(song.SongLoaded);
    for (auto& t : song.Tracks)
        EXPECT_EQ(t.EventCount, 0);
    EXPECT_EQ(song.MelodyNoteCount, 0);
}

TEST(OpenSong, EveryCorpusFileOpensOrFailsClearly) {
    namespace fs = std::filesystem;
    const fs::path root(LV_CORPUS_DIR);
    if (!fs::exists(root)) GTEST_SKIP() << "no corpus";
    int opened = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".mid") continue;
        SCOPED_TRACE(entry.path().string());
        for (int speed : {0, 3}) {
            TSong song;
            song.Config.PlaybackSpeed = static_cast<std::uint8_t>(speed);
            song.Config.InsertController32 = speed == 3;
            try {
                lv::OpenSong(song, entry.path().string());
            } catch (const lv::EMidiError& e) {
                EXPECT_STRNE(e.what(), "");
                continue;
            } catch (const lv::ERangeError& e) {
                EXPECT_STRNE(e.what(), "");
                continue;
            }
            ++opened;
            EXPECT_TRUE(song.SongLoaded);
            ExpectModelInvariants(song);
        }
    }
    EXPECT_GT(opened, 0);
}
