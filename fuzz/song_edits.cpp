// Tempo change, transposition and the position conversions on any song the
// open pipeline accepts (LV_FUZZ_SEED_CORPUS_MIDI: the real songs are the
// starting inputs). Notes must stay MIDI data bytes, tempos must stay
// at 4 BPM or faster, and nothing may crash on odd maps.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

#include "edits/TempoChange.h"
#include "edits/Transpose.h"
#include "model/OpenSong.h"
#include "model/TimeMap.h"
#include "playback/Position.h"
#include "playback/TempoEvents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The whole input is the song, so real files are good starting inputs;
    // the edit parameters come from a checksum of it.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum = sum * 31u + data[i];
    const int interval = static_cast<int>(sum % 19) - 9;
    const int mode = static_cast<int>((sum / 19) % 5);
    const int delta = static_cast<int>((sum / 95) % 81) - 40;
    const std::string entry = std::to_string(sum % 1000) + "." + std::to_string((sum / 1000) % 20) +
                              (sum % 7 == 0 ? "x" : "");
    lv::TSong song;
    try {
        lv::OpenSongFromImage(song, lv::AByte(data, data + size), "fuzz.mid");
    } catch (const std::exception&) {
        return 0;
    }
    for (bool intelligent : {false, true}) {
        lv::TransposeSong(song, interval, intelligent, mode);
        for (auto& track : song.Tracks)
            for (auto& e : track.Events)
                if (e.Kind == 1 && e.Data1 > 127 && e.Data1 != e.OrigData1) std::abort();
    }
    lv::ShiftTempos(song, delta);
    if (!song.Tracks.empty())
        for (auto& e : song.Tracks[0].Events)
            if (e.IsMeta(0x51) && lv::TempoOfEvent(e) > 15000000)
                std::abort(); // 4 BPM at the slowest
    try {
        lv::BuildTimeZones(song);
        lv::ComputeEventTimes(song);
    } catch (const std::exception&) {
        return 0; // range errors of the time map are reported, not crashes
    }
    for (std::int32_t ms : {0, song.SongLengthMs / 2, song.SongLengthMs}) {
        (void)lv::BarBeatText(lv::BarBeatOfPosition(song, ms, 50));
        (void)lv::TickOfPosition(song, lv::FindZoneOfMs(song, ms), ms);
    }
    (void)lv::PositionEntryTarget(song, entry);
    (void)lv::PositionEntryTarget(song, lv::AcceptPositionEntry(entry, "1.01"));
    return 0;
}
