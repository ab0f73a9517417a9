// Byte-exact output of the three writers for small crafted songs.
#include <gtest/gtest.h>

#include <filesystem>

#include "FakeDialogs.h"
#include "WriterTestSupport.h"
#include "model/Errors.h"
#include "writer/Writer.h"

using namespace lvtest;
using lv::MakeMetaEvent;
using lv::MakeShortEvent;

namespace {

std::string Port() {
    return std::string(1, '\0');
}

// Three file tracks that meet at equal ticks, a lyric with an underscore, an
// empty text, a second copyright, and an event after the song's end.
lv::TSong MergeSong() {
    TSongSetup setup;
    setup.TrackCount = 3;
    setup.SongEndTick = 960;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    AddEvent(s, 0, MakeMetaEvent(3, "Conductor", 0));
    AddEvent(s, 0, MakeMetaEvent(2, "(c) A", 0));
    AddEvent(s, 0, MakeMetaEvent(0x51, std::string("\x07\xA1\x20", 3), 0));
    AddEvent(s, 0, MakeShortEvent(0x90, 60, 100, 480));
    AddEvent(s, 0, MakeMetaEvent(1, "", 480));
    AddEvent(s, 1, MakeMetaEvent(3, "Piano", 0));
    AddEvent(s, 1, MakeMetaEvent(2, "(c) B", 0));
    AddEvent(s, 1, MakeShortEvent(0x91, 62, 90, 480));
    AddEvent(s, 1, MakeShortEvent(0x81, 62, 64, 960));
    AddEvent(s, 1, MakeShortEvent(0x91, 70, 90, 1000)); // after the song's end
    s.Tracks[1].Events.back().Tick = 960;               // AddEvent keeps it before the end
    AddEvent(s, 2, MakeShortEvent(0x90, 64, 80, 480));
    AddEvent(s, 2, MakeShortEvent(0x80, 64, 64, 960));
    AddEvent(s, 2, MakeShortEvent(0x80, 60, 64, 960));
    AddLyric(s, 480, "Hel_lo");
    s.SyllableCount = 1;
    return s;
}

} // namespace

TEST(WriterFormat0, MergesTracksInTickOrderWithLowerTracksFirst) {
    lv::TSong s = MergeSong();
    TSmfBuilder want(0, 480);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Name(0, "Song")
        .Meta(0, 2, "(c) A")
        .Tempo(0, 500000)
        .NoteOn(480, 0, 60, 100)
        .NoteOn(0, 1, 62, 90)
        .NoteOn(0, 0, 64, 80)
        .Lyric(0, "Hel lo")
        .NoteOff(480, 1, 62, 64)
        .NoteOff(0, 0, 64, 64)
        .Raw(0, {60, 64}) // running status
        .EndOfTrack();
    const lv::AByte got = lv::BuildFormat0Image(s, "/some/folder/song.mid");
    EXPECT_EQ(Hex(got), Hex(want.Build()));
}

TEST(WriterFormat0, TrackNameFollowsTheTargetFileName) {
    lv::TSong s = MergeSong();
    struct Case {
        const char* Path;
        const char* Name;
    } cases[] = {
        {"/a/song.mid", "Song"},
        {"/a/Other Song.MID", "Other Song"},
        {"x.y.mid", "X.y"},
        {"/a/9lives.mid", "9lives"},
        {"/a/noext", "Noext"},
        {"/a/\xFC"
         "ber.mid",
         "\xFC"
         "ber"},
    };
    for (const auto& c : cases) {
        const lv::AByte img = lv::BuildFormat0Image(s, c.Path);
        // The name follows the port event: 00 FF 21 01 00 | 00 FF 03 len name
        const std::size_t at = 22 + 5;
        ASSERT_GT(img.size(), at + 4) << c.Path;
        EXPECT_EQ(img[at + 2], 0x03) << c.Path;
        const std::string name(img.begin() + at + 4, img.begin() + at + 4 + img[at + 3]);
        EXPECT_EQ(name, c.Name) << c.Path;
    }
}

TEST(WriterFormat1, FormatOneSongIsWrittenAsItStands) {
    lv::TSong s = MergeSong();
    TSmfBuilder want(1, 480);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Name(0, "Conductor")
        .Meta(0, 2, "(c) A")
        .Tempo(0, 500000)
        .NoteOn(480, 0, 60, 100)
        // the empty text event is left out
        .EndOfTrack(480);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Name(0, "Piano")
        .Meta(0, 2, "(c) B")
        .NoteOn(480, 1, 62, 90)
        .NoteOff(480, 1, 62, 64)
        .NoteOn(40, 1, 70, 90)
        .EndOfTrack(0); // before the event it follows in the list: delta 0
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .NoteOn(480, 0, 64, 80)
        .NoteOff(480, 0, 64, 64)
        .Raw(0, {60, 64})
        .EndOfTrack();
    want.AddTrack().Meta(0, 0x21, Port()).Name(0, "Lyrics").Lyric(480, "Hel lo").EndOfTrack(480);
    // the prompter track holds nothing and is left out
    EXPECT_EQ(Hex(lv::BuildFormat1Image(s)), Hex(want.Build()));
}

TEST(WriterFormat1, OtherSongsAreSplitByChannel) {
    TSongSetup setup;
    setup.Format = 0;
    setup.TrackCount = 1;
    setup.SongEndTick = 960;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    AddEvent(s, 0, MakeMetaEvent(3, "Whole song", 0));
    AddEvent(s, 0, MakeMetaEvent(0x51, std::string("\x07\xA1\x20", 3), 0));
    AddEvent(s, 0, MakeShortEvent(0xC0, 0, 0, 0));
    AddEvent(s, 0, MakeShortEvent(0xC9, 25, 0, 0));
    AddEvent(s, 0, MakeSysex("", 0));
    AddEvent(s, 0, MakeMetaEvent(4, "MO4P_ch.3 Bass", 0));
    AddEvent(s, 0, MakeMetaEvent(4, "MO4P_ch.17 Lead", 0));
    AddEvent(s, 0, MakeMetaEvent(4, "MO4P_ch.3", 0));
    AddEvent(s, 0, MakeMetaEvent(4, "MO7_ch.5 Pad", 0));
    AddEvent(s, 0, MakeMetaEvent(4, "Plain name", 0));
    AddEvent(s, 0, MakeMetaEvent(1, "hi", 0));
    AddEvent(s, 0, MakeShortEvent(0x90, 60, 100, 480));
    AddEvent(s, 0, MakeShortEvent(0x90, 62, 100, 480));
    AddEvent(s, 0, MakeShortEvent(0x80, 60, 64, 960));
    AddEvent(s, 0, MakeShortEvent(0xC1, 33, 0, 960)); // channel 2: named after the first program

    TSmfBuilder want(1, 480);
    want.AddTrack().Meta(0, 0x21, Port()).Tempo(0, 500000).EndOfTrack(960);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Name(0, "Piano 1")
        .Program(0, 0, 0)
        .Text(0, "hi")
        .NoteOn(480, 0, 60, 100)
        .Raw(0, {62, 100}) // running status
        .NoteOff(480, 0, 60, 64)
        .EndOfTrack();
    want.AddTrack().Meta(0, 0x21, Port()).Name(0, "Fingered Bs.").Program(960, 1, 33).EndOfTrack();
    want.AddTrack().Meta(0, 0x21, Port()).Meta(0, 4, "MO4P_ch.3 Bass").EndOfTrack(960);
    want.AddTrack().Meta(0, 0x21, Port()).Meta(0, 4, "MO7_ch.5 Pad").EndOfTrack(960);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Name(0, "TR-808")
        .Program(0, 9, 25)
        .Raw(0, {0xF0, 0}) // an empty sysex still goes out in this format
        .EndOfTrack(960);
    EXPECT_EQ(Hex(lv::BuildFormat1Image(s)), Hex(want.Build()));
}

TEST(WriterFormat1, SplitSongCarriesLyricsOnlyWhenItHasSyllables) {
    TSongSetup setup;
    setup.Format = 0;
    setup.SongEndTick = 960;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    AddEvent(s, 0, MakeShortEvent(0x90, 60, 100, 0));
    AddLyric(s, 480, "la");
    AddEvent(s, s.PrompterTrackIndexOfModel(), MakeShortEvent(0xBF, 98, 24, 4));

    for (const bool withSyllables : {false, true}) {
        for (const bool sufflor : {false, true}) {
            s.SyllableCount = withSyllables ? 1 : 0;
            s.Config.SufflorEnabled = sufflor;
            const lv::AByte img = lv::BuildFormat1Image(s);
            const int chunks = img[11];
            // conductor and channel 1, then lyrics, then the prompter track
            const int expected = 2 + (withSyllables ? 1 : 0) + (withSyllables && sufflor ? 1 : 0);
            EXPECT_EQ(chunks, expected) << withSyllables << sufflor;
            const lv::AByte f0 = lv::BuildFormat0Image(s, "a.mid");
            const std::string text(f0.begin(), f0.end());
            // format 0 merges the lyrics track whenever it has events
            EXPECT_NE(text.find("la"), std::string::npos);
        }
    }
}

TEST(WriterFormat1, MoreThan255TracksFailBeforeAnythingIsStored) {
    TSongSetup setup;
    setup.TrackCount = 300;
    setup.SongEndTick = 10;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    const std::string dir = MakeTempDir("lv-writer");
    const std::string target = dir + "/many.mid";
    EXPECT_THROW(lv::WriteFormat1File(s, target), lv::EMidiError);
    EXPECT_FALSE(std::filesystem::exists(target));
    // format 0 has one chunk whatever the track count
    EXPECT_TRUE(lv::WriteFormat0File(s, target));
}

TEST(WriterEncoding, EventsThatCannotBeCodedFailTheRun) {
    struct Case {
        const char* Name;
        lv::TMidiEvent Event;
    };
    lv::TMidiEvent badKind = MakeShortEvent(0x90, 60, 1, 10);
    badKind.Kind = 3;
    lv::TMidiEvent badStatus = MakeMetaEvent(1, "x", 10);
    badStatus.Status = 0xF3;
    lv::TMidiEvent badMeta = MakeMetaEvent(300, "x", 10);
    lv::TMidiEvent badData = MakeShortEvent(0x90, 200, 1, 10);
    const Case cases[] = {
        {"kind", badKind}, {"status", badStatus}, {"meta type", badMeta}, {"data byte", badData}};
    for (const auto& c : cases) {
        lv::TSong s = MergeSong();
        s.Language = "Deutsch";
        AddEvent(s, 0, c.Event);
        try {
            lv::BuildFormat0Image(s, "x.mid");
            ADD_FAILURE() << c.Name;
        } catch (const lv::EMidiError& e) {
            EXPECT_STREQ(e.what(), "Fehler bei der kodierung der MidiDatei!") << c.Name;
        }
        EXPECT_THROW(lv::BuildFormat1Image(s), lv::EMidiError) << c.Name;
    }
}

TEST(WriterEncoding, DeltaTimesAndLengthsAreVariableLengthQuantities) {
    TSongSetup setup;
    setup.Format = 1;
    setup.SongEndTick = 0x200000;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    AddEvent(s, 0, MakeShortEvent(0x90, 1, 2, 127));
    AddEvent(s, 0, MakeShortEvent(0x90, 1, 0, 127 + 128));
    AddEvent(s, 0, MakeMetaEvent(1, std::string(200, 'a'), 127 + 128 + 0x3FFF));
    lv::TMidiEvent early = MakeShortEvent(0x90, 3, 4, 5); // earlier than its predecessor
    s.Tracks[0].Events.insert(std::prev(s.Tracks[0].Events.end()), early);
    const lv::AByte img = lv::BuildFormat1Image(s);
    TSmfBuilder want(1, 480);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .NoteOn(127, 0, 1, 2)
        .Raw(128, {1, 0})
        .Raw(0x3FFF, {0xFF, 0x01, 0x81, 0x48})
        .Bytes({});
    auto& body = want.Tracks[0].Body;
    body.insert(body.end(), 200, 'a');
    want.Tracks[0].Raw(0, {0x90, 3, 4});               // negative delta written as 0
    want.Tracks[0].Raw(0x200000 - 5, {0xFF, 0x2F, 0}); // measured from the early event
    EXPECT_EQ(Hex(img), Hex(want.Build()));
}

TEST(ToneNames, ProgramTablesAtTheirEnds) {
    EXPECT_STREQ(lv::ToneName(0), "Piano 1");
    EXPECT_STREQ(lv::ToneName(33), "Fingered Bs.");
    EXPECT_STREQ(lv::ToneName(127), "Gun Shot");
    EXPECT_STREQ(lv::DrumSetName(25), "TR-808");
    EXPECT_STREQ(lv::DrumSetName(127), "CM-64/32L");
    EXPECT_STREQ(lv::DrumSetName(0), "Standard");
    EXPECT_STREQ(lv::DrumSetName(1), "Standard");
}

TEST(WriterFormat1, SplitKeepsTheTimesOfLaterTracksOnTheSameChannel) {
    // A format-2 song (read like format 1, written split) with channel 1 in
    // both tracks: the second track's events go in tick order among the first's.
    TSongSetup setup;
    setup.Format = 2;
    setup.TrackCount = 2;
    setup.SongEndTick = 400;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    AddEvent(s, 0, MakeMetaEvent(1, "one", 0));
    AddEvent(s, 0, MakeShortEvent(0x90, 60, 100, 100));
    AddEvent(s, 0, MakeShortEvent(0x80, 60, 64, 300));
    AddEvent(s, 1, MakeMetaEvent(1, "two", 0));
    AddEvent(s, 1, MakeShortEvent(0x90, 62, 100, 200));
    AddEvent(s, 1, MakeShortEvent(0x80, 62, 64, 400));
    TSmfBuilder want(1, 480);
    want.AddTrack().Meta(0, 0x21, Port()).EndOfTrack(400);
    want.AddTrack()
        .Meta(0, 0x21, Port())
        .Text(0, "one")
        .Text(0, "two")
        .NoteOn(100, 0, 60, 100)
        .Raw(100, {62, 100})
        .NoteOff(100, 0, 60, 64)
        .Raw(100, {62, 64})
        .EndOfTrack();
    EXPECT_EQ(Hex(lv::BuildFormat1Image(s)), Hex(want.Build()));
}
