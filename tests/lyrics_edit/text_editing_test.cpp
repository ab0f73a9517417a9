// Plain editing: the table as text and back, the tick carry-over for inserted,
// changed and appended syllables, the header ticks and the rules question.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeDialogs.h"
#include "SongFixture.h"
#include "lyrics/TextEditing.h"
#include "model/TimeMap.h"

namespace {

using lv::TEditorText;
using Rows = std::vector<std::pair<std::int32_t, std::string>>;
using Texts = std::vector<std::string>;

Texts EntryTexts(const lv::AHyphens& entries) {
    Texts t;
    for (const auto& h : entries)
        t.push_back(h.Text);
    return t;
}

struct TEditFixture : ::testing::Test {
    void SetUp() override {
        lvtest::TSongSetup setup;
        setup.SongEndTick = 20000;
        song = lvtest::MakeSong(setup);
        dialogs.DefaultAnswer = true;
        song.Dialogs = &dialogs;
    }
    // A timed song: title, artist, two lyric lines.
    void UseTimedTable() {
        lvtest::SetSyllables(song, {{108, "Song"},
                                    {112, "\r"},
                                    {952, "Artist"},
                                    {956, "\r"},
                                    {960, "la "},
                                    {1440, "di "},
                                    {1920, "da"},
                                    {1924, "\r"},
                                    {2400, "one "},
                                    {2880, "two"}});
    }
    bool Finish(const Texts& lines) {
        editor.Lines = lines;
        return lv::FinishEditing(song, editor);
    }
    lv::TSong song;
    lvtest::TFakeDialogs dialogs;
    TEditorText editor;
};

// --- tokenising ---------------------------------------------------------------

struct TTokenCase {
    const char* Name;
    Texts Lines;
    Texts Entries;
};

class Tokenise : public ::testing::TestWithParam<TTokenCase> {};

TEST_P(Tokenise, GivesTheEntries) {
    EXPECT_EQ(EntryTexts(lv::TokeniseLyricText(GetParam().Lines)), GetParam().Entries);
}

INSTANTIATE_TEST_SUITE_P(
    LyricTextFormat, Tokenise,
    ::testing::Values(
        TTokenCase{
            "words_and_syllables",
            {"Title ", "Artist", "Hel-lo my love", "good-bye"},
            {"Title", "\r", "Artist", "\r", "Hel", "lo ", "my ", "love", "\r", "good", "bye"}},
        TTokenCase{"blank_title_and_artist", {"", " ", "la"}, {"\r", "\r", "la"}},
        TTokenCase{"escapes_in_header_and_syllables",
                   {"My_Song=Mix", "A", "two_words-x=y"},
                   {"My Song-Mix", "\r", "A", "\r", "two words", "x-y"}},
        TTokenCase{"line_ending_in_hyphen_keeps_it",
                   {"T", "A", "la-la-"},
                   {"T", "\r", "A", "\r", "la", "la-"}},
        TTokenCase{"two_hyphens_give_an_attached_syllable",
                   {"T", "A", "ab--cd ef"},
                   {"T", "\r", "A", "\r", "ab", "-cd ", "ef"}},
        TTokenCase{"word_starting_with_hyphen_is_attached",
                   {"T", "A", "la -ho"},
                   {"T", "\r", "A", "\r", "la ", "-ho"}},
        TTokenCase{"last_syllable_of_a_line_has_no_blank",
                   {"T", "A", "la   ", "di"},
                   {"T", "\r", "A", "\r", "la", "\r", "di"}},
        TTokenCase{"double_blank_stays_in_front_of_the_next_token",
                   {"T", "A", "a  b"},
                   {"T", "\r", "A", "\r", "a ", " b"}},
        TTokenCase{"exactly_four_hyphens", {"T", "A", "----"}, {"T", "\r", "A", "\r", "----"}},
        TTokenCase{"placeholder_then_words",
                   {"T", "A", "---- la di"},
                   {"T", "\r", "A", "\r", "---- ", "la ", "di"}},
        TTokenCase{"long_placeholder_without_words",
                   {"T", "A", "------"},
                   {"T", "\r", "A", "\r", "------ "}},
        TTokenCase{"placeholder_shown_as_equals_comes_back",
                   {"T", "A", "==== la"},
                   {"T", "\r", "A", "\r", "---- ", "la"}},
        TTokenCase{"blank_lyric_line_is_one_line_break",
                   {"T", "A", "la", "", "di"},
                   {"T", "\r", "A", "\r", "la", "\r", "\r", "di"}},
        TTokenCase{"lone_hyphen_line", {"T", "A", "-"}, {"T", "\r", "A", "\r", "-"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- clean-up and normalising ---------------------------------------------------

TEST(CleanUp, BlankLinesAtStartEndAndRepeatedFromLineThree) {
    Texts lines = {" ", "", "Title", "", "", "la", "", "", "", "di", " ", ""};
    lv::CleanUpLines(lines);
    // The blank second line stays (no artist); the blank after it goes.
    EXPECT_EQ(lines, (Texts{"Title", "", "la", "", "di"}));
}

TEST(Normalise, TabsToFiveColumnsAndApostrophes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\tx", "     x"},           // column 1: up to column 5
        {"abcd\tx", "abcd x"},       // column 5: one blank
        {"abcde\tx", "abcde     x"}, // column 6: up to column 10
        {"it\x92s \xB4\x60\x82\x91", "it's ''''"},
        {"plain", "plain"},
    };
    for (const auto& [in, out] : cases) {
        std::string line = in;
        EXPECT_EQ(lv::NormaliseLine(line, 5), in != out) << in;
        EXPECT_EQ(line, out) << in;
    }
}

// --- start editing ----------------------------------------------------------------

TEST_F(TEditFixture, StartEditingShowsSeparatorsAndEscapes) {
    lvtest::SetSyllables(song, {{108, "Song"},
                                {112, "\r"},
                                {116, "Artist"},
                                {120, "\r"},
                                {960, "---- "},
                                {1000, "Hel"},
                                {1100, "lo "},
                                {1200, "two words"},
                                {1300, "x-y"},
                                {1310, ""},
                                {1320, "end"},
                                {1330, "\r"},
                                {1340, "last "}});
    lv::StartEditing(song, editor);
    EXPECT_EQ(editor.Lines, (Texts{"Song", "Artist", "==== Hel-lo two_words-x=y-end", "last "}));
    EXPECT_TRUE(song.EditMode);
    EXPECT_FALSE(editor.ReadOnly);
}

TEST_F(TEditFixture, StartEditingPutsTheCaretAfterTheSelectedSyllable) {
    UseTimedTable();
    song.SelectedSyllable = 5; // "di ": text "Song\r\nArtist\r\nla di da..."
    const lv::TEditCaret caret = lv::StartEditing(song, editor);
    const std::string text = editor.Text();
    EXPECT_EQ(text.substr(0, std::size_t(caret.Caret)), "Song\r\nArtist\r\nla di ");
    EXPECT_EQ(caret.ScrollCaret, std::int32_t(text.size())); // fewer than four lines follow
    EXPECT_EQ(editor.SelStart, caret.Caret);
}

TEST_F(TEditFixture, StartEditingScrollsToTheFourthLineAfterTheCurrentOne) {
    Rows rows = {{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}};
    for (int line = 0; line < 8; ++line) {
        rows.push_back({960 + 100 * line, "l" + std::to_string(line) + " "});
        rows.push_back({1000 + 100 * line, "x"});
        rows.push_back({1010 + 100 * line, "\r"});
    }
    lvtest::SetSyllables(song, rows);
    song.SelectedSyllable = 4 + 3 * 3 + 1; // "x" of "l3 x", editor line index 5
    const lv::TEditCaret caret = lv::StartEditing(song, editor);
    const std::string text = editor.Text();
    // Caret right after "x" (a line break follows: no separator); the view
    // scrolls to the end of line index 9, "l7 x".
    EXPECT_EQ(text.substr(0, std::size_t(caret.Caret)).substr(std::size_t(caret.Caret) - 4),
              "l3 x");
    std::size_t end = 0;
    for (int l = 0; l <= 9; ++l)
        end = text.find("\r\n", end) + (l < 9 ? 2 : 0);
    EXPECT_EQ(text.substr(end - 4, 4), "l7 x");
    EXPECT_EQ(caret.ScrollCaret, std::int32_t(end));
}

// --- round trip -------------------------------------------------------------------

TEST_F(TEditFixture, StartThenFinishKeepsEntriesAndTicks) {
    // A table this editor made itself: finish a typed text first, then time it.
    ASSERT_TRUE(Finish({"My Song", "Me", "---- Hel-lo my_dear wo--rld", "", "x=y la-", "end"}));
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        song.Syllables[std::size_t(i)].Tick = song.Syllables[std::size_t(i)].SavedTick =
            1000 + 50 * i;
    lv::FinishEditing(song, editor); // settle the header ticks
    const Rows before = lvtest::SyllableRows(song);

    lv::StartEditing(song, editor);
    ASSERT_TRUE(lv::FinishEditing(song, editor));
    EXPECT_EQ(lvtest::SyllableRows(song), before);
    EXPECT_FALSE(song.EditMode);
    EXPECT_TRUE(editor.ReadOnly);
}

TEST_F(TEditFixture, FinishingWritesTheLyricEventsAndPositions) {
    UseTimedTable();
    lv::StartEditing(song, editor);
    ASSERT_TRUE(lv::FinishEditing(song, editor));
    const Rows lyrics = lvtest::MetaRows(song, song.LyricsTrackIndex(), 5);
    EXPECT_EQ(lyrics, lvtest::SyllableRows(song));
    EXPECT_EQ(song.Syllables[4].PosText, lv::TickToPosText(song, 960));
    // The editor shows the view text: syllables without separators.
    EXPECT_EQ(editor.Lines, (Texts{"Song", "Artist", "la di da", "one two"}));
}

// --- tick carry-over ----------------------------------------------------------------

TEST_F(TEditFixture, RetypedSyllablesOfTheSameCountKeepTheirTicks) {
    UseTimedTable();
    ASSERT_TRUE(Finish({"Song", "Artist", "lo du de", "one two"}));
    EXPECT_EQ(lvtest::SyllableRows(song), (Rows{{108, "Song"},
                                                {112, "\r"},
                                                {952, "Artist"},
                                                {956, "\r"},
                                                {960, "lo "},
                                                {1440, "du "},
                                                {1920, "de"},
                                                {1924, "\r"},
                                                {2400, "one "},
                                                {2880, "two"}}));
}

TEST_F(TEditFixture, OneInsertedWordGoesHalfwayBetweenItsNeighbours) {
    UseTimedTable();
    ASSERT_TRUE(Finish({"Song", "Artist", "la new di da", "one two"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[5], (std::pair<std::int32_t, std::string>{1200, "new "}));
    EXPECT_EQ(rows[6].first, 1440);
    EXPECT_EQ(rows[10].first, 2880);
}

TEST_F(TEditFixture, InsertedLineIsPlacedHalfwayAndItsBreakTenTicksLater) {
    UseTimedTable();
    ASSERT_TRUE(Finish({"Song", "Artist", "la di da", "hey", "one two"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 12u);
    // Between "da" (1920; the line break before is stepped over) and "one" (2400).
    EXPECT_EQ(rows[8], (std::pair<std::int32_t, std::string>{2160, "hey"}));
    EXPECT_EQ(rows[9], (std::pair<std::int32_t, std::string>{2170, "\r"}));
    EXPECT_EQ(rows[10].first, 2400);
}

TEST_F(TEditFixture, SmallChangedRegionIsSpreadEvenly) {
    UseTimedTable();
    // "da" becomes "da " and "new" follows: two entries between "di" and "one".
    ASSERT_TRUE(Finish({"Song", "Artist", "la di da new", "one two"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[6], (std::pair<std::int32_t, std::string>{1760, "da "}));
    EXPECT_EQ(rows[7], (std::pair<std::int32_t, std::string>{2080, "new"}));
    EXPECT_EQ(rows[8], (std::pair<std::int32_t, std::string>{2084, "\r"}));
    EXPECT_EQ(rows[9].first, 2400);
}

TEST_F(TEditFixture, LargeChangedRegionStaysNearTheSongEnd) {
    UseTimedTable();
    ASSERT_TRUE(Finish({"Song", "Artist", "a b c d e f g", "one two"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 14u);
    for (std::int32_t q = 4; q <= 10; ++q)
        EXPECT_EQ(rows[std::size_t(q)].first, 20000 - 10 * (14 - q + 1)) << q;
    // The unchanged line after it carries its ticks over but must follow the
    // region, so it moves up behind it, 4 ticks apart.
    EXPECT_EQ(rows[11].first, rows[10].first + 4);
    EXPECT_EQ(rows[13].first, rows[12].first + 4);
    for (std::size_t q = 1; q < rows.size(); ++q)
        EXPECT_LE(rows[q - 1].first, rows[q].first);
}

TEST_F(TEditFixture, AppendedSyllablesGoNearTheSongEnd) {
    UseTimedTable();
    ASSERT_TRUE(Finish({"Song", "Artist", "la di da", "one two", "three four"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[9].first, 2880);
    EXPECT_EQ(rows[10], (std::pair<std::int32_t, std::string>{20000 - 40, "\r"}));
    EXPECT_EQ(rows[11], (std::pair<std::int32_t, std::string>{20000 - 30, "three "}));
    EXPECT_EQ(rows[12], (std::pair<std::int32_t, std::string>{20000 - 20, "four"}));
}

TEST_F(TEditFixture, FreshLyricsGetHeaderTicksAndTheArtistBeforeTheFirstSyllable) {
    // A song opened without lyrics: nothing to carry over.
    ASSERT_TRUE(Finish({"Song", "Artist", "la di"}));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_EQ(rows.size(), 6u);
    const std::int32_t first = 20000 - 10 * (6 - 4 + 1);
    EXPECT_EQ(rows, (Rows{{108, "Song"},
                          {112, "\r"},
                          {first - 8, "Artist"},
                          {first - 4, "\r"},
                          {first, "la "},
                          {first + 10, "di"}}));
}

TEST_F(TEditFixture, BlankArtistLineBreakGoesJustBeforeTheLyric) {
    lvtest::SetSyllables(song, {{108, "S"}, {112, "\r"}, {116, "\r"}, {960, "la"}});
    ASSERT_TRUE(Finish({"S", "", "la"}));
    EXPECT_EQ(lvtest::SyllableRows(song),
              (Rows{{108, "S"}, {112, "\r"}, {956, "\r"}, {960, "la"}}));
}

TEST_F(TEditFixture, ShortSongWithLongLyricStaysInTickOrder) {
    lvtest::SetSongEnd(song, 50);
    Texts lines = {"S", "A"};
    for (int i = 0; i < 30; ++i)
        lines.push_back("la-la di");
    ASSERT_TRUE(Finish(lines));
    const Rows rows = lvtest::SyllableRows(song);
    ASSERT_FALSE(rows.empty());
    for (std::size_t q = 1; q < rows.size(); ++q)
        EXPECT_LT(rows[q - 1].first, rows[q].first);
    EXPECT_EQ(rows.front().first, 108);
}

// --- the rules question and what keeps editing --------------------------------------

TEST_F(TEditFixture, RulesQuestionNoKeepsEverything) {
    UseTimedTable();
    const Rows before = lvtest::SyllableRows(song);
    song.RulesQuestionPending = true;
    song.EditMode = true;
    dialogs.Answers = {false};
    EXPECT_FALSE(Finish({"X", "Y", "new text"}));
    EXPECT_EQ(lvtest::SyllableRows(song), before);
    EXPECT_TRUE(song.RulesQuestionPending);
    EXPECT_TRUE(song.EditMode);
    EXPECT_EQ(editor.Lines, (Texts{"X", "Y", "new text"}));
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_TRUE(dialogs.Log[0].IsQuestion);
    EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox");
    EXPECT_EQ(dialogs.Log[0].Text.substr(0, 14), "Three rules:\r\r");

    dialogs.Answers = {true};
    EXPECT_TRUE(Finish({"X", "Y", "new text"}));
    EXPECT_FALSE(song.RulesQuestionPending);
    EXPECT_FALSE(song.EditMode);
    // Asked once only: the next finish goes through without a question.
    lv::StartEditing(song, editor);
    EXPECT_TRUE(lv::FinishEditing(song, editor));
    EXPECT_EQ(dialogs.Log.size(), 2u);
}

TEST_F(TEditFixture, RulesQuestionInGerman) {
    song.Language = "Deutsch";
    song.RulesQuestionPending = true;
    dialogs.Answers = {false};
    Finish({"X", "Y", "z"});
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_NE(dialogs.Log[0].Text.find(" - Zweite Zeile = Interpret.\r"), std::string::npos);
}

TEST_F(TEditFixture, TwoLinesOrFewerKeepEditing) {
    UseTimedTable();
    song.EditMode = true;
    EXPECT_FALSE(Finish({"Song", "Artist"}));
    EXPECT_TRUE(song.EditMode);
    EXPECT_EQ(song.SyllableCount, 10);
}

TEST_F(TEditFixture, TextOfBlankLinesEmptiesTheTableAndTheLyricEvents) {
    UseTimedTable();
    lv::StartEditing(song, editor);
    ASSERT_TRUE(lv::FinishEditing(song, editor));
    ASSERT_FALSE(lvtest::MetaRows(song, song.LyricsTrackIndex(), 5).empty());
    EXPECT_TRUE(Finish({" ", "", "   "}));
    EXPECT_EQ(song.SyllableCount, 0);
    EXPECT_TRUE(lvtest::MetaRows(song, song.LyricsTrackIndex(), 5).empty());
    EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
}

TEST_F(TEditFixture, TabsAndApostrophesAreNormalisedInTheEditor) {
    ASSERT_TRUE(Finish({"S", "A", "it\x92s\tla"}));
    EXPECT_EQ(song.Syllables[4].Text, "it's ");
    EXPECT_EQ(song.Syllables[5].Text, "la");
}

// --- menu states ---------------------------------------------------------------------

TEST(TextMenu, EditingEnablesOnlyFinishHyphenateAndLoad) {
    for (const auto& [name, on] : lv::TextMenuEnabled(lv::TTextMenuState::Editing, true)) {
        const bool finish =
            name.find("TextEdit") != std::string::npos && name.find("MTC") == std::string::npos;
        const bool expected =
            finish || name.find("Hyphenate") != std::string::npos || name == "MainMenu_TextLaden";
        EXPECT_EQ(on, expected) << name;
    }
}

TEST(TextMenu, UndoHideNoteFollowsTheHiddenNoteInTheNormalState) {
    for (bool possible : {false, true})
        for (const auto& [name, on] : lv::TextMenuEnabled(lv::TTextMenuState::Normal, possible)) {
            if (name.find("UndoHideNote") != std::string::npos)
                EXPECT_EQ(on, possible) << name;
            else
                EXPECT_EQ(on, name.find("Hyphenate") == std::string::npos) << name;
        }
}

TEST(TextMenu, CaptionsByStateAndLanguage) {
    const auto editing = lv::TextMenuCaptions(lv::TTextMenuState::Editing, "Deutsch");
    EXPECT_EQ(editing[0],
              (std::pair<std::string, std::string>{"MainMenu_TextEdit", "Bearbeiten beenden"}));
    const auto mtc = lv::TextMenuCaptions(lv::TTextMenuState::MtcEditing, "English");
    EXPECT_EQ(mtc[3], (std::pair<std::string, std::string>{"PopupMenu_TextEditMTC",
                                                           "Finish editing with MTC"}));
    EXPECT_EQ(mtc[0].second, "Edit");
}

} // namespace
