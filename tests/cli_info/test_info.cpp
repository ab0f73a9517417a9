// lyrivox-cli info run as a program: JSON shape and values, text decoding,
// options that change reading, failing files, every corpus file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "Json.h"
#include "SmfBuilder.h"

namespace {

using lvtest::ParseJson;
using lvtest::TJsonValue;

struct TRun {
    int Exit = -1;
    bool Crashed = false;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TRun RunCli(const std::vector<std::string>& args) {
    static const std::string dir = lvtest::MakeTempDir("lv_cli_info");
    std::string cmd = Quote(LV_CLI_PATH);
    for (const auto& a : args)
        cmd += " " + Quote(a);
    cmd += " >" + Quote(dir + "/out") + " 2>" + Quote(dir + "/err");
    const int status = std::system(cmd.c_str());
    TRun r;
    r.Crashed = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) >= 128);
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = Slurp(dir + "/out");
    r.Err = Slurp(dir + "/err");
    return r;
}

std::string WriteSong(const std::string& name, const lv::AByte& bytes) {
    static const std::string dir = lvtest::MakeTempDir("lv_cli_songs");
    lvtest::WriteFileBytes(dir + "/" + name, bytes);
    return dir + "/" + name;
}

TJsonValue InfoJson(const std::vector<std::string>& args) {
    const TRun r = RunCli(args);
    EXPECT_EQ(r.Exit, 0) << r.Err;
    return ParseJson(r.Out);
}

const std::string kDemo = std::string(LV_SOURCE_DIR) + "/data/demo/demo.mid";

TEST(CliInfo, JsonHasExactlyTheModelKeys) {
    const TJsonValue j = InfoJson({"info", kDemo, "--json", "--events"});
    const std::vector<std::string> top = {"SourceFormat",
                                          "TrackCount",
                                          "Division",
                                          "SongEndTick",
                                          "SongLengthMs",
                                          "SyllableCount",
                                          "LyricSourceType",
                                          "LyricSourceTrack",
                                          "PrompterTrackIndex",
                                          "PrompterController",
                                          "PrompterChannel",
                                          "BassChannels",
                                          "XFChordCount",
                                          "XFChordTrack",
                                          "XFChords",
                                          "Tracks",
                                          "Tempos",
                                          "TimeSigns",
                                          "TimeZones",
                                          "Syllables",
                                          "MelodyNotes"};
    EXPECT_EQ(j.Keys, top);
    EXPECT_EQ(j["BassChannels"].Size(), 16u);
    EXPECT_EQ(j["Tracks"][0].Keys, (std::vector<std::string>{"EventCount", "Events"}));
    EXPECT_EQ(
        j["Tracks"][0]["Events"][0].Keys,
        (std::vector<std::string>{"Tick", "TimeMs", "Status", "Kind", "MetaType", "Flag", "Length",
                                  "Data1", "Data2", "OrigData1", "OrigData2", "Data"}));
    EXPECT_EQ(j["Tempos"][0].Keys,
              (std::vector<std::string>{"Tick", "Tempo", "OrigTempo", "FileTempo", "BPM"}));
    EXPECT_EQ(j["TimeSigns"][0].Keys,
              (std::vector<std::string>{"Tick", "Numerator", "Denominator", "ClocksPerClick",
                                        "ThirtySecondsPerQuarter"}));
    EXPECT_EQ(j["TimeZones"][0].Keys,
              (std::vector<std::string>{"Tick", "Bar", "Beat", "BeatTick", "Numerator",
                                        "Denominator", "BPM", "Tempo", "MsPerTick", "StartMs"}));
    EXPECT_EQ(j["Syllables"][0].Keys,
              (std::vector<std::string>{"PosText", "Tick", "Text", "SavedTick"}));
    EXPECT_EQ(j["MelodyNotes"][0].Keys,
              (std::vector<std::string>{"Tick", "Data1", "Data2", "Flag"}));
    // Without --events the tracks carry only their counts.
    const TJsonValue brief = InfoJson({"info", kDemo, "--json"});
    EXPECT_EQ(brief["Tracks"][0].Keys, std::vector<std::string>{"EventCount"});
}

TEST(CliInfo, DemoSongIsWhatTheGeneratorPromises) {
    const TJsonValue j = InfoJson({"info", kDemo, "--json"});
    EXPECT_EQ(j["SourceFormat"].Int(), 1);
    EXPECT_EQ(j["TrackCount"].Int(), 3);
    EXPECT_EQ(j["Division"].Int(), 480);
    EXPECT_EQ(j["Tracks"].Size(), 5u);                 // three file tracks, lyrics, prompter
    EXPECT_EQ(j["SongEndTick"].Int(), 13 * 1920 - 40); // the last note-off
    EXPECT_EQ(j["Tempos"][0]["BPM"].Int(), 100);
    EXPECT_EQ(j["TimeSigns"][0]["Numerator"].Int(), 4);
    EXPECT_EQ(j["LyricSourceType"].Int(), 5);
    // Title, performer, six lines of seven syllables, a break after each line.
    EXPECT_EQ(j["SyllableCount"].Int(), 4 + 6 * 8);
    const auto& s = j["Syllables"];
    EXPECT_EQ(s[0]["Text"].String, "Twinkle, Twinkle, Little Star");
    EXPECT_EQ(s[0]["Tick"].Int(), 108);
    EXPECT_EQ(s[1]["Text"].String, "\r");
    EXPECT_EQ(s[2]["Text"].String, "Traditional, words by Jane Taylor");
    EXPECT_EQ(s[4]["Text"].String, "Twin");
    EXPECT_EQ(s[4]["Tick"].Int(), 1920);
    EXPECT_EQ(s[4]["PosText"].String, "002.01.000");
    // Port head, the 42 melody notes, end of track.
    EXPECT_EQ(j["MelodyNotes"].Size(), 44u);
    EXPECT_EQ(j["MelodyNotes"][1]["Data1"].Int(), 60);
    EXPECT_GT(j["SongLengthMs"].Int(), 31000);
    EXPECT_LT(j["SongLengthMs"].Int(), 31500);
}

TEST(CliInfo, TextIsDecodedAsWindows1252AndEveryByteSurvives) {
    lvtest::TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .Lyric(0, "Title")
        .Lyric(0, "\r")
        .Lyric(0, "Singer")
        .Lyric(0, "\r")
        .Lyric(384, "Caf\xE9 \x80")
        .NoteOn(0, 0, 60, 90)
        .Lyric(96, std::string("\x81\x8D\x8F\x90\x9D\"\\\t", 8))
        .NoteOff(96, 0, 60)
        .EndOfTrack(0);
    const std::string file = WriteSong("cp1252.mid", smf.Build());
    const TJsonValue j = InfoJson({"info", file, "--json", "--events"});
    std::vector<std::string> texts;
    for (const auto& s : j["Syllables"].Array)
        texts.push_back(s["Text"].String);
    const std::string odd = "\u0081\u008D\u008F\u0090\u009D\"\\\t";
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Café €"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), odd), texts.end());
    // Raw bytes of events are lower-case hex.
    std::set<std::string> data;
    for (const auto& t : j["Tracks"].Array)
        for (const auto& e : t["Events"].Array)
            data.insert(e["Data"].String);
    EXPECT_TRUE(data.count("436166e92080")) << "lyric bytes of \"Caf\\xE9 \\x80\"";
}

TEST(CliInfo, OptionsChangeHowTheSongIsRead) {
    lvtest::TSmfBuilder smf(0, 96);
    smf.AddTrack()
        .NoteOn(0, 0, 60, 90)
        .NoteOn(0, 1, 70, 90)
        .NoteOn(0, 1, 72, 90)
        .NoteOff(96, 0, 60)
        .NoteOff(0, 1, 70)
        .NoteOff(0, 1, 72)
        .EndOfTrack(0);
    const std::string file = WriteSong("two-channels.mid", smf.Build());
    EXPECT_EQ(InfoJson({"info", file, "--json"})["MelodyNotes"].Size(), 3u);
    const TJsonValue j = InfoJson({"info", file, "--json", "--melody-channel", "2"});
    ASSERT_EQ(j["MelodyNotes"].Size(), 4u);
    EXPECT_EQ(j["MelodyNotes"][1]["Data1"].Int(), 70);
    // Half speed doubles the tempo's microseconds, not the file's value.
    const TJsonValue slow = InfoJson({"info", kDemo, "--json", "--playback-speed", "5"});
    EXPECT_EQ(slow["Tempos"][0]["FileTempo"].Int(), 600000);
    EXPECT_GT(slow["Tempos"][0]["Tempo"].Int(), 600000);
}

TEST(CliInfo, FailingFilesGiveTheMessageOnStderrInTheChosenLanguage) {
    const std::string tooShort = WriteSong("short.mid", lv::AByte(23, 'M'));
    struct TCase {
        std::vector<std::string> Args;
        std::string Want; // part of stderr
    };
    const TCase cases[] = {
        {{"info", tooShort}, "Error: midi file too short!"},
        {{"info", tooShort, "--json", "--lang", "de"}, "Fehler in der Mididatei: Datei zu kurz!"},
        {{"info", WriteSong("nothing.mid", lv::AByte(64, 'x'))}, ""},
        {{"info", "/nonexistent/folder/song.mid"}, ""},
    };
    for (const auto& c : cases) {
        const TRun r = RunCli(c.Args);
        EXPECT_FALSE(r.Crashed) << c.Args[1];
        EXPECT_EQ(r.Exit, 1) << c.Args[1];
        EXPECT_EQ(r.Out, "") << c.Args[1];
        EXPECT_NE(r.Err.find(c.Want), std::string::npos) << r.Err;
        EXPECT_GT(r.Err.size(), 2u);
    }
    // Wrong use is not a failing file.
    EXPECT_EQ(RunCli({"info"}).Exit, 2);
    EXPECT_EQ(RunCli({"info", "a.mid", "b.mid"}).Exit, 2);
    EXPECT_EQ(RunCli({"info", kDemo, "--melody-channel", "17"}).Exit, 1);
}

TEST(CliInfo, PlainOutputShowsTheLyricsLineByLine) {
    const TRun r = RunCli({"info", kDemo});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    for (const char* line : {"Twinkle, Twinkle, Little Star", "Twinkle, twinkle, little star,",
                             "like a diamond in the sky.", "Format:        1, 3 tracks"})
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << "\n" << r.Out;
}

// Every real file either opens, with header values as in the file, or fails
// with a message; none crashes.
TEST(CliInfo, EveryCorpusFileOpensOrFailsCleanly) {
    int opened = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LV_CORPUS_DIR)) {
        if (entry.path().extension() != ".mid") continue;
        const std::string path = entry.path().string();
        const TRun r = RunCli({"info", path, "--json", "--events"});
        ASSERT_FALSE(r.Crashed) << path << "\n" << r.Err;
        if (r.Exit != 0) {
            EXPECT_EQ(r.Exit, 1) << path;
            EXPECT_FALSE(r.Err.empty()) << path;
            continue;
        }
        ++opened;
        TJsonValue j;
        ASSERT_NO_THROW(j = ParseJson(r.Out)) << path;
        const lv::AByte bytes = lvtest::ReadFileBytes(path);
        ASSERT_GE(bytes.size(), 14u);
        // A format-0 file takes the other formats' place only through the header.
        EXPECT_EQ(j["Division"].Int(), bytes[12] * 256 + bytes[13]) << path;
        EXPECT_EQ(j["Tracks"].Size(), static_cast<std::size_t>(j["TrackCount"].Int() + 2)) << path;
        EXPECT_EQ(j["Tempos"][0]["Tick"].Int(), 0) << path;
    }
    EXPECT_GT(opened, 5);
}

} // namespace
