// lyrivox-cli tempo and transpose: the edited song is written in its own
// format and read back by an independent reader (python3-mido).
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "SmfBuilder.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

TRun Shell(const std::string& cmd) {
    return RunShell(cmd + " 2>/dev/null");
}

TRun Cli(const std::string& args) {
    return RunCli(LV_CLI_PATH, args);
}

// "type tempos notes" of a file as mido reads it, e.g. "0 [461538] [(0, 63), (9, 36)]".
std::string Mido(const std::string& path) {
    return Shell(
               "/usr/bin/python3 -c \"import mido; m = mido.MidiFile('" + path +
               "'); print(m.type, [x.tempo for t in m.tracks for x in t if x.type == 'set_tempo'], "
               "[(x.channel, x.note) for t in m.tracks for x in t if x.type == 'note_on' and "
               "x.velocity > 0])\"")
        .Out;
}

lv::AByte Song(int format) {
    TSmfBuilder b(format, 480);
    auto& t = b.AddTrack()
                  .Tempo(0, 500000)
                  .Tempo(960, 400000)
                  .NoteOn(0, 0, 60, 100)
                  .NoteOn(0, 9, 36, 100);
    t.NoteOff(480, 0, 60).NoteOff(0, 9, 36).EndOfTrack();
    if (format == 1) b.AddTrack().NoteOn(0, 3, 60, 100).NoteOff(240, 3, 60).EndOfTrack();
    return b.Build();
}

} // namespace

TEST(CliEdits, TempoAndTransposeWriteTheSourceFormat) {
    if (Shell("/usr/bin/python3 -c 'import mido'").Exit != 0)
        GTEST_SKIP() << "python3-mido is not installed";
    const std::string dir = MakeTempDir("lv-cli-edits");
    WriteFileBytes(dir + "/f0.mid", Song(0));
    WriteFileBytes(dir + "/f1.mid", Song(1));

    // 120 and 150 BPM, +10: 130 and 160.
    EXPECT_EQ(Cli("tempo " + dir + "/f0.mid 10 --out " + dir + "/t0.mid").Exit, 0);
    EXPECT_EQ(Mido(dir + "/t0.mid"), "0 [461538, 375000] [(0, 60), (9, 36)]\n");
    // Written over the file itself when no --out is given.
    EXPECT_EQ(Cli("tempo " + dir + "/f1.mid -20").Exit, 0);
    EXPECT_EQ(Mido(dir + "/f1.mid"), "1 [600000, 461538] [(0, 60), (9, 36), (3, 60)]\n");

    // Plain: every channel but 10 up 8; Mode 1 intelligent: channel 1 down 4, channel 4 up 8.
    EXPECT_EQ(Cli("transpose " + dir + "/f1.mid 8 --out " + dir + "/p.mid").Exit, 0);
    EXPECT_EQ(Mido(dir + "/p.mid"), "1 [600000, 461538] [(0, 68), (9, 36), (3, 68)]\n");
    EXPECT_EQ(Cli("transpose " + dir + "/f1.mid 8 --intelligent 1 --out " + dir + "/i.mid").Exit,
              0);
    EXPECT_EQ(Mido(dir + "/i.mid"), "1 [600000, 461538] [(0, 56), (9, 36), (3, 68)]\n");

    // Values outside the dialogs' ranges are usage errors and write nothing.
    for (const std::string args :
         {"tempo " + dir + "/f0.mid 41", "tempo " + dir + "/f0.mid x",
          "transpose " + dir + "/f0.mid 10", "transpose " + dir + "/f0.mid 2 --intelligent 5"})
        EXPECT_EQ(Cli(args).Exit, 2) << args;
    EXPECT_EQ(ReadFileBytes(dir + "/f0.mid"), Song(0));
    fs::remove_all(dir);
}
