// lyrivox-cli convert, save and batch as a script uses them: exit status,
// files written, and the batch report on standard output.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "SmfBuilder.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

TRun Cli(const std::string& args) {
    return RunCli(LV_CLI_PATH, args);
}

lv::AByte Song(int format) {
    TSmfBuilder b(format, 480);
    b.AddTrack().Tempo(0, 500000).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack();
    if (format == 1) b.AddTrack().NoteOn(0, 1, 50, 100).NoteOff(240, 1, 50).EndOfTrack();
    return b.Build();
}

} // namespace

TEST(CliWriter, ConvertAndSave) {
    const std::string dir = MakeTempDir("lv-cli-writer");
    WriteFileBytes(dir + "/in.mid", Song(1));
    EXPECT_EQ(Cli("convert --format 0 " + dir + "/in.mid " + dir + "/out.mid").Exit, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/out.mid").at(9), 0);
    EXPECT_EQ(Cli("convert --format 1 " + dir + "/out.mid " + dir + "/back.mid").Exit, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/back.mid").at(9), 1);
    EXPECT_EQ(Cli("save " + dir + "/in.mid").Exit, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/in.mid").at(9), 1);
    // usage errors and unreadable input
    EXPECT_EQ(Cli("convert --format 2 " + dir + "/in.mid " + dir + "/x.mid").Exit, 2);
    EXPECT_EQ(Cli("convert " + dir + "/in.mid").Exit, 2);
    WriteFileBytes(dir + "/bad.mid", {'n', 'o'});
    EXPECT_EQ(Cli("save " + dir + "/bad.mid").Exit, 1);
    EXPECT_EQ(ReadFileBytes(dir + "/bad.mid"), (lv::AByte{'n', 'o'}));
    fs::remove_all(dir);
}

TEST(CliWriter, BatchReportsAndFailsWhenFilesFailed) {
    const std::string dir = MakeTempDir("lv-cli-batch");
    fs::create_directories(dir + "/sub");
    WriteFileBytes(dir + "/a.mid", Song(0));
    WriteFileBytes(dir + "/sub/b.MID", Song(1));
    TRun r = Cli("batch update " + dir);
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out, "Task successfully terminated!\n2 files were processed!\n");

    WriteFileBytes(dir + "/sub/broken.mid", {'M', 'T', 'h', 'd'});
    r = Cli("batch f1 --lang de " + dir);
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Out, "Vorgang abgeschloßen!\n1 Dateien aus 3 wurden NICHT bearbeitet!\n");
    EXPECT_EQ(ReadFileBytes(dir + "/a.mid").at(9), 1);

    r = Cli("batch census " + dir);
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(fs::exists(dir + "/Lyrics.txt"));
    EXPECT_EQ(Cli("batch sideways " + dir).Exit, 2);
    EXPECT_EQ(Cli("batch update " + dir + "/no-such-folder").Exit, 2);
    fs::remove_all(dir);
}
