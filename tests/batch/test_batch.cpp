// The batch runner over a temporary folder tree: collection order, the four
// modes, the per-file error count, cancelling and the playback speed hold.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "batch/BatchRunner.h"
#include "model/OpenSong.h"
#include "writer/SafeSave.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

lv::AByte LyricSong(int format) {
    TSmfBuilder b(format, 480);
    auto& t = b.AddTrack();
    t.Tempo(0, 600000).TimeSig(0, 4, 2).Program(0, 0, 0);
    const char* words[] = {"Song Title", "\r", "Singer", "\r", "Hel", "lo ", "world", "\r"};
    for (int i = 0; i < 8; ++i)
        t.Lyric(i == 0 ? 0 : 120, words[i]).NoteOn(0, 0, 60 + i, 90);
    t.NoteOff(240, 0, 60, 0).EndOfTrack();
    if (format == 1)
        b.AddTrack()
            .Name(0, "Bass")
            .Program(0, 1, 33)
            .NoteOn(10, 1, 40, 80)
            .NoteOff(480, 1, 40)
            .EndOfTrack();
    return b.Build();
}

lv::AByte PlainSong(int format) {
    TSmfBuilder b(format, 96);
    auto& t = b.AddTrack();
    t.Tempo(0, 500000).NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36).EndOfTrack();
    if (format == 1) b.AddTrack().NoteOn(0, 2, 50, 100).NoteOff(48, 2, 50).EndOfTrack();
    return b.Build();
}

struct TTree {
    std::string Root;
    std::vector<std::string> Valid; // in collection order
    std::string Broken, ReadOnly;
};

TTree MakeTree() {
    TTree t;
    t.Root = MakeTempDir("lv-batch");
    fs::create_directories(t.Root + "/sub1/deeper");
    fs::create_directories(t.Root + "/sub2");
    WriteFileBytes(t.Root + "/a.mid", LyricSong(1));
    WriteFileBytes(t.Root + "/B.MID", LyricSong(0));
    WriteFileBytes(t.Root + "/notes.txt", {'x'});
    WriteFileBytes(t.Root + "/sub1/c.Mid", PlainSong(0));
    WriteFileBytes(t.Root + "/sub1/deeper/d.mid", PlainSong(1));
    WriteFileBytes(t.Root + "/sub2/broken.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 7, 1, 2, 3});
    WriteFileBytes(t.Root + "/sub2/readonly.mid", PlainSong(1));
    ::chmod((t.Root + "/sub2/readonly.mid").c_str(), 0444);
    t.Broken = t.Root + "/sub2/broken.mid";
    t.ReadOnly = t.Root + "/sub2/readonly.mid";
    return t;
}

int FormatOf(const std::string& path) {
    return ReadFileBytes(path).at(9);
}
int ChunksOf(const std::string& path) {
    return ReadFileBytes(path).at(11);
}

} // namespace

TEST(BatchCollect, BreadthFirstAndAnyCaseOfTheExtension) {
    const TTree t = MakeTree();
    const auto files = lv::TBatchRunner::CollectFiles(t.Root);
    const std::vector<std::string> want = {
        t.Root + "/B.MID",           t.Root + "/a.mid", t.Root + "/sub1/c.Mid",
        t.Root + "/sub2/broken.mid", t.ReadOnly,        t.Root + "/sub1/deeper/d.mid"};
    EXPECT_EQ(files, want);
    fs::remove_all(t.Root);
}

TEST(BatchRun, ModesKeepOrConvertFormatsAndCountFailures) {
    struct Case {
        lv::TBatchMode Mode;
        std::vector<int> Formats; // B, a, c, readonly, d after the run
    } cases[] = {
        {lv::TBatchMode::Update, {0, 1, 0, 1, 1}},
        {lv::TBatchMode::ConvertToF0, {0, 0, 0, 0, 0}},
        {lv::TBatchMode::ConvertToF1, {1, 1, 1, 1, 1}},
        {lv::TBatchMode::Search, {0, 1, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        const TTree t = MakeTree();
        const lv::AByte broken = ReadFileBytes(t.Broken);
        TFakeDialogs dialogs;
        lv::TSong song;
        song.Dialogs = &dialogs;
        lv::TBatchRunner runner(song);
        const lv::TBatchResult r = runner.Run(c.Mode, t.Root);
        const std::string tag = "mode " + std::to_string(static_cast<int>(c.Mode));
        EXPECT_TRUE(r.Ran);
        EXPECT_EQ(r.Found, 6) << tag;
        EXPECT_EQ(r.Errors, 1) << tag;
        EXPECT_EQ(r.Failed, std::vector<std::string>{t.Broken}) << tag;
        EXPECT_EQ(r.Report, "Task terminated!\r\n1 midi files out of 6 were NOT processed!") << tag;
        ASSERT_FALSE(dialogs.Log.empty());
        EXPECT_EQ(dialogs.Log.back().Text, r.Report);
        EXPECT_EQ(dialogs.Log.back().Caption, "Lyrivox");
        EXPECT_EQ(ReadFileBytes(t.Broken), broken) << tag;
        EXPECT_FALSE(song.SongLoaded);
        const std::string paths[] = {t.Root + "/B.MID", t.Root + "/a.mid", t.Root + "/sub1/c.Mid",
                                     t.ReadOnly, t.Root + "/sub1/deeper/d.mid"};
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_EQ(FormatOf(paths[i]), c.Formats[i]) << tag << paths[i];
        if (c.Mode == lv::TBatchMode::ConvertToF0) {
            for (const auto& p : paths)
                EXPECT_EQ(ChunksOf(p), 1) << p;
            // the single track is named after its file
            const lv::AByte img = ReadFileBytes(t.Root + "/sub1/deeper/d.mid");
            EXPECT_NE(std::string(img.begin(), img.end())
                          .find("\xFF\x03\x01"
                                "D"),
                      std::string::npos);
        }
        if (c.Mode == lv::TBatchMode::ConvertToF1) {
            // c.Mid (format 0, one drum channel) splits into conductor and channel 10
            EXPECT_EQ(ChunksOf(t.Root + "/sub1/c.Mid"), 2);
        }
        if (c.Mode == lv::TBatchMode::Search) {
            const lv::AByte txt = ReadFileBytes(t.Root + "/Lyrics.txt");
            EXPECT_EQ(std::string(txt.begin(), txt.end()),
                      "B\ty\r\na\ty\r\nc\tn\r\nreadonly\tn\r\nd\tn\r\n");
        } else {
            EXPECT_FALSE(fs::exists(t.Root + "/Lyrics.txt"));
        }
        fs::remove_all(t.Root);
    }
}

TEST(BatchRun, GermanReportsAndEmptyFolder) {
    const std::string dir = MakeTempDir("lv-batch");
    TFakeDialogs dialogs;
    lv::TSong song;
    song.Dialogs = &dialogs;
    song.Language = "Deutsch";
    lv::TBatchRunner runner(song);
    EXPECT_EQ(runner.Run(lv::TBatchMode::Update, dir).Report, "Keine MIDI-Dateien gefunden!");
    WriteFileBytes(dir + "/x.mid", PlainSong(0));
    WriteFileBytes(dir + "/y.mid", PlainSong(1));
    EXPECT_EQ(runner.Run(lv::TBatchMode::Update, dir).Report,
              "Vorgang erfolgreich abgeschloßen!\r\n2 Dateien wurden bearbeitet!");
    // no folder: nothing happens at all
    const auto before = dialogs.Log.size();
    EXPECT_FALSE(runner.Run(lv::TBatchMode::Update, "").Ran);
    EXPECT_EQ(dialogs.Log.size(), before);
    fs::remove_all(dir);
}

TEST(BatchRun, FileThatCannotBeStoredCountsAsNotProcessed) {
    const std::string dir = MakeTempDir("lv-batch");
    WriteFileBytes(dir + "/x.mid", PlainSong(0));
    WriteFileBytes(dir + "/y.mid", PlainSong(1));
    const lv::AByte before = ReadFileBytes(dir + "/y.mid");
    lv::TSaveHooks hooks;
    hooks.Rename = [](const std::string& from, const std::string& to) {
        if (to.find("y.mid") != std::string::npos) {
            errno = EIO;
            return -1;
        }
        return std::rename(from.c_str(), to.c_str());
    };
    lv::TSaveHooks old = lv::SetSaveHooks(hooks);
    TFakeDialogs dialogs;
    lv::TSong song;
    song.Dialogs = &dialogs;
    lv::TBatchRunner runner(song);
    const lv::TBatchResult r = runner.Run(lv::TBatchMode::Update, dir);
    lv::SetSaveHooks(old);
    EXPECT_EQ(r.Errors, 1);
    EXPECT_EQ(r.Report, "Task terminated!\r\n1 midi files out of 2 were NOT processed!");
    EXPECT_EQ(ReadFileBytes(dir + "/y.mid"), before);
    ASSERT_EQ(dialogs.Log.size(), 2u); // the writer's message, then the report
    EXPECT_EQ(dialogs.Log[0].Caption, "Warning");
    fs::remove_all(dir);
}

TEST(BatchRun, CancelLetsTheCurrentFileFinish) {
    const TTree t = MakeTree();
    const lv::AByte dBefore = ReadFileBytes(t.Root + "/sub1/deeper/d.mid");
    TFakeDialogs dialogs;
    lv::TSong song;
    song.Dialogs = &dialogs;
    lv::TBatchRunner runner(song);
    lv::TBatchCallbacks cb;
    int done = 0;
    cb.FileDone = [&](int, const std::string&, bool, const std::string&) {
        if (++done == 2) runner.Cancel();
    };
    const lv::TBatchResult r = runner.Run(lv::TBatchMode::ConvertToF0, t.Root, cb);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_EQ(done, 2);
    EXPECT_EQ(r.Report, "Task canceled!");
    EXPECT_EQ(FormatOf(t.Root + "/a.mid"), 0); // second file: converted
    EXPECT_EQ(ReadFileBytes(t.Root + "/sub1/deeper/d.mid"), dBefore);
    EXPECT_FALSE(runner.Busy());
    fs::remove_all(t.Root);
}

TEST(BatchRun, PlaybackSpeedIsHeldAtFullWhileWritingAndRestored) {
    const std::string dir = MakeTempDir("lv-batch");
    WriteFileBytes(dir + "/s.mid", LyricSong(1));
    TFakeDialogs dialogs;
    lv::TSong song;
    song.Dialogs = &dialogs;
    song.Config.PlaybackSpeed = 3; // 70 %
    lv::TBatchRunner runner(song);
    lv::TBatchCallbacks cb;
    int speedDuringRun = -1;
    cb.FileStarted = [&](int, const std::string&) { speedDuringRun = song.Config.PlaybackSpeed; };
    runner.Run(lv::TBatchMode::Update, dir, cb);
    EXPECT_EQ(speedDuringRun, 0);
    EXPECT_EQ(song.Config.PlaybackSpeed, 3);
    // the tempo event still says 600000 microseconds per quarter
    const lv::AByte img = ReadFileBytes(dir + "/s.mid");
    const std::string s(img.begin(), img.end());
    EXPECT_NE(s.find(std::string("\xFF\x51\x03\x09\x27\xC0", 6)), std::string::npos);
    fs::remove_all(dir);
}

TEST(BatchRun, Controller32QuestionCanStopTheRun) {
    const std::string dir = MakeTempDir("lv-batch");
    WriteFileBytes(dir + "/x.mid", PlainSong(0));
    const lv::AByte before = ReadFileBytes(dir + "/x.mid");
    for (const bool stop : {true, false}) {
        TFakeDialogs dialogs;
        dialogs.Answers = {stop};
        lv::TSong song;
        song.Dialogs = &dialogs;
        song.Config.InsertController32 = true;
        lv::TBatchRunner runner(song);
        const lv::TBatchResult r = runner.Run(lv::TBatchMode::Update, dir);
        ASSERT_FALSE(dialogs.Log.empty());
        EXPECT_TRUE(dialogs.Log[0].IsQuestion);
        EXPECT_EQ(
            dialogs.Log[0].Text,
            "\"Controller 32 einfügen\" ist eingeschaltet\rSoll der Vorgang abgebrochen werden?");
        EXPECT_EQ(r.Ran, !stop);
        if (stop) {
            EXPECT_EQ(ReadFileBytes(dir + "/x.mid"), before);
        }
    }
    fs::remove_all(dir);
}
