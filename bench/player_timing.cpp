// How punctually the player sends: a dense generated song (by default 2 000
// events per second for 20 s over 16 tracks) through the capture backend.
// Prints the lateness of each send against its TimeMs (median, 99th
// percentile, maximum, in microseconds) and the player thread's CPU time per
// second of song.
//
//   bench_player_timing [--seconds N] [--rate EVENTS_PER_S] [--busy THREADS]
//
// --busy starts that many spinning threads of its own for the run, to see the
// figures with the other core loaded.
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "playback/MidiPlayer.h"

using namespace lv;
using Clock = std::chrono::steady_clock;

namespace {

double ThreadCpuSeconds(pthread_t thread) {
    clockid_t id;
    if (pthread_getcpuclockid(thread, &id) != 0) return -1;
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Events at evenly spread microsecond offsets, rounded to whole ms as the time
// map does; notes alternate on and off, tracks take turns.
void BuildSong(TSong& song, int seconds, int rate, std::vector<std::int32_t>& times) {
    constexpr int kTracks = 16;
    song.TrackCount = kTracks;
    song.Division = 480;
    song.Tracks.assign(kTracks + 2, TTrack{});
    for (auto& t : song.Tracks)
        t.Events.push_back(MakePortHead());
    const long long total = static_cast<long long>(seconds) * rate;
    for (long long i = 0; i < total; ++i) {
        const auto ms = static_cast<std::int32_t>(i * 1000 / rate);
        const int track = static_cast<int>(i % kTracks);
        const auto key = static_cast<std::uint8_t>(36 + (i / kTracks) % 60);
        TMidiEvent e =
            MakeShortEvent(static_cast<std::uint8_t>(((i / kTracks) % 2 ? 0x80 : 0x90) | track),
                           key, (i / kTracks) % 2 ? 64 : 100, ms);
        e.TimeMs = ms;
        song.Tracks[static_cast<std::size_t>(track)].Events.push_back(e);
        times.push_back(ms);
    }
    const std::int32_t length = times.empty() ? 0 : times.back();
    for (auto& t : song.Tracks) {
        TMidiEvent end = MakeEndOfTrack(length);
        end.TimeMs = length;
        t.Events.push_back(end);
        t.PlayCursor = t.Head();
    }
    song.SongLengthMs = length;
    song.SongLoaded = true;
}

} // namespace

int main(int argc, char** argv) {
    int seconds = 20, rate = 2000, busy = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--rate"))
            rate = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--busy"))
            busy = std::atoi(argv[i + 1]);
    }
    if (seconds <= 0 || rate <= 0 || busy < 0) {
        std::fprintf(
            stderr,
            "usage: bench_player_timing [--seconds N] [--rate EVENTS_PER_S] [--busy THREADS]\n");
        return 2;
    }

    TSong song;
    std::vector<std::int32_t> times;
    BuildSong(song, seconds, rate, times);
    TCaptureOutput out;
    out.Reserve(times.size() + 64);

    std::atomic<bool> stopBusy{false};
    std::vector<std::thread> spinners;
    for (int i = 0; i < busy; ++i)
        spinners.emplace_back([&] {
            volatile unsigned long long x = 0;
            while (!stopBusy.load(std::memory_order_relaxed))
                x = x + 1;
        });

    double cpu = 0;
    Clock::time_point start;
    {
        TMidiPlayer player(song, out);
        player.SelectDevice();
        int policy = 0;
        sched_param param{};
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let the thread set itself up
        pthread_getschedparam(player.ThreadHandle(), &policy, &param);
        std::printf("player thread: %s priority %d\n",
                    policy == SCHED_FIFO ? "SCHED_FIFO" : "SCHED_OTHER", param.sched_priority);
        const double cpuBefore = ThreadCpuSeconds(player.ThreadHandle());
        if (!player.Start()) {
            std::fprintf(stderr, "the player did not start\n");
            return 1;
        }
        while (player.IsPlaying())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        start = player.StartTime();
        cpu = ThreadCpuSeconds(player.ThreadHandle()) - cpuBefore;
    }
    stopBusy = true;
    for (auto& t : spinners)
        t.join();

    const auto sent = out.Sent();
    if (sent.size() < times.size()) {
        std::fprintf(stderr, "only %zu of %zu events were sent\n", sent.size(), times.size());
        return 1;
    }
    std::vector<double> late;
    late.reserve(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        const auto due = start + std::chrono::milliseconds(times[i]);
        late.push_back(std::chrono::duration<double, std::micro>(sent[i].Time - due).count());
    }
    std::sort(late.begin(), late.end());
    const auto at = [&](double q) {
        return late[static_cast<std::size_t>(q * static_cast<double>(late.size() - 1))];
    };
    std::printf("events %zu over %d s (%d/s), busy threads %d\n", times.size(), seconds, rate,
                busy);
    std::printf("lateness us: min %.1f  median %.1f  p90 %.1f  p99 %.1f  p99.9 %.1f  max %.1f\n",
                late.front(), at(0.5), at(0.9), at(0.99), at(0.999), late.back());
    const auto overMs =
        std::count_if(late.begin(), late.end(), [](double us) { return us > 1000.0; });
    std::printf("sent more than 1 ms late: %.2f %%\n",
                100.0 * static_cast<double>(overMs) / static_cast<double>(late.size()));
    std::printf("player thread CPU: %.2f ms per second of song (%.3f s in all)\n",
                cpu * 1000.0 / seconds, cpu);
    return 0;
}
