// Speed of the time map and the lyric upkeep.
//   bench_lyrics_upkeep [ROUNDS]  a generated song in memory (16 tracks, 500 000
//                                 channel events, 3 000 lyric events, 50 tempo and
//                                 10 time signature changes), ROUNDS times
//                                 (default 5): ms per step
//   bench_lyrics_upkeep DIR       every .mid and .kar below DIR opened, then the
//                                 same steps timed per file; one line per file
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "lyrics/TextView.h"
#include "model/Extract.h"
#include "model/OpenSong.h"
#include "model/TimeMap.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int kTracks = 16;
constexpr int kChannelEvents = 500000;
constexpr int kLyrics = 3000;
constexpr int kTempos = 50;
constexpr int kSigns = 10;

lv::TSong MakeBigSong() {
    lv::TSong song;
    song.SourceFormat = 1;
    song.TrackCount = kTracks;
    song.Division = 480;
    const std::int32_t step = 24;
    const std::int32_t end = kChannelEvents / kTracks * step;
    song.SongEndTick = end;
    song.Tracks.resize(kTracks + 2);
    for (auto& t : song.Tracks) {
        t.Events.push_back(lv::MakePortHead());
        t.EventCount = 1;
    }
    song.LyricsTrack().Events.push_back(lv::MakeMetaEvent(3, "Lyrics", 0));
    song.PrompterTrack().Events.push_back(lv::MakeMetaEvent(3, "Suffloer", 0));
    for (int k = 0; k < kTracks; ++k) {
        auto& t = song.Tracks[static_cast<std::size_t>(k)];
        for (int i = 0; i < kChannelEvents / kTracks; ++i) {
            const auto status = static_cast<std::uint8_t>((i % 2 ? 0x80 : 0x90) | (k % 16));
            t.Events.push_back(lv::MakeShortEvent(status, 60, 100, i * step));
            ++t.EventCount;
        }
    }
    for (int i = 0; i < kLyrics; ++i) {
        std::string text = (i % 8 == 7) ? "\r" : (i % 2 ? "la " : "li");
        song.LyricsTrack().Events.push_back(lv::MakeMetaEvent(
            5, text, static_cast<std::int32_t>(960 + std::int64_t{i} * (end - 1920) / kLyrics)));
        ++song.LyricsTrack().EventCount;
    }
    for (auto& t : song.Tracks) {
        t.Events.push_back(lv::MakeEndOfTrack(end));
        ++t.EventCount;
        t.PlayCursor = t.Head();
    }
    for (int i = 0; i <= kTempos; ++i) {
        lv::TTempo tempo;
        tempo.Tick = i < kTempos ? i * (end / kTempos) : end + 1;
        tempo.Tempo = tempo.OrigTempo = tempo.FileTempo = 400000 + 5000 * (i % 20);
        tempo.BPM = static_cast<std::uint16_t>(std::nearbyint(60000000.0 / tempo.Tempo));
        song.Tempos.push_back(tempo);
    }
    song.TempoCount = kTempos + 1;
    for (int i = 0; i <= kSigns; ++i) {
        lv::TTimeSign sign;
        sign.Tick = i < kSigns ? i * 1920 * 20 : end + 1;
        sign.Numerator = static_cast<std::uint8_t>(i % 2 ? 3 : 4);
        sign.Denominator = 4;
        song.TimeSigns.push_back(sign);
    }
    song.TimeSignCount = kSigns + 1;
    return song;
}

struct TFigures {
    double Zones = 0, Times = 0, Extract = 0, PosTexts = 0, View = 0, Highlight = 0, Rebuild = 0;
};

// The upkeep steps on a song whose maps are complete.
TFigures TimeSteps(lv::TSong& song, bool extract) {
    TFigures f;
    auto t = Clock::now();
    lv::BuildTimeZones(song);
    f.Zones = MsSince(t);
    t = Clock::now();
    lv::ComputeEventTimes(song);
    f.Times = MsSince(t);
    if (extract) {
        t = Clock::now();
        lv::ExtractLyrics(song);
        f.Extract = MsSince(t);
    }
    t = Clock::now();
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        song.Syllables[static_cast<std::size_t>(i)].PosText =
            lv::TickToPosText(song, song.Syllables[static_cast<std::size_t>(i)].Tick);
    f.PosTexts = MsSince(t);
    t = Clock::now();
    const std::string view = lv::FillTextView(song);
    f.View = MsSince(t);
    t = Clock::now();
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        lv::HighlightSyllable(song, i, view);
    f.Highlight = MsSince(t);
    t = Clock::now();
    if (song.SyllableCount > 0) lv::RebuildLyricEvents(song);
    f.Rebuild = MsSince(t);
    return f;
}

std::size_t EventCount(const lv::TSong& song) {
    std::size_t n = 0;
    for (const auto& t : song.Tracks)
        n += t.Events.size();
    return n;
}

int Generated(int rounds) {
    TFigures sum;
    std::size_t events = 0;
    std::int32_t syllables = 0;
    for (int r = 0; r < rounds; ++r) {
        lv::TSong song = MakeBigSong();
        const TFigures f = TimeSteps(song, true);
        events = EventCount(song);
        syllables = song.SyllableCount;
        sum.Zones += f.Zones;
        sum.Times += f.Times;
        sum.Extract += f.Extract;
        sum.PosTexts += f.PosTexts;
        sum.View += f.View;
        sum.Highlight += f.Highlight;
        sum.Rebuild += f.Rebuild;
    }
    const double n = rounds;
    std::printf("generated song: %zu events, %d syllables, %d tempo and %d signature "
                "changes, %d rounds\n",
                events, syllables, kTempos, kSigns, rounds);
    std::printf("  BuildTimeZones        %9.3f ms\n", sum.Zones / n);
    std::printf("  ComputeEventTimes     %9.3f ms  (%.1f M events/s)\n", sum.Times / n,
                events / (sum.Times / n) / 1000.0);
    std::printf("  ExtractLyrics         %9.3f ms\n", sum.Extract / n);
    std::printf("  TickToPosText (all)   %9.3f ms\n", sum.PosTexts / n);
    std::printf("  FillTextView          %9.3f ms\n", sum.View / n);
    std::printf("  HighlightSyllable x%d %9.3f ms  (%.2f us each)\n", syllables, sum.Highlight / n,
                sum.Highlight / n * 1000.0 / std::max(1, syllables));
    std::printf("  RebuildLyricEvents    %9.3f ms\n", sum.Rebuild / n);
    return 0;
}

int Folder(const std::string& dir) {
    int files = 0, failed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (ext != ".mid" && ext != ".kar") continue;
        ++files;
        lv::TSong song;
        const std::string name = std::filesystem::relative(entry.path(), dir).string();
        try {
            lv::OpenSong(song, entry.path().string());
            const TFigures f = TimeSteps(song, false);
            std::printf("%-50s zones %4d  syllables %5d  length %7d ms  time map %.3f ms  "
                        "upkeep %.3f ms\n",
                        name.c_str(), song.TimeZoneCount, song.SyllableCount, song.SongLengthMs,
                        f.Zones + f.Times, f.PosTexts + f.View + f.Highlight + f.Rebuild);
        } catch (const std::exception& e) {
            ++failed;
            std::printf("%-50s error: %s\n", name.c_str(), e.what());
        }
    }
    std::printf("%d files, %d failed to open\n", files, failed);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::filesystem::is_directory(argv[1])) return Folder(argv[1]);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    return Generated(rounds);
}
