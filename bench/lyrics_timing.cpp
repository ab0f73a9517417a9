// Times the lyric timing commands on a long song: MTC editing there and back,
// linking, quantize and undo, move. Prints milliseconds per command.
//   bench_lyrics_timing [SYLLABLES]   (default 20000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../fuzz/FuzzSong.h"
#include "lyrics/EditorText.h"
#include "lyrics/Linking.h"
#include "lyrics/MtcEditing.h"
#include "lyrics/Timing.h"

namespace {

lv::TSong MakeLongSong(int syllables) {
    lv::TSong song = lvfuzz::MakeTrackSong(480, 240 * (syllables + 16));
    // A tempo change every 64 bars gives the conversions many zones to go through.
    std::vector<lv::TTempo> tempos;
    for (int tick = 0; tick <= song.SongEndTick; tick += 64 * 1920)
        tempos.push_back(lvfuzz::MakeTempo(tick, (tick / 1920) % 128 == 0 ? 500000 : 600000));
    lvfuzz::SetMaps(song, std::move(tempos));

    song.MelodyNotes.push_back(lv::MakePortHead());
    const char* texts[] = {"Song", "\r", "Artist", "\r"};
    for (int i = 0; i < syllables; ++i) {
        lv::THyphens h;
        h.Tick = 240 * (i + 8) + (i % 7);
        h.Text = i < 4 ? texts[i] : (i % 9 == 8 ? "\r" : (i % 3 ? "la" : "lu "));
        h.SavedTick = h.Tick;
        h.PosText = lv::TickToPosText(song, h.Tick);
        song.Syllables.push_back(h);
        song.MelodyNotes.push_back(lv::MakeShortEvent(0x90, 60, 100, 240 * (i + 8)));
    }
    song.SyllableCount = syllables;
    song.MelodyNotes.push_back(lv::MakeEndOfTrack(song.SongEndTick));
    song.MelodyNoteCount = static_cast<std::int32_t>(song.MelodyNotes.size());
    return song;
}

void Time(const char* name, const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
    std::printf("%-28s %9.2f ms\n", name, ms.count());
}

} // namespace

int main(int argc, char** argv) {
    const int syllables = argc > 1 ? std::max(8, std::atoi(argv[1])) : 20000;
    lv::TSong song = MakeLongSong(syllables);
    std::printf("%d syllables, %d time zones\n", syllables, song.TimeZoneCount);
    lv::TEditorText editor;
    Time("StartMtcEditing", [&] { lv::StartMtcEditing(song, editor); });
    Time("FinishMtcEditing", [&] { lv::FinishMtcEditing(song, editor); });
    Time("LinkSyllables", [&] { lv::LinkSyllables(song); });
    Time("QuantizeLyrics", [&] { lv::QuantizeLyrics(song); });
    Time("UndoQuantizeLyrics", [&] { lv::UndoQuantizeLyrics(song); });
    Time("MoveLyrics +750 ms", [&] { lv::MoveLyrics(song, 750); });
    Time("MoveLyrics -750 ms", [&] { lv::MoveLyrics(song, -750); });
    return 0;
}
