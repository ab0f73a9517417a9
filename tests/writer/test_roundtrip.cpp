// Songs opened, written as format 0 and 1, and opened again keep their
// channel events, lyrics and tempo map; every written file is also read by an
// independent reader (Debian's python3-mido).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "SmfBuilder.h"
#include "WriterTestSupport.h"
#include "model/OpenSong.h"
#include "writer/PrompterDecoder.h"
#include "writer/Writer.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

using TChannelRow = std::tuple<std::int32_t, int, int, int>; // tick, status, data1, data2

struct TSummary {
    std::vector<TChannelRow> Channel;
    std::vector<std::pair<std::int32_t, std::string>> Lyrics;
    std::vector<std::pair<std::int32_t, std::int32_t>> Tempos;
    std::int32_t SongEndTick = 0;
    std::uint16_t Division = 0;
};

TSummary Summarise(const lv::TSong& s) {
    TSummary m;
    for (std::size_t t = 0; t < s.TrackCount; ++t)
        for (const auto& e : s.Tracks[t].Events) {
            // The reader drops one drum-channel bank select per track on every
            // open, so those depend on how the tracks are cut.
            if (e.Kind != 1 || (e.Status == 0xB9 && e.Data1 == 0)) continue;
            m.Channel.emplace_back(e.Tick, e.Status, e.Data1, e.Length == 3 ? e.Data2 : 0);
        }
    std::sort(m.Channel.begin(), m.Channel.end());
    for (const auto& e : s.Tracks[s.TrackCount].Events)
        if (e.IsMeta(5)) {
            std::string text = e.Data;
            std::replace(text.begin(), text.end(), '_', ' ');
            m.Lyrics.emplace_back(e.Tick, text);
        }
    for (std::int32_t i = 0; i < s.TempoCount && i < static_cast<std::int32_t>(s.Tempos.size());
         ++i)
        if (s.Tempos[i].Tick >= 0 && s.Tempos[i].Tick <= s.SongEndTick)
            m.Tempos.emplace_back(s.Tempos[i].Tick, s.Tempos[i].Tempo);
    std::sort(m.Tempos.begin(), m.Tempos.end());
    m.Tempos.erase(std::unique(m.Tempos.begin(), m.Tempos.end()), m.Tempos.end());
    m.SongEndTick = s.SongEndTick;
    m.Division = s.Division;
    return m;
}

// A song with every kind of event the writer meets.
lv::AByte CraftedSong() {
    TSmfBuilder b(1, 384);
    b.AddTrack()
        .Name(0, "Tempo")
        .Tempo(0, 450000)
        .TimeSig(0, 3, 2)
        .Raw(0, {0xFF, 0x59, 2, 0xFE, 0})
        .Tempo(768, 520000)
        .Meta(0, 0x7F, std::string("\x43\x7B\x01\x00\x00\x00\x00", 7))
        .EndOfTrack();
    b.AddTrack()
        .Name(0, "Lead")
        .Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .Program(0, 0, 5)
        .Control(0, 0, 7, 100)
        .NoteOn(96, 0, 60, 100)
        .Raw(0, {64, 90})
        .NoteOn(96, 0, 60, 0)
        .Raw(0, {64, 0})
        .Raw(10, {0xE0, 0, 64})
        .Raw(0, {0xD0, 30})
        .Raw(0, {0xA0, 60, 10})
        .Lyric(0, "Hi_there")
        .Text(50, "marker text")
        .NoteOn(1000, 0, 62, 70)
        .NoteOff(384, 0, 62)
        .EndOfTrack();
    b.AddTrack()
        .Control(0, 9, 0, 0)
        .Program(0, 9, 25)
        .NoteOn(0, 9, 36, 120)
        .NoteOff(1500, 9, 36)
        .EndOfTrack();
    return b.Build();
}

std::vector<std::pair<std::string, lv::AByte>> Songs() {
    std::vector<std::pair<std::string, lv::AByte>> songs;
    for (const auto& e : fs::recursive_directory_iterator(LV_CORPUS_DIR)) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (e.is_regular_file() && (ext == ".mid" || ext == ".kar"))
            songs.emplace_back(e.path().string(), ReadFileBytes(e.path().string()));
    }
    std::sort(songs.begin(), songs.end());
    songs.emplace_back("crafted", CraftedSong());
    return songs;
}

bool Opens(lv::TSong& s, const lv::AByte& image, const std::string& name) {
    try {
        lv::OpenSongFromImage(s, image, name);
        return s.SongLoaded;
    } catch (const std::exception&) {
        return false;
    }
}

void ExpectSame(const TSummary& a, const TSummary& b, const std::string& what) {
    EXPECT_EQ(a.Channel, b.Channel) << what;
    EXPECT_EQ(a.Lyrics, b.Lyrics) << what;
    EXPECT_EQ(a.Tempos, b.Tempos) << what;
    EXPECT_EQ(a.SongEndTick, b.SongEndTick) << what;
    EXPECT_EQ(a.Division, b.Division) << what;
}

} // namespace

TEST(RoundTrip, CorpusSongsKeepTheirEventsLyricsAndTempoMap) {
    const std::string dir = MakeTempDir("lv-roundtrip");
    int opened = 0;
    int written = 0;
    for (const auto& [path, image] : Songs()) {
        lv::TSong first;
        if (!Opens(first, image, path)) continue; // files the reader refuses
        ++opened;
        const TSummary before = Summarise(first);
        for (const int format : {0, 1}) {
            const lv::AByte out = format == 0 ? lv::BuildFormat0Image(first, "roundtrip.mid")
                                              : lv::BuildFormat1Image(first);
            const std::string what = path + " as format " + std::to_string(format);
            lv::TSong again;
            ASSERT_TRUE(Opens(again, out, "roundtrip.mid")) << what;
            EXPECT_EQ(again.SourceFormat, format) << what;
            ExpectSame(before, Summarise(again), what);
            // writing the reread song again gives the same bytes
            const lv::AByte twice = format == 0 ? lv::BuildFormat0Image(again, "roundtrip.mid")
                                                : lv::BuildFormat1Image(again);
            if (format == 0 || first.SourceFormat == 1) {
                EXPECT_EQ(Hex(twice), Hex(out)) << what;
            }
            WriteFileBytes(dir + "/" + std::to_string(written++) + ".mid", out);
        }
    }
    EXPECT_GE(opened, 10);

    // Every written file is read by mido without error.
    const std::string script =
        "import mido, sys, glob\n"
        "bad = 0\n"
        "for f in sorted(glob.glob(sys.argv[1] + '/*.mid')):\n"
        "    try:\n"
        "        m = mido.MidiFile(f)\n"
        "        assert all(t and t[-1].type == 'end_of_track' for t in m.tracks), 'end of track'\n"
        "    except Exception as e:\n"
        "        bad += 1\n"
        "        print(f, e)\n"
        "sys.exit(1 if bad else 0)\n";
    WriteFileBytes(dir + "/check.py", lv::AByte(script.begin(), script.end()));
    const std::string cmd = "/usr/bin/python3 " + dir + "/check.py " + dir;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    fs::remove_all(dir);
}

TEST(RoundTrip, PrompterStreamSurvivesTheFileAndIsRecognisedAgain) {
    // A song with lyrics opened with prompter support builds the stream; the
    // written file carries it, and opening that file finds the signature.
    TSmfBuilder b(1, 480);
    b.AddTrack().Tempo(0, 500000).EndOfTrack();
    auto& t = b.AddTrack();
    t.Program(0, 0, 0);
    const char* words[] = {"Title", "\r", "Singer", "\r", "Hel", "lo ", "w\xFC", "rld", "\r"};
    for (int i = 0; i < 9; ++i)
        t.Lyric(i == 0 ? 0 : 240, words[i]).NoteOn(0, 0, 60 + i, 90);
    t.NoteOff(480, 0, 60, 0).EndOfTrack();
    lv::TSong song;
    song.Config.SufflorEnabled = true;
    ASSERT_TRUE(Opens(song, b.Build(), "p.mid"));
    const auto built =
        lv::DecodePrompterStream(song.PrompterTrack().Events, song.Config.SufflorMidiChannel,
                                 song.Config.SufflorCmdController);
    ASSERT_TRUE(built.Problems.empty()) << built.Problems[0];
    EXPECT_EQ(built.Text, "Title\rSinger\rHello w\xFCrld\r");

    for (const int format : {0, 1}) {
        const lv::AByte out =
            format == 0 ? lv::BuildFormat0Image(song, "p.mid") : lv::BuildFormat1Image(song);
        lv::TSong again; // prompter support off, and the question answered No: kept
        ASSERT_TRUE(Opens(again, out, "p.mid"));
        ASSERT_GE(again.PrompterTrackIndex, 0) << format;
        EXPECT_EQ(again.PrompterChannel, song.Config.SufflorMidiChannel);
        EXPECT_EQ(again.PrompterController, song.Config.SufflorCmdController);
        const auto read = lv::DecodePrompterStream(again.Tracks[again.PrompterTrackIndex].Events,
                                                   again.PrompterChannel, again.PrompterController);
        EXPECT_EQ(read.Text, built.Text) << format;
        ASSERT_EQ(read.Cursors.size(), built.Cursors.size()) << format;
        for (std::size_t i = 0; i < read.Cursors.size(); ++i) {
            EXPECT_EQ(read.Cursors[i].Tick, built.Cursors[i].Tick);
            EXPECT_EQ(read.Cursors[i].Line, built.Cursors[i].Line);
            EXPECT_EQ(read.Cursors[i].Column, built.Cursors[i].Column);
        }
        // opened again with prompter support on, the old stream is replaced, not doubled
        lv::TSong rebuilt;
        rebuilt.Config.SufflorEnabled = true;
        ASSERT_TRUE(Opens(rebuilt, out, "p.mid"));
        const auto again2 = lv::DecodePrompterStream(rebuilt.PrompterTrack().Events,
                                                     rebuilt.Config.SufflorMidiChannel,
                                                     rebuilt.Config.SufflorCmdController);
        EXPECT_TRUE(again2.Problems.empty()) << format;
        EXPECT_EQ(again2.Text, built.Text) << format;
        std::size_t controllerEvents = 0;
        for (std::size_t tr = 0; tr < rebuilt.Tracks.size(); ++tr)
            for (const auto& e : rebuilt.Tracks[tr].Events)
                if (e.Kind == 1 && e.Status == 0xBF && e.Data1 == 98) ++controllerEvents;
        std::size_t builtEvents = 0;
        for (const auto& e : song.PrompterTrack().Events)
            if (e.Kind == 1 && e.Status == 0xBF) ++builtEvents;
        EXPECT_EQ(controllerEvents, builtEvents) << format;
    }
}
