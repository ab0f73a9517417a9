// The MIDI reader on small fixtures: structure, storing rules, maps, prompter
// signature, bank selects and melody notes.
#include <gtest/gtest.h>

#include "FakeDialogs.h"
#include "ReaderTestUtil.h"
#include "model/Errors.h"

using namespace lvtest;
using lv::TSong;

namespace {

// Format 1: tempo and time signature in track 0, notes and lyrics in track 1.
AByte TwoTrackSong() {
    TSmfBuilder smf(1, 480);
    smf.AddTrack().Tempo(0, 500000).TimeSig(0, 3, 2).EndOfTrack(0);
    smf.AddTrack()
        .Name(0, "Melody")
        .Lyric(0, "Hel")
        .NoteOn(0, 0, 60, 100)
        .Lyric(480, "lo ")
        .NoteOff(0, 0, 60)
        .Lyric(0, "")
        .NoteOn(0, 0, 62, 90)
        .NoteOff(480, 0, 62)
        .EndOfTrack(0);
    return smf.Build();
}

} // namespace

TEST(Reader, LyricsFromAnyTrackGatherInTheLyricsTrack) {
    TSong song;
    ReadImage(song, TwoTrackSong());
    EXPECT_EQ(song.SourceFormat, 1);
    EXPECT_EQ(song.TrackCount, 2);
    EXPECT_EQ(song.Division, 480);
    EXPECT_EQ(song.SongEndTick, 960);
    ASSERT_EQ(song.Tracks.size(), 4u);

    // Non-empty lyrics only; the empty one is dropped outside line mode.
    EXPECT_EQ(LyricTexts(song), (std::vector<std::string>{"Hel", "lo "}));
    EXPECT_EQ(song.SyllableCount, 2);

    auto lyrics = EventsOf(song.LyricsTrack());
    ASSERT_EQ(lyrics.size(), 5u);
    EXPECT_TRUE(lyrics[0].IsMeta(33));
    EXPECT_EQ(lyrics[0].Data, std::string(1, '\0'));
    EXPECT_TRUE(lyrics[1].IsMeta(3));
    EXPECT_EQ(lyrics[1].Data, "Lyrics");
    EXPECT_EQ(lyrics[3].Tick, 480);
    EXPECT_TRUE(lyrics[4].IsMeta(47));
    EXPECT_EQ(lyrics[4].Tick, 960);
    EXPECT_EQ(song.LyricsTrack().EventCount, 4); // head, two lyrics, end; not the name

    auto prompter = EventsOf(song.PrompterTrack());
    ASSERT_EQ(prompter.size(), 3u);
    EXPECT_EQ(prompter[1].Data, "Suffloer");
    EXPECT_EQ(song.PrompterTrack().EventCount, 2);

    // Track 1 keeps its name (uncounted) and notes, not the lyrics.
    auto t1 = EventsOf(song.Tracks[1]);
    ASSERT_EQ(t1.size(), 7u);
    EXPECT_TRUE(t1[1].IsMeta(3));
    EXPECT_EQ(song.Tracks[1].EventCount, 6);
    EXPECT_EQ(
        ShortsOf(song.Tracks[1]),
        (std::vector<TShort>{
            {0, 0x90, 60, 100}, {480, 0x80, 60, 64}, {480, 0x90, 62, 90}, {960, 0x80, 62, 64}}));
    // Track 0: head, tempo, time signature, end; all counted.
    EXPECT_EQ(song.Tracks[0].EventCount, 4);
    for (auto& t : song.Tracks)
        EXPECT_EQ(t.Events.back().Tick, 960);
}

TEST(Reader, TempoAndTimeSignatureMapsGetSpareEntries) {
    TSong song;
    TSmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 960000).TimeSig(0, 6, 3, 36, 8).Tempo(96, 0).EndOfTrack(0);
    smf.AddTrack().NoteOn(0, 0, 60, 1).NoteOff(192, 0, 60).EndOfTrack(0);
    ReadImage(song, smf.Build());
    ASSERT_EQ(song.TempoCount, 3);
    ASSERT_EQ(song.Tempos.size(), 3u);
    EXPECT_EQ(song.Tempos[0].Tempo, 960000);
    EXPECT_EQ(song.Tempos[0].BPM, 62); // 62.5 rounds to even
    EXPECT_EQ(song.Tempos[0].OrigTempo, 960000);
    EXPECT_EQ(song.Tempos[0].FileTempo, 960000);
    EXPECT_EQ(song.Tempos[1].Tick, 96);
    EXPECT_EQ(song.Tempos[1].Tempo, 500000); // a tempo of 0 reads as 120 BPM
    EXPECT_EQ(song.Tempos[1].BPM, 120);
    EXPECT_EQ(song.Tempos[2].Tick, -1); // spare entry for the sentinel

    ASSERT_EQ(song.TimeSignCount, 2);
    EXPECT_EQ(song.TimeSigns[0].Numerator, 6);
    EXPECT_EQ(song.TimeSigns[0].Denominator, 8);
    EXPECT_EQ(song.TimeSigns[0].ClocksPerClick, 36);
    EXPECT_EQ(song.TimeSigns[0].ThirtySecondsPerQuarter, 8);
    EXPECT_EQ(song.TimeSigns[0].Tick, 0);
    EXPECT_EQ(song.TimeSigns[1].Tick, -1);
}

TEST(Reader, SongWithoutMapsGetsTwoUnfilledEntries) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(10, 0, 60, 1).EndOfTrack(0);
    ReadImage(song, smf.Build());
    ASSERT_EQ(song.Tempos.size(), 2u);
    EXPECT_EQ(song.Tempos[0].Tick, -1);
    ASSERT_EQ(song.TimeSigns.size(), 2u);
    EXPECT_EQ(song.TimeSigns[0].Tick, -1);
}

TEST(Reader, MapEventsWithShortOrOddPayloadKeepTheParseInStep) {
    // A tempo event of four bytes and a time signature whose denominator
    // exponent does not fit: both stay in the track, the events after them are
    // read from the right place, and only fitting values make map entries.
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Raw(0, {0xFF, 0x51, 4, 0x07, 0xA1, 0x20, 0x00})
        .Raw(0, {0xFF, 0x58, 4, 4, 9, 24, 8})
        .Raw(0, {0xFF, 0x51, 1, 0x07})
        .NoteOn(10, 0, 60, 100)
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]), (std::vector<TShort>{{10, 0x90, 60, 100}}));
    EXPECT_EQ(song.Tempos[0].Tempo, 500000);
    EXPECT_EQ(song.Tempos[0].Tick, 0);
    EXPECT_EQ(song.Tempos[1].Tick, -1);
    EXPECT_EQ(song.TimeSigns[0].Tick, -1);
    auto t = EventsOf(song.Tracks[0]);
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[1].Data.size(), 4u);
    EXPECT_EQ(t[3].Length, 1);
}

TEST(Reader, StoringRulesForChannelMessages) {
    struct Case {
        const char* name;
        std::initializer_list<int> bytes;
        TShort expected;
    };
    const Case cases[] = {
        {"note-on without velocity becomes note-off 17", {0x93, 60, 0}, {0, 0x83, 60, 17}},
        {"controller value 200 becomes 127", {0xB1, 7, 200}, {0, 0xB1, 7, 127}},
        {"note-off velocity 200 becomes 64", {0x82, 60, 200}, {0, 0x82, 60, 64}},
        {"note-on velocity 200 becomes 127", {0x90, 60, 200}, {0, 0x90, 60, 127}},
        {"program change has no second byte", {0xC4, 5}, {0, 0xC4, 5, 0}},
        {"pitch bend keeps both bytes", {0xE0, 1, 64}, {0, 0xE0, 1, 64}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSong song;
        TSmfBuilder smf(0, 96);
        smf.AddTrack().Raw(0, c.bytes).EndOfTrack(0);
        ReadImage(song, smf.Build());
        auto shorts = ShortsOf(song.Tracks[0]);
        ASSERT_EQ(shorts.size(), 1u);
        EXPECT_EQ(shorts[0], c.expected);
        const auto& e = *std::next(song.Tracks[0].Events.begin());
        EXPECT_EQ(e.OrigData2, c.expected.Data2);
        EXPECT_EQ(e.Length, (c.expected.Status & 0xF0) == 0xC0 ? 2 : 3);
    }
}

TEST(Reader, RunningStatusNoteOnWithoutVelocityIsNoteOff) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(0, 2, 64, 80).Raw(96, {64, 0}).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]),
              (std::vector<TShort>{{0, 0x92, 64, 80}, {96, 0x82, 64, 17}}));
}

TEST(Reader, RunningStatusAcrossOtherEventsDependsOnPrevCommandMode) {
    struct Case {
        const char* name;
        AByte between;
    };
    const Case cases[] = {
        {"sysex", {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
        {"meta", {0xFF, 0x01, 0x01, 'x'}},
        {"real-time byte", {0xF8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSmfBuilder smf(0, 96);
        smf.AddTrack().NoteOn(0, 0, 60, 100).Raw(0, c.between).Raw(10, {62, 100}).EndOfTrack(0);
        const AByte image = smf.Build();
        {
            TSong song;
            song.Config.PrevCommandMode = true;
            ReadImage(song, image);
            EXPECT_EQ(ShortsOf(song.Tracks[0]),
                      (std::vector<TShort>{{0, 0x90, 60, 100}, {10, 0x90, 62, 100}}));
        }
        for (const char* lang : {"Deutsch", "English"}) {
            TSong song;
            song.Language = lang;
            song.Config.PrevCommandMode = false;
            try {
                ReadImage(song, image);
                ADD_FAILURE() << "no error";
            } catch (const lv::EMidiError& e) {
                EXPECT_STREQ(e.what(), std::string(lang) == "Deutsch" ? "Fehler in der MidiDatei!"
                                                                      : "Error in midifile!");
            }
        }
    }
}

TEST(Reader, SysexIsKeptWithItsBytesAfterTheLength) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .Sysex(0, {}, 0xF0) // empty: dropped
        .Sysex(5, {0x43, 0x10}, 0xF7)
        .Raw(300, {0xF8}) // a real-time byte is not kept but counts for the song length
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    auto t = EventsOf(song.Tracks[0]);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].Status, 0xF0);
    EXPECT_EQ(t[1].Kind, 2);
    EXPECT_EQ(t[1].MetaType, -1);
    EXPECT_EQ(t[1].Length, 5);
    EXPECT_EQ(t[1].Data, std::string("\x7E\x7F\x09\x01\xF7", 5));
    EXPECT_EQ(t[2].Status, 0xF7);
    EXPECT_EQ(t[2].Tick, 5);
    EXPECT_EQ(song.Tracks[0].EventCount, 4);
    EXPECT_EQ(song.SongEndTick, 305);
}

// Each malformed file gets its own clear error.
TEST(Reader, StructuralErrorsAreReported) {
    enum Kind { Midi, Range };
    struct Case {
        const char* name;
        AByte image;
        Kind kind;
        const char* english; // nullptr: only the kind is checked
    };
    auto withTrack = [](std::initializer_list<int> body, int format = 0) {
        TSmfBuilder smf(format, 96);
        smf.AddTrack().Bytes(body);
        return smf.Build();
    };
    AByte badMagic = withTrack({0, 0xFF, 0x2F, 0});
    badMagic[3] = 'x';
    AByte badHeaderLength = withTrack({0, 0xFF, 0x2F, 0});
    badHeaderLength[7] = 7;
    AByte badTrackMagic = withTrack({0, 0xFF, 0x2F, 0});
    badTrackMagic[14] = 'X';
    AByte truncated = withTrack({0, 0x90, 60, 100, 0, 0xFF, 0x2F, 0});
    truncated.resize(truncated.size() - 2);
    AByte format256 = withTrack({0, 0xFF, 0x2F, 0});
    format256[8] = 1;
    AByte missingTrack = withTrack({0, 0xFF, 0x2F, 0});
    missingTrack[11] = 2;

    const Case cases[] = {
        {"header magic", badMagic, Midi, "Error in MidiDateiHeader - 1!"},
        {"header length", badHeaderLength, Midi, "Error in MidiDateiHeader - 2!"},
        {"track magic (German only)", badTrackMagic, Midi, "Fehler im TrackHeader - 1!"},
        {"end of track with data", withTrack({0, 0xFF, 0x2F, 2, 0, 0}), Midi,
         "Error in midi file!"},
        {"system common byte", withTrack({0, 0xF2, 0, 0, 0, 0xFF, 0x2F, 0}), Midi,
         "Error in midi file!"},
        {"byte 0xFD", withTrack({0, 0xFD, 0, 0xFF, 0x2F, 0}), Midi, "Error in midi file!"},
        {"data byte without status", withTrack({0, 60, 100, 0, 0xFF, 0x2F, 0}), Midi,
         "Error in midifile!"},
        {"data byte above 127", withTrack({0, 0x90, 0x90, 100, 0, 0xFF, 0x2F, 0}), Midi,
         "Error in Midifile at position: 26\rValue1 = 144\rshouldn't be greater than 127!"},
        {"truncated file", truncated, Range, nullptr},
        {"format above 255", format256, Range, nullptr},
        {"fewer tracks than declared", missingTrack, Range, nullptr},
        {"meta length past the end", withTrack({0, 0xFF, 0x01, 0x7F, 'a'}), Range, nullptr},
        {"sysex length past the end", withTrack({0, 0xF0, 0x81, 0x00, 1}), Range, nullptr},
        {"delta time beyond 32 bits", withTrack({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1}), Range,
         nullptr},
        {"ticks adding up past 32 bits",
         withTrack({0x87, 0xFF, 0xFF, 0xFF, 0x7F, 0xF8, 0x01, 0xF8, 0, 0xFF, 0x2F, 0}), Range,
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSong song;
        try {
            ReadImage(song, c.image);
            ADD_FAILURE() << "no error";
        } catch (const lv::EMidiError& e) {
            EXPECT_EQ(c.kind, Midi);
            if (c.english) EXPECT_EQ(std::string(e.what()), c.english);
        } catch (const lv::ERangeError& e) {
            EXPECT_EQ(c.kind, Range);
            EXPECT_NE(std::string(e.what()), "");
        }
    }
}

TEST(Reader, GermanMessagesFollowTheLanguage) {
    TSmfBuilder smf(0, 96);
    smf.AddTrack().Bytes({0, 0xFF, 0x2F, 2, 0, 0});
    TSong song;
    song.Language = "Deutsch";
    EXPECT_THROW(
        {
            try {
                ReadImage(song, smf.Build());
            } catch (const lv::EMidiError& e) {
                EXPECT_STREQ(e.what(), "Fehler in der MidiDatei!");
                throw;
            }
        },
        lv::EMidiError);
}

TEST(Reader, TrackOfOnlyANameHasHeadNameAndEnd) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack().Name(0, "Piano").EndOfTrack(0);
    ReadImage(song, smf.Build());
    auto t = EventsOf(song.Tracks[0]);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_TRUE(t[0].IsMeta(33));
    EXPECT_EQ(t[1].Data, "Piano");
    EXPECT_TRUE(t[2].IsMeta(47));
    EXPECT_EQ(t[2].Length, 0);
    EXPECT_EQ(song.Tracks[0].EventCount, 2);
}

TEST(Reader, SongEndsAtTheLastEventNotAtTheEndOfTrack) {
    // A tempo event after the last note keeps its tick; every list ends at the note-off.
    TSong song;
    TSmfBuilder smf(0, 480);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).Tempo(480, 400000).EndOfTrack(480);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.SongEndTick, 480);
    auto t = EventsOf(song.Tracks[0]);
    ASSERT_EQ(t.size(), 5u);
    EXPECT_TRUE(t[3].IsMeta(0x51));
    EXPECT_EQ(t[3].Tick, 960);
    EXPECT_EQ(t[4].Tick, 480);
}

TEST(Reader, BytesAfterEndOfTrackInsideTheChunkAreSkipped) {
    TSong song;
    TSmfBuilder smf(1, 96);
    smf.AddTrack().NoteOn(0, 0, 60, 100).EndOfTrack(0).Bytes({0x90, 0x33});
    smf.AddTrack().NoteOn(5, 1, 61, 100).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]), (std::vector<TShort>{{0, 0x90, 60, 100}}));
    EXPECT_EQ(ShortsOf(song.Tracks[1]), (std::vector<TShort>{{5, 0x91, 61, 100}}));
}

TEST(Reader, NoTracksLeavesLyricsAndPrompterTracks) {
    TSong song;
    TSmfBuilder smf(1, 96);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.TrackCount, 0);
    ASSERT_EQ(song.Tracks.size(), 2u);
    for (auto& t : song.Tracks) {
        EXPECT_EQ(t.Events.size(), 3u);
        EXPECT_EQ(t.Events.back().Tick, 0);
    }
    EXPECT_EQ(song.MelodyNoteCount, 2);
}

TEST(Reader, LineModeTurnsEmptyLyricsIntoLineBreaks) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Lyric(0, "") // before the switch: dropped
        .Sysex(0, {0x00, 0x20, 0x24, 0x00, 0x01, 0xF7})
        .Lyric(10, "")
        .Lyric(10, "la")
        .Lyric(10, "")
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(LyricTexts(song), (std::vector<std::string>{"\r", "la\r", "\r"}));
    EXPECT_EQ(song.SyllableCount, 1);
    EXPECT_EQ(song.LyricsTrack().EventCount, 5);
}

TEST(Reader, KeptAndDroppedMetaTypes) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Meta(0, 0x21, std::string(1, '\x02'))     // port: dropped
        .Meta(0, 0x20, std::string(1, '\x01'))     // channel prefix: dropped
        .Meta(0, 0x01, "text")                     // kept, not counted
        .Meta(0, 0x01, "")                         // empty: dropped
        .Meta(0, 0x54, std::string(5, '\x00'))     // SMPTE offset: counted
        .Meta(0, 0x59, std::string("\x00\x00", 2)) // key signature: counted
        .Meta(0, 0x7F,
              std::string("\x43\x7B\x01\x00\x00\x00\x00", 7)) // sequencer specific, not counted
        .Meta(0, 0x4B, "x")                                   // unknown: dropped
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    std::vector<int> types;
    for (auto& e : song.Tracks[0].Events)
        types.push_back(e.MetaType);
    EXPECT_EQ(types, (std::vector<int>{33, 1, 0x54, 0x59, 0x7F, 47}));
    EXPECT_EQ(song.Tracks[0].EventCount, 4);
    EXPECT_EQ(song.Tracks[0].Events.front().Data, std::string(1, '\0'));
    EXPECT_EQ(song.XFChordCount, 1);
    EXPECT_EQ(song.XFChordTrack, 0);
}

TEST(Reader, XFChordsCountOnlyInFormat0) {
    TSong song;
    TSmfBuilder smf(1, 96);
    smf.AddTrack().Meta(0, 0x7F, std::string("\x43\x7B\x01\x00\x00\x00\x00", 7)).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.XFChordCount, 0);
    EXPECT_EQ(song.XFChordTrack, -1);
}

TEST(Reader, BassProgramsMarkTheirChannels) {
    TSong song;
    TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Program(0, 1, 33)
        .Program(0, 2, 40)
        .Program(0, 3, 41)
        .Program(0, 4, 32)
        .EndOfTrack(0);
    ReadImage(song, smf.Build());
    std::array<bool, 16> expected{};
    expected[1] = expected[2] = true;
    EXPECT_EQ(song.BassChannels, expected);
}

TEST(Reader, MelodyNotesComeFromTheFirstTrackWithMelodyNotes) {
    TSong song;
    song.Config.MelodyTrack = 3;
    TSmfBuilder smf(1, 96);
    smf.AddTrack().NoteOn(0, 0, 40, 100).NoteOn(0, 3, 41, 0).EndOfTrack(0); // vel 0 only
    smf.AddTrack().NoteOn(10, 3, 60, 90).NoteOff(10, 3, 60).NoteOn(10, 3, 62, 80).EndOfTrack(5);
    smf.AddTrack().NoteOn(200, 3, 70, 90).EndOfTrack(0);
    ReadImage(song, smf.Build());
    auto notes = std::vector<lv::TMidiEvent>(song.MelodyNotes.begin(), song.MelodyNotes.end());
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(song.MelodyNoteCount, 4);
    EXPECT_TRUE(notes[0].IsMeta(33));
    EXPECT_EQ(notes[1].Tick, 10);
    EXPECT_EQ(notes[1].OrigData1, 60);
    EXPECT_EQ(notes[2].Tick, 30);
    EXPECT_EQ(notes[2].Data2, 80);
    EXPECT_TRUE(notes[3].IsMeta(47));
    EXPECT_EQ(notes[3].Tick, 200);
}

TEST(Reader, DrumBankSelectIsDroppedUnlessTheTrackHasAFineOne) {
    TSong song;
    TSmfBuilder smf(1, 96);
    smf.AddTrack().Control(0, 9, 0, 1).Control(0, 9, 0, 2).NoteOn(0, 9, 36, 100).EndOfTrack(0);
    smf.AddTrack().Control(0, 9, 0, 1).Control(0, 9, 32, 2).NoteOn(0, 9, 36, 100).EndOfTrack(0);
    smf.AddTrack().Control(0, 9, 0, 1).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]), (std::vector<TShort>{{0, 0xB9, 0, 2}, {0, 0x99, 36, 100}}));
    EXPECT_EQ(song.Tracks[0].EventCount, 4);
    EXPECT_EQ(ShortsOf(song.Tracks[1]).size(), 3u);
    EXPECT_TRUE(ShortsOf(song.Tracks[2]).empty());
    EXPECT_EQ(song.Tracks[2].EventCount, 2);
}

// ---- prompter signature -----------------------------------------------------

namespace {

// The signature on one controller and channel, starting at the given delta.
TTrackBuilder& Signature(TTrackBuilder& t, int ch, int controller, std::uint32_t firstDelta = 0,
                         std::uint32_t lastDelta = 0) {
    t.Control(firstDelta, ch, controller, 24);
    for (char c : std::string("Quillet MX-40"))
        t.Control(0, ch, controller, c);
    return t.Control(lastDelta, ch, controller, 25);
}

} // namespace

TEST(Reader, PrompterSignatureIsRecognised) {
    struct Case {
        const char* name;
        std::uint32_t firstDelta, lastDelta;
        int expectedTrack;
    };
    const Case cases[] = {
        {"complete within 300 ticks", 0, 299, 1},
        {"end value at tick 300", 0, 300, -1},
        {"start at tick 300", 300, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSong song;
        TSmfBuilder smf(1, 96);
        smf.AddTrack().EndOfTrack(0);
        Signature(smf.AddTrack(), 15, 98, c.firstDelta, c.lastDelta).EndOfTrack(0);
        ReadImage(song, smf.Build());
        EXPECT_EQ(song.PrompterTrackIndex, c.expectedTrack);
        if (c.expectedTrack >= 0) {
            EXPECT_EQ(song.PrompterController, 98);
            EXPECT_EQ(song.PrompterChannel, 15);
        }
    }
}

TEST(Reader, FirstCompleteSignatureOfATrackWins) {
    TSong song;
    TSmfBuilder smf(0, 96);
    auto& t = smf.AddTrack();
    Signature(t, 2, 80);
    Signature(t, 3, 81);
    t.EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.PrompterTrackIndex, 0);
    EXPECT_EQ(song.PrompterController, 80);
    EXPECT_EQ(song.PrompterChannel, 2);
}

TEST(Reader, RestartValueMovesTheSignatureToAnotherController) {
    // A 24 on another controller before the first character restarts there.
    TSong song;
    TSmfBuilder smf(0, 96);
    auto& t = smf.AddTrack();
    t.Control(0, 0, 10, 24);
    Signature(t, 1, 20);
    t.EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.PrompterTrackIndex, 0);
    EXPECT_EQ(song.PrompterController, 20);
    EXPECT_EQ(song.PrompterChannel, 1);
}

namespace {

AByte SongWithOldPrompterData() {
    TSmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 500000).EndOfTrack(0);
    auto& t = smf.AddTrack();
    t.NoteOn(0, 15, 36, 3).NoteOn(3, 15, 36, 0);
    Signature(t, 15, 98);
    t.NoteOn(0, 0, 60, 100).Control(50, 15, 98, 65).Control(0, 15, 7, 100).EndOfTrack(0);
    return smf.Build();
}

} // namespace

TEST(Reader, OldPrompterCommandsAreRemovedOnYes) {
    TFakeDialogs dialogs;
    dialogs.Answers = {true};
    TSong song;
    song.Dialogs = &dialogs;
    song.Language = "English";
    ReadImage(song, SongWithOldPrompterData());
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_TRUE(dialogs.Log[0].IsQuestion);
    EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox");
    EXPECT_EQ(dialogs.Log[0].Text,
              "Die Unterstützung für den Sufflör ist ausgeschaltet!\rEs wurden aber "
              "Sufflör-Befehle gefunden:\rSpur: 1, Midikanal: 16\rSollen diese entfernt werden?");
    EXPECT_EQ(ShortsOf(song.Tracks[1]),
              (std::vector<TShort>{{3, 0x90, 60, 100}, {53, 0xBF, 7, 100}}));
    EXPECT_EQ(song.Tracks[1].EventCount, 4);
}

TEST(Reader, OldPrompterCommandsStayOnNo) {
    TFakeDialogs dialogs;
    dialogs.Answers = {false};
    TSong song;
    song.Dialogs = &dialogs;
    ReadImage(song, SongWithOldPrompterData());
    EXPECT_EQ(dialogs.Log.size(), 1u);
    EXPECT_EQ(ShortsOf(song.Tracks[1]).size(), 20u);
}

TEST(Reader, OldPrompterCommandsGoWithoutAskingWhenPrompterSupportIsOn) {
    for (int mode = 0; mode < 2; ++mode) {
        TFakeDialogs dialogs;
        TSong song;
        song.Dialogs = &dialogs;
        if (mode == 0)
            song.Config.SufflorEnabled = true;
        else
            song.BatchMode = true;
        ReadImage(song, SongWithOldPrompterData());
        EXPECT_TRUE(dialogs.Log.empty());
        EXPECT_EQ(ShortsOf(song.Tracks[1]).size(), 2u);
    }
}

TEST(Reader, PrompterQuestionNamesTheTrackInFormat0) {
    TFakeDialogs dialogs;
    TSong song;
    song.Dialogs = &dialogs;
    TSmfBuilder smf(0, 96);
    Signature(smf.AddTrack(), 4, 98).EndOfTrack(0);
    ReadImage(song, smf.Build());
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_NE(dialogs.Log[0].Text.find("Spur: 0, Midikanal: 5"), std::string::npos);
}

TEST(Reader, PrompterStartNoteIsOnlySoughtNearTheStart) {
    // The start note at tick 101 lies after a non-matching event past tick 100.
    TSong song;
    song.Config.SufflorEnabled = true;
    TSmfBuilder smf(0, 96);
    auto& t = smf.AddTrack();
    Signature(t, 15, 98);
    t.NoteOn(101, 0, 60, 100).NoteOn(0, 15, 36, 3).NoteOff(10, 15, 36).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(ShortsOf(song.Tracks[0]),
              (std::vector<TShort>{{101, 0x90, 60, 100}, {101, 0x9F, 36, 3}, {111, 0x8F, 36, 64}}));
}

TEST(Reader, OldPrompterCommandsAreRemovedFromAnyTrackNumber) {
    // Track numbers above 254 are as good as any other.
    TSong song;
    song.Config.SufflorEnabled = true;
    TSmfBuilder smf(1, 96);
    for (int k = 0; k < 300; ++k)
        smf.AddTrack().EndOfTrack(0);
    Signature(smf.AddTrack(), 15, 98).NoteOn(0, 0, 60, 100).EndOfTrack(0);
    ReadImage(song, smf.Build());
    EXPECT_EQ(song.PrompterTrackIndex, 300);
    EXPECT_EQ(ShortsOf(song.Tracks[300]), (std::vector<TShort>{{0, 0x90, 60, 100}}));
}

TEST(Reader, BeatsPerMinuteRoundHalvesToEvenAndStayInTheirField) {
    struct Case {
        std::uint32_t tempo;
        int bpm;
    };
    const Case cases[] = {{960000, 62}, {480000, 125}, {1, 65535}, {0xFFFFFF, 4}, {0, 120}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tempo);
        TSong song;
        TSmfBuilder smf(0, 96);
        smf.AddTrack().Tempo(0, c.tempo).EndOfTrack(0);
        ReadImage(song, smf.Build());
        EXPECT_EQ(song.Tempos[0].BPM, c.bpm);
    }
}
