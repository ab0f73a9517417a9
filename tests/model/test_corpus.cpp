// Every real file of the corpus is read and compared with what an independent
// reader (Debian's python3-mido) finds in it: header values, channel events,
// tempo, time signature, text and lyric events, and the song length in ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "Corpus.h"
#include "FakeDialogs.h"
#include "ReaderTestUtil.h"
#include "model/Errors.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

struct TRefEvent {
    char Kind; // 'C' channel, 'M' meta, 'S' sysex
    int Tick;
    int Type; // meta type
    std::string Hex;
};

struct TRefFile {
    bool Ok = false;
    std::string Error;
    int Format = 0, Tracks = 0, Division = 0;
    std::vector<std::vector<TRefEvent>> Events;
};

std::vector<std::string> CorpusFiles() {
    return lvtest::CorpusFiles({".mid"});
}

// Runs the reference reader once over every file.
const std::map<std::string, TRefFile>& Reference() {
    static std::map<std::string, TRefFile> ref = [] {
        std::map<std::string, TRefFile> out;
        const std::string text = RunMidoScript("tests/model/mido_dump.py", CorpusFiles());
        std::istringstream lines(text);
        std::string line;
        TRefFile* cur = nullptr;
        while (std::getline(lines, line)) {
            std::istringstream in(line);
            std::string tag;
            in >> tag;
            if (tag == "FILE") {
                cur = &out[line.substr(5)];
            } else if (!cur) {
                continue;
            } else if (tag == "ERROR") {
                cur->Error = line.substr(6);
            } else if (tag == "HEADER") {
                cur->Ok = true;
                in >> cur->Format >> cur->Tracks >> cur->Division;
            } else if (tag == "TRACK") {
                cur->Events.emplace_back();
            } else if (!cur->Events.empty()) {
                TRefEvent e{tag[0], 0, -1, ""};
                in >> e.Tick;
                if (e.Kind == 'M') in >> e.Type;
                in >> e.Hex;
                cur->Events.back().push_back(e);
            }
        }
        return out;
    }();
    return ref;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

int HexByte(const std::string& hex, std::size_t k) {
    return std::stoi(hex.substr(2 * k, 2), nullptr, 16);
}

// Files the reference reader refuses although they are sound for this program.
const std::map<std::string, std::string> kKnownDifferences = {
    // The reference reader lets a system exclusive event start running status;
    // here running status survives it (PrevCommandMode, on by default).
    {"test-running-status-sysex.mid", "running status across sysex"},
};

bool IsKeptMeta(int type) {
    return (type >= 1 && type <= 9 && type != 5) || type == 0x51 || type == 0x54 || type == 0x58 ||
           type == 0x59 || type == 0x7F;
}

} // namespace

TEST(Corpus, EveryFileReadsLikeAnIndependentReaderOrFailsClearly) {
    const auto files = CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << LV_CORPUS_DIR;
    const auto& ref = Reference();
    ASSERT_EQ(ref.size(), files.size()) << "the reference reader did not run";

    for (const auto& path : files) {
        SCOPED_TRACE(path);
        const TRefFile& r = ref.at(path);
        const std::string name = fs::path(path).filename().string();
        lv::TSong song;
        TFakeDialogs dialogs; // answers No: nothing is removed
        song.Dialogs = &dialogs;
        std::string error;
        try {
            ReadImage(song, ReadFileBytes(path));
        } catch (const lv::EMidiError& e) {
            error = e.what();
        } catch (const lv::ERangeError& e) {
            error = e.what();
        }
        if (!r.Ok) {
            if (kKnownDifferences.count(name)) continue;
            EXPECT_NE(error, "") << "the reference reader refuses it: " << r.Error;
            continue;
        }
        ASSERT_EQ(error, "") << "the reference reader accepts it";

        EXPECT_EQ(song.SourceFormat, r.Format);
        ASSERT_EQ(song.TrackCount, r.Tracks);
        EXPECT_EQ(song.Division, r.Division & 0xFFFF);

        std::int32_t songEnd = 0;
        std::vector<std::string> lyrics;
        for (int t = 0; t < r.Tracks; ++t) {
            SCOPED_TRACE("track " + std::to_string(t));
            std::vector<TShort> shorts;
            std::vector<std::string> metas, sysex;
            for (const auto& e : r.Events[static_cast<std::size_t>(t)]) {
                if (e.Kind == 'M' && e.Type == 0x2F) break; // the rest of the chunk is skipped
                if (e.Kind != 'M' || e.Type < 0x2F) songEnd = std::max(songEnd, e.Tick);
                if (e.Kind == 'C') {
                    TShort s{e.Tick, HexByte(e.Hex, 0), HexByte(e.Hex, 1),
                             e.Hex.size() > 4 ? HexByte(e.Hex, 2) : 0};
                    if ((s.Status & 0xF0) == 0x90 && s.Data2 == 0) {
                        s.Status &= 0x8F; // note-on without velocity is a note-off
                        s.Data2 = 17;
                    }
                    shorts.push_back(s);
                } else if (e.Kind == 'M' && e.Type == 5 && !e.Hex.empty()) {
                    lyrics.push_back(e.Hex);
                } else if (e.Kind == 'M' && IsKeptMeta(e.Type) && !e.Hex.empty()) {
                    metas.push_back(std::to_string(e.Tick) + " " + std::to_string(e.Type) + " " +
                                    e.Hex);
                } else if (e.Kind == 'S') {
                    sysex.push_back(std::to_string(e.Tick));
                }
            }
            // A drum bank select without a fine one is dropped on reading.
            auto isDrum = [](int d1) {
                return [d1](const TShort& s) { return s.Status == 0xB9 && s.Data1 == d1; };
            };
            if (std::none_of(shorts.begin(), shorts.end(), isDrum(32))) {
                auto it = std::find_if(shorts.begin(), shorts.end(), isDrum(0));
                if (it != shorts.end()) shorts.erase(it);
            }

            const lv::TTrack& track = song.Tracks[static_cast<std::size_t>(t)];
            EXPECT_EQ(ShortsOf(track), shorts);
            std::vector<std::string> ourMetas, ourSysex;
            for (const auto& e : track.Events) {
                if (e.IsMeta() && e.MetaType != 33 && e.MetaType != 47)
                    ourMetas.push_back(std::to_string(e.Tick) + " " + std::to_string(e.MetaType) +
                                       " " + Hex(e.Data));
                if (e.Kind == 2 && (e.Status == 0xF0 || e.Status == 0xF7))
                    ourSysex.push_back(std::to_string(e.Tick));
            }
            EXPECT_EQ(ourMetas, metas);
            EXPECT_EQ(ourSysex, sysex);
            EXPECT_EQ(track.Events.back().Tick, song.SongEndTick);
        }
        EXPECT_EQ(song.SongEndTick, songEnd);
        std::vector<std::string> ourLyrics;
        for (const auto& e : song.LyricsTrack().Events)
            if (e.IsMeta(5)) ourLyrics.push_back(Hex(e.Data));
        EXPECT_EQ(ourLyrics, lyrics);
    }
}
