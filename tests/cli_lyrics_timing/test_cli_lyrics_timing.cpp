// lyrivox-cli lyrics link|quantize|move|upper|strip-punctuation|mtc-export|mtc-import
// as a script uses them; the written files are read back with mido.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CliRun.h"
#include "SmfBuilder.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

TRun Lyrics(const std::string& args, bool withStderr = false) {
    return RunShell(std::string(LV_CLI_PATH) + " lyrics " + args +
                    (withStderr ? " 2>&1" : " 2>/dev/null"));
}

// Lyric events as mido reads them: text -> tick (line breaks left out).
std::map<std::string, int> MidoLyrics(const std::string& path) {
    const TRun r = RunShell("/usr/bin/python3 -c \"import sys, mido\n"
                            "m = mido.MidiFile(sys.argv[1])\n"
                            "for t in m.tracks:\n"
                            "    tick = 0\n"
                            "    for e in t:\n"
                            "        tick += e.time\n"
                            "        if e.type == 'lyrics' and e.text != '\\r':\n"
                            "            print('%d|%s' % (tick, e.text))\n\" '" +
                            path + "'");
    std::map<std::string, int> rows;
    std::istringstream in(r.Out);
    std::string line;
    while (std::getline(in, line)) {
        const auto bar = line.find('|');
        if (bar != std::string::npos) rows[line.substr(bar + 1)] = std::stoi(line.substr(0, bar));
    }
    return rows;
}

// A melody on channel 1 slightly off the beats, and lyrics typed in without times.
lv::AByte MelodySong() {
    TSmfBuilder b(1, 480);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2).Control(3840, 9, 7, 100).EndOfTrack();
    auto& t = b.AddTrack();
    t.Lyric(0, "Song").Lyric(0, "\r").Lyric(0, "Band").Lyric(0, "\r");
    t.NoteOn(470, 0, 60, 100).Lyric(0, "Hal").NoteOff(200, 0, 60);
    t.NoteOn(280, 0, 62, 100).Lyric(0, "lo, ").NoteOff(200, 0, 62);
    t.NoteOn(300, 0, 64, 100).Lyric(0, "du").Lyric(0, "\r").NoteOff(200, 0, 64);
    t.NoteOn(280, 0, 65, 100).Lyric(0, "da ").NoteOff(200, 0, 65);
    t.EndOfTrack(1000);
    return b.Build();
}

} // namespace

TEST(CliLyricsTiming, LinkQuantizeMoveOnOneSong) {
    const std::string dir = MakeTempDir("lv-cli-timing");
    const std::string in = dir + "/in.mid", out = dir + "/out.mid";
    WriteFileBytes(in, MelodySong());
    const lv::AByte original = ReadFileBytes(in);

    // Link to the notes at 470, 950, 1450, 1930; the input stays as it was.
    ASSERT_EQ(Lyrics("link " + in + " -o " + out).Exit, 0);
    EXPECT_EQ(ReadFileBytes(in), original);
    auto rows = MidoLyrics(out);
    EXPECT_EQ(rows["Hal"], 470);
    EXPECT_EQ(rows["lo, "], 950);
    EXPECT_EQ(rows["du"], 1450);
    EXPECT_EQ(rows["da "], 1930);

    // Quarter grid, then half a second later (480 ticks at 120 per minute), in place.
    // Opening placed the artist lines just before "Hal"; they share its grid
    // point, so "Hal" follows them by 4 ticks each.
    ASSERT_EQ(Lyrics("quantize --factor 0 " + out).Exit, 0);
    rows = MidoLyrics(out);
    EXPECT_EQ(rows["Hal"], 488);
    EXPECT_EQ(rows["lo, "], 960);
    EXPECT_EQ(rows["da "], 1920);
    ASSERT_EQ(Lyrics("move " + out + " 500").Exit, 0);
    rows = MidoLyrics(out);
    EXPECT_EQ(rows["lo, "], 1440);
    EXPECT_EQ(rows["da "], 2400);
    EXPECT_EQ(rows["Song"], 108); // the header does not move

    ASSERT_EQ(Lyrics("upper " + out).Exit, 0);
    rows = MidoLyrics(out);
    EXPECT_EQ(rows["DA "], 2400);
    EXPECT_EQ(rows["SONG"], 108);
    ASSERT_EQ(Lyrics("strip-punctuation " + out).Exit, 0);
    rows = MidoLyrics(out);
    EXPECT_EQ(rows.count("LO, "), 0u);
    EXPECT_EQ(rows["LO "], 1440);
    fs::remove_all(dir);
}

TEST(CliLyricsTiming, MtcExportEditImport) {
    const std::string dir = MakeTempDir("lv-cli-mtc");
    const std::string in = dir + "/in.mid", text = dir + "/lyrics.txt";
    WriteFileBytes(in, MelodySong());
    ASSERT_EQ(Lyrics("link " + in).Exit, 0);

    const TRun toStdout = Lyrics("mtc-export " + in);
    ASSERT_EQ(toStdout.Exit, 0);
    ASSERT_EQ(Lyrics("mtc-export " + in + " " + text).Exit, 0);
    std::string mtc = ReadText(text);
    EXPECT_EQ(mtc, toStdout.Out);
    const std::string hal = "001.01.470 Hal-\r\n";
    ASSERT_NE(mtc.find(hal), std::string::npos) << mtc;

    // Typing another position moves the syllable; the rest stays.
    mtc.replace(mtc.find(hal), hal.size(), "001.01.400 Hal-\r\n");
    WriteText(text, mtc);
    ASSERT_EQ(Lyrics("mtc-import " + in + " " + text).Exit, 0);
    auto rows = MidoLyrics(in);
    EXPECT_EQ(rows["Hal"], 400);
    EXPECT_EQ(rows["lo, "], 950);

    // A position that cannot be read: the line is named and nothing is written.
    const lv::AByte before = ReadFileBytes(in);
    mtc.replace(mtc.find("001.01.400"), 10, "000.00.000");
    WriteText(text, mtc);
    const TRun rejected = Lyrics("mtc-import " + in + " " + text + " -o " + dir + "/x.mid", true);
    EXPECT_EQ(rejected.Exit, 1);
    EXPECT_NE(rejected.Out.find("Die MTC Angabe in Zeile 5 ist falsch!"), std::string::npos)
        << rejected.Out;
    EXPECT_FALSE(fs::exists(dir + "/x.mid"));
    EXPECT_EQ(ReadFileBytes(in), before);
    fs::remove_all(dir);
}

TEST(CliLyricsTiming, UsageAndInputErrors) {
    const std::string dir = MakeTempDir("lv-cli-timing-errors");
    const std::string in = dir + "/in.mid";
    WriteFileBytes(in, MelodySong());
    const lv::AByte original = ReadFileBytes(in);
    struct TCase {
        std::string Args;
        int Exit;
    };
    const std::vector<TCase> cases = {
        {"move " + in + " soon", 2},
        {"move " + in, 2},
        {"quantize --factor 7 " + in, 2},
        {"link " + in + " --sideways", 2},
        {"link", 2},
        {"mtc-import " + in, 2},
        {"mtc-import " + in + " " + dir + "/missing.txt", 1},
        {"link " + dir + "/missing.mid", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lyrics(c.Args).Exit, c.Exit) << c.Args;
    EXPECT_EQ(ReadFileBytes(in), original);

    // A song without lyrics has nothing to time.
    TSmfBuilder b(0, 480);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack();
    WriteFileBytes(dir + "/plain.mid", b.Build());
    EXPECT_EQ(Lyrics("link " + dir + "/plain.mid").Exit, 1);
    fs::remove_all(dir);
}

// The headline workflow: a melody without lyrics and a lyrics text give a
// timed karaoke file in two commands.
TEST(CliLyricsTiming, MelodyAndTextBecomeATimedSong) {
    const std::string dir = MakeTempDir("lv-cli-workflow");
    TSmfBuilder b(0, 480);
    auto& t = b.AddTrack().Tempo(0, 500000);
    std::uint32_t delta = 480;
    for (int key : {60, 62, 64, 65, 67}) {
        t.NoteOn(delta, 0, key, 100).NoteOff(240, 0, key);
        delta = 240;
    }
    t.EndOfTrack();
    WriteFileBytes(dir + "/melody.mid", b.Build());
    WriteText(dir + "/words.txt", "My Song\r\nThe Band\r\nHal-lo du\r\nwe sing\r\n");

    ASSERT_EQ(
        Lyrics("import " + dir + "/melody.mid " + dir + "/words.txt -o " + dir + "/k.mid").Exit, 0);
    ASSERT_EQ(Lyrics("link " + dir + "/k.mid").Exit, 0);
    const auto rows = MidoLyrics(dir + "/k.mid");
    EXPECT_EQ(rows.at("My Song"), 108);
    EXPECT_EQ(rows.at("The Band"), 120);
    EXPECT_EQ(rows.at("Hal"), 480);
    EXPECT_EQ(rows.at("lo "), 960);
    EXPECT_EQ(rows.at("du"), 1440);
    EXPECT_EQ(rows.at("we "), 1920);
    EXPECT_EQ(rows.at("sing"), 2400);
    fs::remove_all(dir);
}
