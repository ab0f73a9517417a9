#include <gtest/gtest.h>

#include "TimingFixture.h"
#include "lyrics/Linking.h"
#include "model/TimeMap.h"

using namespace lvtest;

namespace {

lv::TSong MakeLinkSong(const std::vector<std::string>& texts,
                       const std::vector<std::int32_t>& notes) {
    lv::TSong song = MakeSong(); // 480 per quarter, 4/4, end at 7680
    TRows rows;
    for (const auto& t : texts)
        rows.emplace_back(5000, t);
    SetSyllables(song, rows);
    SetMelody(song, notes);
    return song;
}

const std::vector<std::string> kHeader = {"Song", "\r", "Artist", "\r"};

std::vector<std::string> WithHeader(std::vector<std::string> body) {
    std::vector<std::string> all = kHeader;
    all.insert(all.end(), body.begin(), body.end());
    return all;
}

} // namespace

TEST(Linking, SyllablesTakeTheMelodyNotesInTurn) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Body;
        std::vector<std::int32_t> Notes;
        std::vector<std::int32_t> Expected; // body ticks
    };
    const std::vector<TCase> cases = {
        // A note at 0 never takes a syllable; of a chord only the first note does;
        // the last entry, exhausted, lands 8 ticks before the end.
        {"chord", {"a", "b", "c"}, {0, 480, 480, 960}, {480, 960, 7672}},
        {"attached", {"Hal", "-lo ", "du"}, {480, 960, 1440}, {480, 484, 960}},
        {"line breaks", {"a", "\r", "b"}, {480, 960}, {480, 484, 960}},
        {"more notes", {"a"}, {480, 960, 1440}, {480}},
        {"exhausted", {"a", "b", "\r", "c"}, {480}, {480, 7664, 7668, 7672}},
        {"no melody", {"a", "b"}, {}, {7668, 7672}},
        // A bar marker and its line breaks pack just before the next entry.
        {"bar marker 3",
         {"a", "_takt", "\r", "\r", "\r", "b"},
         {480, 1920},
         {480, 1904, 1908, 1912, 1916, 1920}},
        {"bar marker 2",
         {"a", "_Takt", "\r", "\r", "b"},
         {480, 1920},
         {480, 1908, 1912, 1916, 1920}},
        {"bar marker 1", {"a", "-_TAKT", "\r", "b"}, {480, 1920}, {480, 1912, 1916, 1920}},
        {"bar marker 0", {"a", "_takt", "b"}, {480, 1920}, {480, 1916, 1920}},
        {"bar marker last", {"a", "_takt"}, {480}, {480, 7676}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        lv::TSong song = MakeLinkSong(WithHeader(c.Body), c.Notes);
        lv::LinkSyllables(song);
        std::vector<std::int32_t> expected = {108, 112, 120, 124};
        expected.insert(expected.end(), c.Expected.begin(), c.Expected.end());
        EXPECT_EQ(Ticks(song), expected);
        for (std::int32_t i = 0; i < song.SyllableCount; ++i)
            EXPECT_EQ(song.Syllables[i].PosText, lv::TickToPosText(song, song.Syllables[i].Tick));
        EXPECT_EQ(MetaRows(song, song.LyricsTrackIndex(), 5), SyllableRows(song));
    }
}

TEST(Linking, BarMarkerWithFourLineBreaksKeepsItsTick) {
    lv::TSong song =
        MakeLinkSong(WithHeader({"a", "_takt", "\r", "\r", "\r", "\r", "b"}), {480, 1920});
    song.Syllables[5].Tick = 1000;
    lv::LinkSyllables(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 120, 124, 480, 1000, 1004, 1008,
                                                      1012, 1016, 1920}));
}

TEST(Linking, BlankLinesAfterTheArtistStayInTheHeader) {
    lv::TSong song = MakeLinkSong({"Song", "\r", "Artist", "\r", "\r", "a"}, {480});
    lv::LinkSyllables(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 120, 124, 132, 480}));
}

TEST(Linking, HiddenNotesAreSkippedAndComeBack) {
    lv::TSong song = MakeLinkSong(WithHeader({"a", "b", "c"}), {480, 960, 1440, 1920});
    std::next(song.MelodyNotes.begin(), 2)->Flag = 1; // the note at 960
    lv::LinkSyllables(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 120, 124, 480, 1440, 1920}));
    std::next(song.MelodyNotes.begin(), 2)->Flag = 0;
    lv::LinkSyllables(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 120, 124, 480, 960, 1440}));
    // Linking never touches texts or saved ticks.
    EXPECT_EQ(song.Syllables[4].Text, "a");
    EXPECT_EQ(song.Syllables[4].SavedTick, 5000);
}

TEST(Linking, ZeroVelocityAndOtherStatusNodesDoNotQualify) {
    lv::TSong song = MakeLinkSong(WithHeader({"a", "b"}), {480, 960, 1440});
    auto it = std::next(song.MelodyNotes.begin());
    it->Data2 = 0;                // velocity 0 at 480
    std::next(it)->Status = 0xB0; // a controller at 960
    lv::LinkSyllables(song);
    EXPECT_EQ(Ticks(song), (std::vector<std::int32_t>{108, 112, 120, 124, 1440, 7672}));
}

TEST(Linking, ShortTablesDoNotFault) {
    const std::vector<std::vector<std::string>> tables = {
        {},
        {"Song"},
        {"\r"},
        {"\r", "\r"},
        {"Song", "\r", "Artist"},
        {"\r", "\r", "\r", "\r"},
        {"_takt"},
        {"Song", "_takt"},
        {"-a", "-b"},
    };
    for (const auto& t : tables) {
        lv::TSong song = MakeLinkSong(t, {480, 960});
        lv::LinkSyllables(song);
        EXPECT_EQ(song.SyllableCount, static_cast<std::int32_t>(t.size()));
        EXPECT_TRUE(InTickOrder(SyllableRows(song))) << t.size();
        EXPECT_EQ(CheckTrackInvariants(song), "");
    }
}

// The lyric events are written in table order; a table out of tick order
// would give a track whose events run backwards.
TEST(Linking, TheTableStaysInTickOrder) {
    struct TCase {
        const char* Name;
        std::vector<std::string> Body;
        std::vector<std::int32_t> Notes;
    };
    const std::vector<TCase> cases = {
        {"surplus syllables behind a late note", {"a", "b", "c", "d"}, {7670}},
        {"bar marker packed before its predecessor",
         {"a", "b", "_takt", "\r", "\r", "\r", "c"},
         {480, 1910, 1920}},
        {"notes inside the header", {"a", "b"}, {10, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        lv::TSong song = MakeLinkSong(WithHeader(c.Body), c.Notes);
        lv::LinkSyllables(song);
        EXPECT_TRUE(InTickOrder(SyllableRows(song)));
        EXPECT_TRUE(InTickOrder(MetaRows(song, song.LyricsTrackIndex(), 5)));
        EXPECT_EQ(CheckTrackInvariants(song), "");
    }
}

TEST(Linking, ClassifiesByText) {
    EXPECT_EQ(lv::ClassifySyllable("x_TaKt"), lv::TSyllableClass::BarMarker);
    EXPECT_EQ(lv::ClassifySyllable("-_takt"), lv::TSyllableClass::BarMarker);
    EXPECT_EQ(lv::ClassifySyllable("\r"), lv::TSyllableClass::LineBreak);
    EXPECT_EQ(lv::ClassifySyllable("\r\n"), lv::TSyllableClass::Sung);
    EXPECT_EQ(lv::ClassifySyllable("-la"), lv::TSyllableClass::Attached);
    EXPECT_EQ(lv::ClassifySyllable("la-"), lv::TSyllableClass::Sung);
}
