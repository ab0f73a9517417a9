// Batch Update over a generated folder of songs, compared in the same run
// with copying the same folder (cp -r). Prints both times and their ratio.
//   bench_batch [songs] [notes per song]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "batch/BatchRunner.h"
#include "writer/SafeSave.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Vlq(Bytes& b, std::uint32_t v) {
    std::uint8_t g[5];
    int n = 0;
    g[n++] = v & 0x7F;
    while ((v >>= 7) != 0)
        g[n++] = 0x80 | (v & 0x7F);
    while (n > 0)
        b.push_back(g[--n]);
}

void Meta(Bytes& b, std::uint32_t delta, int type, const std::string& text) {
    Vlq(b, delta);
    b.push_back(0xFF);
    b.push_back(static_cast<std::uint8_t>(type));
    Vlq(b, static_cast<std::uint32_t>(text.size()));
    b.insert(b.end(), text.begin(), text.end());
}

void Chunk(Bytes& file, const Bytes& body) {
    const std::uint32_t n = static_cast<std::uint32_t>(body.size()) + 4;
    file.insert(file.end(), {'M', 'T', 'r', 'k', std::uint8_t(n >> 24), std::uint8_t(n >> 16),
                             std::uint8_t(n >> 8), std::uint8_t(n)});
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), {0, 0xFF, 0x2F, 0});
}

// A format-1 karaoke song: tempo track, melody with one lyric per note, and
// an accompaniment track.
Bytes MakeSong(int index, int notes) {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, 0x01, 0xE0};
    Bytes t0;
    Meta(t0, 0, 3, "Tempo");
    t0.insert(t0.end(), {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0xFF, 0x58, 4, 4, 2, 24, 8});
    Chunk(file, t0);
    Bytes t1;
    Meta(t1, 0, 3, "Melody");
    t1.insert(t1.end(), {0, 0xC0, 52});
    Meta(t1, 0, 5, "Song " + std::to_string(index));
    Meta(t1, 4, 5, "\r");
    Meta(t1, 4, 5, "Bench Singers");
    Meta(t1, 4, 5, "\r");
    static const char* syl[] = {"la", "la ", "lu", "le ", "li"};
    for (int i = 0; i < notes; ++i) {
        Meta(t1, 228, 5, (i % 8 == 7) ? "\r" : syl[i % 5]);
        t1.insert(t1.end(), {0, 0x90, std::uint8_t(60 + i % 12), 100});
        Vlq(t1, 200);
        t1.insert(t1.end(), {0x80, std::uint8_t(60 + i % 12), 64});
    }
    Chunk(file, t1);
    Bytes t2;
    t2.insert(t2.end(), {0, 0xC1, 33});
    for (int i = 0; i < notes * 2; ++i) {
        t2.insert(t2.end(), {0, 0x91, std::uint8_t(36 + i % 7), 90});
        Vlq(t2, 200);
        t2.insert(t2.end(), {std::uint8_t(36 + i % 7), 0});
        Vlq(t2, 16);
        t2.insert(t2.end(), {0xB1, 7, std::uint8_t(i % 128)});
    }
    Chunk(file, t2);
    return file;
}

double Seconds(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
}

} // namespace

int main(int argc, char** argv) {
    const int songs = argc > 1 ? std::atoi(argv[1]) : 400;
    const int notes = argc > 2 ? std::atoi(argv[2]) : 600;
    const fs::path root =
        fs::temp_directory_path() / ("lv-bench-batch-" + std::to_string(::getpid()));
    const fs::path folder = root / "songs";
    fs::create_directories(folder);
    std::uintmax_t total = 0;
    for (int i = 0; i < songs; ++i) {
        const fs::path sub = folder / ("set" + std::to_string(i % 8));
        fs::create_directories(sub);
        const Bytes b = MakeSong(i, notes);
        std::ofstream(sub / ("song" + std::to_string(i) + ".mid"), std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        total += b.size();
    }
    std::printf("folder: %d songs, %.1f KiB each, %.1f MiB in all\n", songs, total / 1024.0 / songs,
                total / 1048576.0);

    // Each round: cp -r of the folder, the batch update as it runs for the user
    // (every file flushed to disk before it replaces the old one), and the
    // batch update with the flush left out, which shows what the flush costs.
    double bestCp = 1e9, bestBatch = 1e9, bestNoSync = 1e9;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(root / "copy");
        const std::string cmd =
            "cp -r '" + folder.string() + "' '" + (root / "copy").string() + "'";
        auto t = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "cp failed\n");
            return 1;
        }
        bestCp = std::min(bestCp, Seconds(t));

        for (const bool sync : {true, false}) {
            lv::TSaveHooks hooks;
            if (!sync) hooks.Sync = [](int) { return 0; };
            lv::TSaveHooks old = lv::SetSaveHooks(hooks);
            lv::TSong song;
            lv::TBatchRunner runner(song);
            t = std::chrono::steady_clock::now();
            const lv::TBatchResult r =
                runner.Run(lv::TBatchMode::Update, folder.string(), {}, false);
            (sync ? bestBatch : bestNoSync) = std::min(sync ? bestBatch : bestNoSync, Seconds(t));
            lv::SetSaveHooks(old);
            if (r.Errors != 0 || r.Found != songs) {
                std::fprintf(stderr, "batch: %d of %d failed\n", r.Errors, r.Found);
                return 1;
            }
        }
    }
    std::printf("cp -r:                      %8.3f s\n", bestCp);
    std::printf("batch update:               %8.3f s  (%.2f ms per song)\n", bestBatch,
                bestBatch * 1000 / songs);
    std::printf("batch update without fsync: %8.3f s  (%.2f ms per song)\n", bestNoSync,
                bestNoSync * 1000 / songs);
    std::printf("ratio batch / cp: %.1f (without fsync: %.1f)\n", bestBatch / bestCp,
                bestNoSync / bestCp);
    fs::remove_all(root);
    return 0;
}
