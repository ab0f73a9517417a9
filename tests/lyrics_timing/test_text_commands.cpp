#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "TimingFixture.h"
#include "lyrics/TextCommands.h"
#include "lyrics/TextView.h"
#include "model/Errors.h"
#include "writer/Writer.h"

using namespace lvtest;
using lv::TEditorText;

namespace {

lv::TSong MakeLyricSong(const TRows& rows) {
    lv::TSong song = MakeSong();
    SetSyllables(song, rows);
    lv::RebuildLyricEvents(song);
    return song;
}

// What an independent reader finds: the lyric meta events of a written file.
int LyricEventsReadByMido(const std::string& path) {
    const std::string cmd = "/usr/bin/python3 -c \"import sys, mido; "
                            "print(sum(1 for t in mido.MidiFile(sys.argv[1]).tracks for m in t "
                            "if m.type == 'lyrics'))\" '" +
                            path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) return -1;
    int n = -1;
    if (std::fscanf(pipe.get(), "%d", &n) != 1) return -1;
    return n;
}

} // namespace

TEST(RemovePunctuation, KeepSet) {
    for (int c : std::initializer_list<int>{
             ' ',  '#',  '\'', '(',  ')',  '*',  '-',  '/',  ':',  '_',  '|',  '0',  '9',
             'A',  'Z',  'a',  'z',  0xC4, 0xD6, 0xDC, 0xDF, 0xE0, 0xE1, 0xE2, 0xE4, 0xE8,
             0xE9, 0xEA, 0xEC, 0xED, 0xEE, 0xF2, 0xF3, 0xF4, 0xF6, 0xF9, 0xFA, 0xFB, 0xFC})
        EXPECT_TRUE(lv::KeepsPunctuationChar(static_cast<unsigned char>(c))) << c;
    for (int c : std::initializer_list<int>{',',  '.',  '!',  '?',  '"',  ';',  '[',  ']',
                                            '{',  '~',  '+',  '\t', '\r', 0x7F, 0x80, 0x92,
                                            0xBF, 0xC0, 0xC9, 0xE3, 0xE5, 0xF1, 0xFF})
        EXPECT_FALSE(lv::KeepsPunctuationChar(static_cast<unsigned char>(c))) << c;
}

TEST(RemovePunctuation, FiltersSyllablesAndKeepsTheirTicks) {
    lv::TSong song = MakeLyricSong({
        {108, "AC-DC, live!"},
        {112, "\r"},
        {1912, "Art."},
        {1916, "\r"},
        {1920, "Hal"},
        {2160, "lo, "},
        {2400, "! "},
        {2640, "(it's) "},
        {2880, "Rock-"},
        {3120, "n-"},
        {3360, "Roll-"}, // a hyphen that ends the line stays
        {3600, "\r"},
        {3840, "\xBFqu\xE9? "},
        {4080, "self- "}, // so does one that ends a word
        {4320, "a_b"},
    });
    TEditorText editor;
    const auto r = lv::RemovePunctuation(song, editor);
    ASSERT_EQ(r.Status, lv::TMtcFinishStatus::Done);
    const TRows expected = {
        {108, "AC-DC, live!"}, {112, "\r"},      {1912, "Art"},     {1916, "\r"},
        {1920, "Hal"},         {2160, "lo "},    {2640, "(it's) "}, // the lone "!" is gone
        {2880, "Rock-"},       {3120, "n-"},     {3360, "Roll-"},   {3600, "\r"},
        {3840, "qu\xE9 "},     {4080, "self- "}, {4320, "a b"},
    };
    EXPECT_EQ(SyllableRows(song), expected);
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), expected);
    EXPECT_FALSE(song.EditMode);
    EXPECT_TRUE(editor.ReadOnly);
    EXPECT_EQ(editor.Lines[2], "Hallo (it's) Rock-n-Roll-");
}

TEST(RemovePunctuation, ATableOfTwoLinesIsLeftAlone) {
    lv::TSong song = MakeLyricSong({{108, "Song!"}, {112, "\r"}});
    TEditorText editor;
    editor.SetText("Song!\r\n");
    EXPECT_EQ(lv::RemovePunctuation(song, editor).Status, lv::TMtcFinishStatus::TooFewLines);
    EXPECT_FALSE(song.EditMode);
    EXPECT_EQ(editor.Text(), "Song!\r\n");
}

TEST(UpperCase, Windows1252AndOtherCodePages) {
    struct TCase {
        std::int32_t Charset;
        int In, Out;
    };
    const std::vector<TCase> cases = {
        {0, 'a', 'A'},     {0, 'Z', 'Z'},     {0, 0xE4, 0xC4},
        {0, 0xDF, 0xDF}, // ß stays
        {0, 0xFF, 0x9F},   {0, 0x9A, 0x8A},   {0, 0x9C, 0x8C},
        {0, 0xF7, 0xF7}, // ÷ stays
        {0, 0xB5, 0xB5},   {0, 0xFE, 0xDE},   {1, 0xE9, 0xC9},
        {238, 0xB3, 0xA3}, {238, 0xB9, 0xA5}, {238, 0xFF, 0xFF},
        {238, 0xE8, 0xC8}, {204, 0xE0, 0xC0}, {204, 0xFF, 0xDF},
        {204, 0xB8, 0xA8}, {161, 'q', 'Q'},   {161, 0xE1, 0xE1}, // no table: ASCII only
    };
    for (const auto& c : cases)
        EXPECT_EQ(lv::UpperCaseChar(static_cast<unsigned char>(c.In), c.Charset), c.Out)
            << c.Charset << " " << c.In;
}

TEST(UpperCase, ChangesTextsViewAndLyricEventsAtOnce) {
    lv::TSong song = MakeLyricSong({{108, "my song"},
                                    {112, "\r"},
                                    {1912, "the band"},
                                    {1916, "\r"},
                                    {1920, "\xE4r"},
                                    {2160, "ger "},
                                    {2400, "\xDF"}});
    TEditorText editor;
    lv::UpperCase(song, editor);
    const TRows expected = {{108, "MY SONG"}, {112, "\r"},    {1912, "THE BAND"}, {1916, "\r"},
                            {1920, "\xC4R"},  {2160, "GER "}, {2400, "\xDF"}};
    EXPECT_EQ(SyllableRows(song), expected);
    EXPECT_EQ(editor.Lines, (std::vector<std::string>{"MY SONG", "THE BAND", "\xC4RGER \xDF"}));
    // A song saved now carries the new letters.
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), expected);
}

TEST(HideNote, HidesTheNextNoteAndRelinks) {
    struct TCase {
        std::int32_t PositionMs;
        std::vector<std::int32_t> Expected; // ticks of the two syllables
    };
    // 120 per minute, 480 per quarter: the notes sound at 500, 1000 and 1500 ms.
    const std::vector<TCase> cases = {
        {1000, {480, 1440}}, // exactly on the note at 960
        {700, {480, 1440}},  // between 480 and 960: the next one
        {0, {960, 1440}},    // before every note: the first one
    };
    for (const auto& c : cases) {
        lv::TSong song = MakeLyricSong(
            {{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {200, "a"}, {300, "b"}});
        SetMelody(song, {480, 960, 1440});
        EXPECT_TRUE(lv::HideNote(song, c.PositionMs));
        EXPECT_TRUE(lv::CanUndoHideNote(song));
        EXPECT_EQ(song.Syllables[4].Tick, c.Expected[0]) << c.PositionMs;
        EXPECT_EQ(song.Syllables[5].Tick, c.Expected[1]) << c.PositionMs;
    }
}

TEST(HideNote, UndoShowsOnlyTheLastHiddenNote) {
    lv::TSong song =
        MakeLyricSong({{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {200, "a"}, {300, "b"}});
    SetMelody(song, {480, 960, 1440, 1920});
    ASSERT_TRUE(lv::HideNote(song, 500)); // 480
    ASSERT_TRUE(lv::HideNote(song, 500)); // 480 is hidden: 960
    EXPECT_EQ(Ticks(song)[4], 1440);
    ASSERT_TRUE(lv::UndoHideNote(song));
    EXPECT_FALSE(lv::CanUndoHideNote(song));
    EXPECT_EQ(Ticks(song)[4], 960); // the first hidden note stays hidden
    EXPECT_EQ(Ticks(song)[5], 1440);
    EXPECT_FALSE(lv::UndoHideNote(song));
}

TEST(HideNote, NothingAfterThePositionChangesNothing) {
    lv::TSong song = MakeLyricSong({{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {200, "a"}});
    SetMelody(song, {480});
    EXPECT_FALSE(lv::HideNote(song, 5000));
    EXPECT_FALSE(lv::CanUndoHideNote(song));
    EXPECT_EQ(Ticks(song)[4], 200);
    for (const auto& n : song.MelodyNotes)
        EXPECT_EQ(n.Flag, 0);

    lv::TSong empty = MakeLyricSong({});
    EXPECT_FALSE(lv::HideNote(empty, 0));
    SetMelody(empty, {});
    EXPECT_FALSE(lv::HideNote(empty, 0));
}

TEST(DeleteLyrics, AnsweredNoChangesNothing) {
    const TRows rows = {{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {960, "la"}};
    lv::TSong song = MakeLyricSong(rows);
    TFakeDialogs dialogs;
    dialogs.Answers = {false};
    song.Dialogs = &dialogs;
    TEditorText editor;
    editor.SetText(lv::BuildViewText(song));
    EXPECT_FALSE(lv::DeleteLyrics(song, editor));
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_TRUE(dialogs.Log[0].IsQuestion);
    EXPECT_EQ(dialogs.Log[0].Text, "Delete the lyrics?");
    EXPECT_EQ(SyllableRows(song), rows);
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), rows);
    EXPECT_EQ(editor.Lines[2], "la");
}

TEST(DeleteLyrics, AnsweredYesLeavesNoLyricsInAWrittenFile) {
    for (int format : {0, 1}) {
        lv::TSong song = MakeLyricSong(
            {{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {960, "la"}, {1440, "lu"}});
        song.Config.CopyrightString = "(c) us";
        lv::RebuildLyricEvents(song);
        song.Language = "Deutsch";
        TFakeDialogs dialogs;
        dialogs.Answers = {true};
        song.Dialogs = &dialogs;
        TEditorText editor;
        editor.SetText(lv::BuildViewText(song));
        ASSERT_TRUE(lv::DeleteLyrics(song, editor));
        EXPECT_EQ(dialogs.Log.at(0).Text, "Sollen die Lyrics entfernt werden?");
        EXPECT_EQ(song.SyllableCount, 0);
        EXPECT_TRUE(song.Syllables.empty());
        EXPECT_EQ(editor.Text(), "");
        for (const auto& e : song.LyricsTrack().Events) {
            if (e.IsMeta(5)) EXPECT_EQ(e.Length, 0);
        }

        const std::string path = MakeTempDir("lv_delete_lyrics") + "/song.mid";
        ASSERT_TRUE(format == 0 ? lv::WriteFormat0File(song, path)
                                : lv::WriteFormat1File(song, path));
        EXPECT_EQ(LyricEventsReadByMido(path), 0) << "format " << format;
    }
}

TEST(FontSettings, StoredAndReadBack) {
    lv::TConfiguration config;
    EXPECT_EQ(lv::LoadFontSettings(config), lv::TFontSettings{});
    lv::TFontSettings f{false, 238, -20, true, "DejaVu Sans Mono", 15, true, true};
    lv::StoreFontSettings(config, f);
    EXPECT_EQ(config.FontName, "DejaVu Sans Mono");
    EXPECT_EQ(config.FontCharset, 238);
    EXPECT_EQ(lv::LoadFontSettings(config), f);

    lv::TFontSettings bad = f;
    bad.Charset = 256;
    bad.Name = "Other";
    EXPECT_THROW(lv::StoreFontSettings(config, bad), lv::ERangeError);
    EXPECT_EQ(config.FontName, "DejaVu Sans Mono");
}
