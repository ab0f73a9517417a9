// lyrivox-cli lyrics import/export as a script uses them: a melody file and a
// lyric text give a song with lyric events that an independent reader sees;
// the exported text reads back unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// A melody of eight quarter notes, no lyrics.
lv::AByte Melody(int format) {
    TSmfBuilder b(format, 480);
    auto& t = b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    for (int i = 0; i < 8; ++i)
        t.NoteOn(i ? 0 : 1920, 0, 60 + i, 100).NoteOff(480, 0, 60 + i);
    t.EndOfTrack();
    if (format == 1) b.AddTrack().NoteOn(0, 1, 40, 100).NoteOff(5760, 1, 40).EndOfTrack();
    return b.Build();
}

const char* const kText = "My_Song\r\nThe_Artist\r\nHel-lo my love\r\n\r\ngood-bye\r\n";

class CliTextEdit : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        dir = MakeTempDir("lv-cli-textedit");
        WriteFileBytes(dir + "/melody.mid", Melody(GetParam()));
        WriteText(dir + "/lyric.txt", kText);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
};

TEST_P(CliTextEdit, ImportExportRoundTrip) {
    ASSERT_EQ(
        Cli("lyrics import " + dir + "/melody.mid " + dir + "/lyric.txt -o " + dir + "/song.mid")
            .Exit,
        0);
    EXPECT_EQ(ReadFileBytes(dir + "/melody.mid"), Melody(GetParam())); // -o leaves it alone
    EXPECT_EQ(ReadFileBytes(dir + "/song.mid").at(9), GetParam());     // its own format

    // Exported text is the imported one, to stdout and to a file.
    const TRun out = Cli("lyrics export " + dir + "/song.mid");
    ASSERT_EQ(out.Exit, 0);
    EXPECT_EQ(out.Out, kText);
    ASSERT_EQ(Cli("lyrics export " + dir + "/song.mid " + dir + "/again.txt").Exit, 0);
    EXPECT_EQ(ReadText(dir + "/again.txt"), kText);

    // Importing the unchanged text again keeps every syllable at its position.
    const TRun before = Cli("lyrics mtc-export " + dir + "/song.mid");
    ASSERT_EQ(before.Exit, 0);
    ASSERT_EQ(Cli("lyrics import " + dir + "/song.mid " + dir + "/again.txt").Exit, 0);
    EXPECT_EQ(Cli("lyrics mtc-export " + dir + "/song.mid").Out, before.Out);
}

TEST_P(CliTextEdit, IndependentReaderSeesTheLyricEvents) {
    ASSERT_EQ(Cli("lyrics import " + dir + "/melody.mid " + dir + "/lyric.txt").Exit, 0);
    if (!fs::exists("/usr/bin/python3")) GTEST_SKIP() << "Debian's python3 is missing";
    const TRun r = Shell("/usr/bin/python3 -c \"import mido,sys\n"
                         "m=mido.MidiFile(sys.argv[1])\n"
                         "t=[(x.text if x.text!='\\r' else '/') for tr in m.tracks for x in tr "
                         "if x.type=='lyrics']\n"
                         "print('|'.join(t))\" " +
                         dir + "/melody.mid");
    ASSERT_EQ(r.Exit, 0) << "python3-mido could not read the song";
    EXPECT_EQ(r.Out, "My Song|/|The Artist|/|Hel|lo |my |love|/|/|good|bye\n");
}

INSTANTIATE_TEST_SUITE_P(Formats, CliTextEdit, ::testing::Values(0, 1));

TEST(CliTextEditErrors, BadInputKeepsTheSong) {
    const std::string dir = MakeTempDir("lv-cli-textedit-err");
    WriteFileBytes(dir + "/melody.mid", Melody(1));
    const lv::AByte melody = ReadFileBytes(dir + "/melody.mid");
    // A missing text file, a text of blank lines and a text of two lines.
    EXPECT_EQ(Cli("lyrics import " + dir + "/melody.mid " + dir + "/none.txt").Exit, 1);
    WriteText(dir + "/blank.txt", "  \r\n\r\n");
    EXPECT_EQ(Cli("lyrics import " + dir + "/melody.mid " + dir + "/blank.txt").Exit, 1);
    WriteText(dir + "/short.txt", "Song\r\nArtist\r\n");
    EXPECT_EQ(Cli("lyrics import " + dir + "/melody.mid " + dir + "/short.txt").Exit, 1);
    EXPECT_EQ(ReadFileBytes(dir + "/melody.mid"), melody);
    // A song without lyrics has nothing to export; usage errors.
    EXPECT_EQ(Cli("lyrics export " + dir + "/melody.mid").Exit, 1);
    EXPECT_EQ(Cli("lyrics export").Exit, 2);
    EXPECT_EQ(Cli("lyrics import " + dir + "/melody.mid").Exit, 2);
    EXPECT_EQ(Cli("lyrics import " + dir + "/melody.mid a b").Exit, 2);
    EXPECT_EQ(Cli("lyrics export " + dir + "/melody.mid --bogus").Exit, 2);
    fs::remove_all(dir);
}

} // namespace
