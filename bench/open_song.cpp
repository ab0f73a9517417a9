// Speed of opening songs with the whole open pipeline.
//   bench_open_song [ROUNDS]   a large generated song (16 tracks, 500 000 channel
//                              events, 3 000 lyric events, 50 tempo changes),
//                              opened ROUNDS times (default 5): ms per open and
//                              events per second
//   bench_open_song DIR        every .mid below DIR: files per second
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/OpenSong.h"
#include "model/Reader.h"

namespace {

using Clock = std::chrono::steady_clock;
using lv::AByte;

void Vlq(AByte& out, std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while ((v >>= 7) != 0)
        buf[n++] = static_cast<std::uint8_t>((v & 0x7F) | 0x80);
    while (n > 0)
        out.push_back(buf[--n]);
}

void Chunk(AByte& file, const AByte& body) {
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    const auto n = static_cast<std::uint32_t>(body.size());
    for (int s = 24; s >= 0; s -= 8)
        file.push_back(static_cast<std::uint8_t>(n >> s));
    file.insert(file.end(), body.begin(), body.end());
}

void Meta(AByte& t, std::uint32_t delta, int type, const std::string& data) {
    Vlq(t, delta);
    t.push_back(0xFF);
    t.push_back(static_cast<std::uint8_t>(type));
    Vlq(t, static_cast<std::uint32_t>(data.size()));
    t.insert(t.end(), data.begin(), data.end());
}

struct TGenerated {
    AByte Image;
    std::int64_t Events = 0; // channel, lyric and tempo events written
};

// Track 0: 50 tempo changes; track 1: melody with the lyrics; tracks 1..15 share
// the channel events.
TGenerated GenerateSong() {
    constexpr int kTracks = 16;
    constexpr int kChannelEvents = 500000;
    constexpr int kLyrics = 3000;
    constexpr int kTempos = 50;
    constexpr std::uint32_t kDivision = 480;
    TGenerated g;
    AByte& f = g.Image;
    f.insert(f.end(),
             {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, kTracks, kDivision >> 8, kDivision & 0xFF});

    const int perTrack = kChannelEvents / (kTracks - 1);
    const std::uint32_t songTicks = static_cast<std::uint32_t>(perTrack / 2) * 120;

    AByte t0;
    Meta(t0, 0, 3, "Tempo");
    Meta(t0, 0, 0x58, std::string("\x04\x02\x18\x08", 4));
    for (int k = 0; k < kTempos; ++k) {
        const std::uint32_t us = 400000 + static_cast<std::uint32_t>(k) * 4000;
        Meta(t0, k == 0 ? 0 : songTicks / kTempos, 0x51,
             std::string{char(us >> 16), char((us >> 8) & 0xFF), char(us & 0xFF)});
        ++g.Events;
    }
    Meta(t0, 0, 0x2F, "");
    Chunk(f, t0);

    int written = 0;
    for (int tr = 1; tr < kTracks; ++tr) {
        AByte t;
        const int ch = (tr - 1) % 16;
        const int count = tr == kTracks - 1 ? kChannelEvents - written : perTrack;
        const int notes = count / 2;
        const int lyricEvery = tr == 1 ? std::max(1, notes / kLyrics) : 0;
        int lyrics = 0;
        Meta(t, 0, 3, "Track " + std::to_string(tr));
        for (int n = 0; n < notes; ++n) {
            if (lyricEvery && n % lyricEvery == 0 && lyrics < kLyrics) {
                Meta(t, 0, 5, (lyrics % 8 == 7) ? "la\r" : "la");
                ++lyrics;
                ++g.Events;
            }
            const std::uint8_t key = static_cast<std::uint8_t>(48 + (n * 7 + tr) % 36);
            Vlq(t, 0);
            t.insert(t.end(), {static_cast<std::uint8_t>(0x90 | ch), key, 100});
            Vlq(t, 120);
            t.insert(t.end(), {key, 0}); // running status, velocity 0
        }
        if (count % 2) {
            Vlq(t, 0);
            t.insert(t.end(), {static_cast<std::uint8_t>(0xB0 | ch), 7, 100});
        }
        written += count;
        Meta(t, 0, 0x2F, "");
        Chunk(f, t);
    }
    g.Events += written;
    return g;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

int BenchGenerated(int rounds) {
    const TGenerated g = GenerateSong();
    std::printf("generated song: %zu bytes, %lld events\n", g.Image.size(),
                static_cast<long long>(g.Events));
    lv::TSong song;
    double best = 1e9, total = 0;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        lv::OpenSongFromImage(song, g.Image, "bench.mid");
        const double s = Seconds(Clock::now() - start);
        best = std::min(best, s);
        total += s;
    }
    // The reader alone, for comparison with the whole pipeline.
    double readBest = 1e9;
    for (int r = 0; r < rounds; ++r) {
        lv::TSong raw;
        raw.FileImage = g.Image;
        const auto start = Clock::now();
        lv::ReadMidiFile(raw);
        readBest = std::min(readBest, Seconds(Clock::now() - start));
    }
    std::printf("syllables %d, tracks %d, song length %d ms\n", song.SyllableCount, song.TrackCount,
                song.SongLengthMs);
    std::printf("open: %.1f ms mean, %.1f ms best over %d rounds\n", 1000 * total / rounds,
                1000 * best, rounds);
    std::printf("events per second: %.0f (best round)\n", static_cast<double>(g.Events) / best);
    std::printf("reader alone: %.1f ms best, %.0f events per second\n", 1000 * readBest,
                static_cast<double>(g.Events) / readBest);
    return 0;
}

int BenchFolder(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (e.is_regular_file() && ext == ".mid") files.push_back(e.path().string());
    }
    int opened = 0, failed = 0;
    lv::TSong song;
    const auto start = Clock::now();
    for (const auto& f : files) {
        try {
            lv::OpenSong(song, f);
            ++opened;
        } catch (const std::exception&) {
            ++failed;
        }
    }
    const double s = Seconds(Clock::now() - start);
    std::printf("%zu files (%d opened, %d refused) in %.3f s: %.0f files per second\n",
                files.size(), opened, failed, s, s > 0 ? files.size() / s : 0.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 1 && std::filesystem::is_directory(argv[1])) return BenchFolder(argv[1]);
        const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
        return BenchGenerated(rounds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
