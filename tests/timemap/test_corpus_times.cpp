// Event times of the real songs against mido's playback times.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Corpus.h"
#include "SmfBuilder.h"
#include "model/OpenSong.h"
#include "model/TimeMap.h"

namespace {

struct TReference {
    bool Rejected = false;
    std::map<std::int32_t, double> MsAtTick; // channel messages only
};

std::map<std::string, TReference> MidoTimes(const std::vector<std::string>& files) {
    std::map<std::string, TReference> out;
    const std::string text =
        lvtest::RunMidoScript("tests/timemap/mido_times.py", files, "2>/dev/null");
    std::istringstream lines(text);
    std::string line;
    TReference* current = nullptr;
    while (std::getline(lines, line)) {
        if (line.rfind("FILE ", 0) == 0) {
            current = &out[line.substr(5)];
        } else if (current && line.rfind("ERROR", 0) == 0) {
            current->Rejected = true;
        } else if (current && line.rfind("T ", 0) == 0) {
            std::istringstream in(line.substr(2));
            std::int32_t tick = 0;
            double ms = 0;
            in >> tick >> ms;
            current->MsAtTick.emplace(tick, ms);
        }
    }
    return out;
}

} // namespace

TEST(CorpusTimes, ChannelEventTimesAgreeWithMido) {
    const auto files = lvtest::CorpusFiles({".mid", ".kar"});
    if (files.empty()) GTEST_SKIP() << "no songs in " << LV_CORPUS_DIR;
    const auto reference = MidoTimes(files);
    if (reference.empty()) GTEST_SKIP() << "mido is not available";
    int compared = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        const auto ref = reference.find(file);
        if (ref == reference.end() || ref->second.Rejected) continue;
        lv::TSong song;
        try {
            lv::OpenSong(song, file);
        } catch (const std::exception&) {
            continue; // what fails to open is the reader tests' business
        }
        // An SMPTE division is taken as ticks per quarter here; mido reads it
        // as a negative number, so there is nothing to compare.
        if (song.Division & 0x8000) continue;
        std::int32_t latest = 0;
        for (std::size_t t = 0; t < song.TrackCount; ++t) {
            for (const auto& e : song.Tracks[t].Events) {
                if (!e.IsChannel()) continue;
                const auto at = ref->second.MsAtTick.find(e.Tick);
                if (at == ref->second.MsAtTick.end()) continue;
                // Two roundings to whole ms: the zone start and the part within.
                EXPECT_LE(std::abs(e.TimeMs - at->second), 1.0001) << "tick " << e.Tick;
                EXPECT_EQ(e.TimeMs, lv::TickToMs(song, e.Tick));
                latest = std::max(latest, e.TimeMs);
                ++compared;
            }
        }
        EXPECT_GE(song.SongLengthMs, latest);
    }
    EXPECT_GT(compared, 100);
}

TEST(CorpusTimes, ManyTempoChangesAgreeWithMido) {
    // Tempo changes at odd ticks with odd tempos, in the first track; notes in
    // the second every 37 ticks.
    const std::string dir = lvtest::MakeTempDir("lv_timemap");
    std::vector<std::string> files;
    for (int division : {96, 480, 1000}) {
        lvtest::TSmfBuilder smf(1, division);
        auto& map = smf.AddTrack();
        const std::uint32_t tempos[] = {517241, 333333, 1234567, 250000, 600001, 499999};
        map.Tempo(0, 500000).TimeSig(0, 6, 3);
        for (int i = 0; i < 30; ++i)
            map.Tempo(i == 0 ? 7 : 97 + i, tempos[i % 6]);
        map.TimeSig(5, 3, 2).EndOfTrack();
        auto& notes = smf.AddTrack();
        for (int i = 0; i < 120; ++i)
            notes.NoteOn(i == 0 ? 0 : 30, 0, 60, 100).NoteOff(7, 0, 60);
        notes.EndOfTrack();
        files.push_back(dir + "/tempo" + std::to_string(division) + ".mid");
        lvtest::WriteFileBytes(files.back(), smf.Build());
    }
    const auto reference = MidoTimes(files);
    if (reference.empty()) GTEST_SKIP() << "mido is not available";
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        const auto& ref = reference.at(file);
        ASSERT_FALSE(ref.Rejected);
        lv::TSong song;
        lv::OpenSong(song, file);
        ASSERT_GT(song.TimeZoneCount, 30);
        int compared = 0;
        for (const auto& e : song.Tracks[1].Events) {
            if (!e.IsChannel()) continue;
            const auto at = ref.MsAtTick.find(e.Tick);
            ASSERT_NE(at, ref.MsAtTick.end()) << "tick " << e.Tick;
            EXPECT_LE(std::abs(e.TimeMs - at->second), 1.0001) << "tick " << e.Tick;
            ++compared;
        }
        EXPECT_EQ(compared, 240);
    }
    std::filesystem::remove_all(dir);
}
