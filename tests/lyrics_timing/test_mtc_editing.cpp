#include <gtest/gtest.h>

#include "FakeDialogs.h"
#include "TimingFixture.h"
#include "lyrics/MtcEditing.h"
#include "model/TimeMap.h"

using namespace lvtest;
using lv::TEditorText;
using lv::TMtcFinishStatus;

namespace {

// A table as the editing modes leave it: header placed before the first
// lyric entry, no blank before a line break.
const TRows kProgramMade = {
    {108, "My Song"},     {112, "\r"},   {1912, "Artist"}, {1916, "\r"},
    {1920, "Hal"},        {2160, "lo "}, {2400, "du"},     {2640, "\r"},
    {2880, "---- "},      {3120, "la"},  {3124, "-la "},   {3360, "x-y "},
    {3600, "two words "}, {3840, "end"}, {3844, "\r"},     {4080, "it's"},
};

lv::TSong MakeLyricSong(const TRows& rows, std::uint16_t division = 480,
                        std::int32_t songEnd = 7680) {
    TSongSetup setup;
    setup.Division = division;
    setup.SongEndTick = songEnd;
    lv::TSong song = MakeSong(setup);
    SetSyllables(song, rows);
    return song;
}

} // namespace

TEST(MtcEditing, StartThenFinishGivesTheSameTable) {
    lv::TSong song = MakeLyricSong(kProgramMade);
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        song.Syllables[i].SavedTick = song.Syllables[i].Tick - 7; // an earlier quantize
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    EXPECT_TRUE(song.EditMode);
    EXPECT_FALSE(editor.ReadOnly);
    const std::vector<std::string> expectedLines = {
        "001.01.108 My_Song",
        "001.01.112 ***_Neue_Zeile_***",
        "001.04.472 Artist",
        "001.04.476 ***_Neue_Zeile_***",
        "002.01.000 Hal-",
        "002.01.240 lo ",
        "002.02.000 du",
        "002.02.240 ***_Neue_Zeile_***",
        "002.03.000 ~~~~ ",
        "002.03.240 la-",
        "002.03.244 ~la ",
        "002.04.000 x~y ",
        "002.04.240 two_words ",
        "003.01.000 end",
        "003.01.004 ***_Neue_Zeile_***",
        "003.01.240 it's-",
    };
    EXPECT_EQ(editor.Lines, expectedLines);

    const auto r = lv::FinishMtcEditing(song, editor);
    ASSERT_EQ(r.Status, TMtcFinishStatus::Done);
    EXPECT_EQ(SyllableRows(song), kProgramMade);
    for (std::int32_t i = 4; i < song.SyllableCount; ++i)
        EXPECT_EQ(song.Syllables[i].SavedTick, song.Syllables[i].Tick - 7) << i;
    EXPECT_FALSE(song.EditMode);
    EXPECT_TRUE(editor.ReadOnly);
    EXPECT_EQ(editor.Lines[2], "Hallo du");
    EXPECT_EQ(song.Syllables[5].PosText, "002.01.240");
    // The lyric events follow the new table.
    EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), kProgramMade);
    EXPECT_EQ(CheckTrackInvariants(song), "");
}

struct TLayoutCase {
    std::uint16_t Division;
    std::int32_t Tick;
    const char* Position;
};

class MtcLayout : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(MtcLayout, PositionColumnsFollowTheDigitsOfDivision) {
    const auto c = GetParam();
    const std::int32_t end = c.Tick + 8 * c.Division;
    lv::TSong song = MakeLyricSong({{108, "T"},
                                    {112, "\r"},
                                    {c.Tick - 8, "A"},
                                    {c.Tick - 4, "\r"},
                                    {c.Tick, "Hal"},
                                    {c.Tick + c.Division + 1, "lo"}},
                                   c.Division, end);
    const TRows before = SyllableRows(song);
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    const std::size_t digits = static_cast<std::size_t>(lv::DivisionDigits(c.Division));
    ASSERT_EQ(editor.Lines.size(), 6u);
    EXPECT_EQ(editor.Lines[4], std::string(c.Position) + " Hal-");
    EXPECT_EQ(editor.Lines[4].find(' '), 7 + digits);
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    EXPECT_EQ(SyllableRows(song), before);
}

INSTANTIATE_TEST_SUITE_P(EveryDigitCount, MtcLayout,
                         ::testing::Values(TLayoutCase{8, 324, "011.01.4"},
                                           TLayoutCase{96, 432, "002.01.48"},
                                           TLayoutCase{480, 2160, "002.01.240"},
                                           TLayoutCase{1920, 8640, "002.01.0960"},
                                           TLayoutCase{15360, 69120, "002.01.07680"},
                                           // a position number beyond 32 bits
                                           TLayoutCase{15360, 299 * 4 * 15360, "300.01.00000"}));

TEST(MtcEditing, ChangingTheTickDigitsOfOneLineMovesOnlyThatEntry) {
    lv::TSong song = MakeLyricSong(kProgramMade);
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        song.Syllables[i].SavedTick = 1;
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    editor.Lines[5] = "002.01.250 lo ";
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    TRows expected = kProgramMade;
    expected[5].first = 2170;
    EXPECT_EQ(SyllableRows(song), expected);
    for (std::int32_t i = 4; i < song.SyllableCount; ++i)
        EXPECT_EQ(song.Syllables[i].SavedTick, i == 5 ? 2170 : 1) << i;
}

TEST(MtcEditing, TextColumnRules) {
    lv::TSong song = MakeLyricSong(kProgramMade);
    TEditorText editor;
    editor.Lines = {
        "001.01.000 Song",
        "001.01.000 ***_Neue_Zeile_***",
        "001.01.000 Band",
        "001.01.000 ***_Neue_Zeile_***",
        "002.01.000 Hal-",  // the word goes on
        "002.01.240 lo   ", // trailing blanks: the word ends once
        "002.02.000 ----",  // dash placeholders keep their blank
        "002.02.100 -----",
        "002.02.200 -", // a lone hyphen is a syllable, not a continuation
        "002.03.000 \x92"
        "cause-", // typographic apostrophe
        "002.03.100 a~b_c",
        "002.04.000 ***_Neue_Zeile_***",
        "002.04.100 ***_Neue_Zeile_***",
        "002.04.200 ***_Neue_Zeile_***", // a third break in a row goes
        "002.04.300 ",                   // no text: goes
        "",                              // blank: goes
        "003.01.000 end",
        "003.01.100 ***_Neue_Zeile_***", // breaks at the end go
        "003.01.200 ***_Neue_Zeile_***",
    };
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    const std::vector<std::string> texts = {"Song",  "\r",    "Band",   "\r",  "Hal",
                                            "lo ",   "---- ", "----- ", "- ",  "'cause",
                                            "a-b c", "\r",    "\r",     "end "};
    ASSERT_EQ(song.SyllableCount, static_cast<std::int32_t>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(song.Syllables[i].Text, texts[i]) << i;
    // Header: 108, 112, then the artist just before the first lyric entry.
    EXPECT_EQ(SyllableRows(song)[0].first, 108);
    EXPECT_EQ(SyllableRows(song)[1].first, 112);
    EXPECT_EQ(SyllableRows(song)[2].first, 1912);
    EXPECT_EQ(SyllableRows(song)[3].first, 1916);
    EXPECT_EQ(SyllableRows(song)[11].first, 1920 + 3 * 480);
}

TEST(MtcEditing, ARejectedPositionNamesItsLineAndChangesNothing) {
    const std::vector<std::string> badPositions = {"000.00.000", "0x1.01.000", "001,01,000",
                                                   "001.1.000 ", "001.01.0x0", "-01.01.000"};
    for (const auto& bad : badPositions) {
        SCOPED_TRACE(bad);
        lv::TSong song = MakeLyricSong(kProgramMade);
        TFakeDialogs dialogs;
        song.Dialogs = &dialogs;
        const auto eventsBefore = MetaRows(song, song.LyricsTrackIndex(), 5);
        TEditorText editor;
        lv::StartMtcEditing(song, editor);
        editor.Lines.insert(editor.Lines.begin() + 5, "   "); // removed by the clean-up
        editor.Lines[7] = bad + " du";
        const auto r = lv::FinishMtcEditing(song, editor);
        EXPECT_EQ(r.Status, TMtcFinishStatus::Rejected);
        EXPECT_EQ(r.RejectedLine, 7);
        ASSERT_EQ(dialogs.Log.size(), 1u);
        EXPECT_FALSE(dialogs.Log[0].IsQuestion);
        EXPECT_EQ(dialogs.Log[0].Text,
                  "Die MTC Angabe in Zeile 7 ist falsch!\rBitte korigieren...");
        EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox");
        EXPECT_EQ(SyllableRows(song), kProgramMade);
        EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), eventsBefore);
        EXPECT_TRUE(song.EditMode);
        EXPECT_FALSE(editor.ReadOnly);
        EXPECT_EQ(editor.Lines.size(), kProgramMade.size()); // the blank line stays deleted
    }
}

TEST(MtcEditing, PositionsGoThroughTheZoneTheyFallInto) {
    TSongSetup setup;
    setup.SongEndTick = 20000;
    setup.TimeSigns = {{0, 4, 4}, {3840, 3, 4}, {6720, 6, 8}}; // 3/4 from bar 3, 6/8 from bar 5
    lv::TSong song = MakeSong(setup);
    SetSyllables(song, {{108, "T"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {1920, "x"}});
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    editor.Lines.push_back("004.02.120 three"); // 3/4: bar 3 starts at 3840
    editor.Lines.push_back("005.03.000 six");   // 6/8: a beat is an eighth
    editor.Lines.push_back("006.01.000 bar");
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    ASSERT_EQ(song.SyllableCount, 8);
    EXPECT_EQ(song.Syllables[5].Tick, 3840 + 4 * 480 + 120);
    EXPECT_EQ(song.Syllables[6].Tick, 6720 + 2 * 240);
    EXPECT_EQ(song.Syllables[7].Tick, 6720 + 6 * 240);
    EXPECT_EQ(song.Syllables[5].PosText, "004.02.120");
    EXPECT_EQ(song.Syllables[7].PosText, "006.01.000");
}

TEST(MtcEditing, SongsBeyondBar999KeepTheirPositions) {
    const std::int32_t far = 999 * 1920 + 240; // bar 1000
    lv::TSong song = MakeLyricSong(
        {{108, "T"}, {112, "\r"}, {1912, "A"}, {1916, "\r"}, {1920, "near "}, {far, "far"}}, 480,
        far + 1920);
    const TRows before = SyllableRows(song);
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    EXPECT_EQ(editor.Lines[5], "1000.01.240 far-");
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    EXPECT_EQ(SyllableRows(song), before);
}

TEST(MtcEditing, OddTextsDoNotFault) {
    struct TCase {
        std::vector<std::string> Lines;
        TMtcFinishStatus Status;
    };
    const std::vector<TCase> cases = {
        {{"001.01.000 a", "001.01.000 b"}, TMtcFinishStatus::TooFewLines},
        {{"001.01.108 ", "001.01.112 ", "001.01.116 x"},
         TMtcFinishStatus::Done},               // empty title and artist
        {{"", "", ""}, TMtcFinishStatus::Done}, // everything blank
        {{"001.01.000 ***_Neue_Zeile_***", "x", "001.01.000 y"}, TMtcFinishStatus::Rejected},
        {{"9999999999.01.000 a", "001.01.000 b", "001.01.000 c"}, TMtcFinishStatus::Rejected},
        {{"999.99.999 a", "001.01.000 b", "001.01.000 c"}, TMtcFinishStatus::Done},
    };
    for (const auto& c : cases) {
        lv::TSong song = MakeLyricSong(kProgramMade);
        TEditorText editor;
        editor.Lines = c.Lines;
        EXPECT_EQ(lv::FinishMtcEditing(song, editor).Status, c.Status) << c.Lines[0];
        EXPECT_TRUE(InTickOrder(SyllableRows(song)));
        EXPECT_EQ(CheckTrackInvariants(song), "");
    }
}

TEST(MtcEditing, CaretStandsAtTheLineAfterTheSelectedEntry) {
    lv::TSong song = MakeLyricSong(kProgramMade);
    song.SelectedSyllable = 5;
    TEditorText editor;
    const std::int32_t scroll = lv::StartMtcEditing(song, editor);
    std::int32_t lineStart6 = 0, lineStart8 = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        if (i < 6) lineStart6 += static_cast<std::int32_t>(editor.Lines[i].size()) + 2;
        lineStart8 += static_cast<std::int32_t>(editor.Lines[i].size()) + 2;
    }
    EXPECT_EQ(editor.SelStart, lineStart6);
    EXPECT_EQ(editor.SelLength, 0);
    EXPECT_EQ(scroll, lineStart8);
}

// Recorded syllables and header lines keep their position in another digit
// layout when Division has fewer or more than three digits ("12.02.045" at 96
// per quarter); MTC editing still shows and reads every entry at its tick.
TEST(MtcEditing, PositionsComeFromTheTicksNotTheStoredTexts) {
    for (std::uint16_t division : {96, 1920}) {
        SCOPED_TRACE(division);
        const std::int32_t bar = 4 * division;
        lv::TSong song = MakeLyricSong({{108, "T"},
                                        {112, "\r"},
                                        {bar - 8, "A"},
                                        {bar - 4, "\r"},
                                        {bar, "Hal"},
                                        {bar + division + 45, "lo "},
                                        {3 * bar, "du"}},
                                       division, 8 * bar);
        for (auto& h : song.Syllables)
            h.PosText = lv::TickToHeaderPosText(song, h.Tick);
        ASSERT_NE(song.Syllables[5].PosText, lv::TickToPosText(song, song.Syllables[5].Tick));
        const TRows before = SyllableRows(song);
        TEditorText editor;
        lv::StartMtcEditing(song, editor);
        EXPECT_EQ(editor.Lines[5], lv::TickToPosText(song, bar + division + 45) + " lo ");
        ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
        EXPECT_EQ(SyllableRows(song), before);
    }
}

// In 4/1 a beat is a whole note: the tick within the beat needs more digits
// than Division has, and is read back whole.
TEST(MtcEditing, LongBeatsKeepTheirTicks) {
    TSongSetup setup;
    setup.SongEndTick = 40000;
    setup.TimeSigns = {{0, 4, 1}};
    lv::TSong song = MakeSong(setup);
    SetSyllables(song, {{108, "T"},
                        {112, "\r"},
                        {7672, "A"},
                        {7676, "\r"},
                        {7680, "one "},
                        {7680 + 1500, "two "},
                        {2 * 7680 + 1920 + 1919, "three"}});
    const TRows before = SyllableRows(song);
    TEditorText editor;
    lv::StartMtcEditing(song, editor);
    EXPECT_EQ(editor.Lines[5], lv::TickToPosText(song, 7680 + 1500) + " two ");
    ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, TMtcFinishStatus::Done);
    EXPECT_EQ(SyllableRows(song), before);
}
