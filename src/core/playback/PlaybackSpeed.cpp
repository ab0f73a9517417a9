#include "playback/PlaybackSpeed.h"

#include <cmath>
#include <cstdint>

namespace lv {

void ApplyPlaybackSpeed(TSong& song) {
    // Index 0..5 = 100 %, 90 %, 80 %, 70 %, 60 %, 50 %; an unknown index plays at 100 %.
    static const int kPercent[6] = {100, 90, 80, 70, 60, 50};
    const int percent = song.Config.PlaybackSpeed < 6 ? kPercent[song.Config.PlaybackSpeed] : 100;
    if (song.Tracks.empty() || !song.Tracks[0].HasHead()) return;
    std::size_t entry = 0;
    for (TMidiEvent& e : song.Tracks[0].Events) {
        // Only complete tempo events made a map entry when the song was read.
        if (!e.IsMeta(0x51) || e.Data.size() < 3) continue;
        // Entries are met in the order of the events; a default entry put in
        // front of the map has no event and is passed over by its tick.
        std::size_t k = entry;
        while (k < song.Tempos.size() && song.Tempos[k].Tick != e.Tick)
            ++k;
        if (k >= song.Tempos.size()) continue;
        entry = k + 1;
        TTempo& t = song.Tempos[k];
        std::int64_t tempo = static_cast<std::int64_t>(t.OrigTempo) * 100 / percent;
        // Three data bytes hold at most 0xFFFFFF; slower is not representable.
        if (tempo > 0xFFFFFF) tempo = 0xFFFFFF;
        if (tempo < 1) tempo = 1;
        e.Data[0] = static_cast<char>((tempo >> 16) & 0xFF);
        e.Data[1] = static_cast<char>((tempo >> 8) & 0xFF);
        e.Data[2] = static_cast<char>(tempo & 0xFF);
        t.Tempo = static_cast<std::int32_t>(tempo);
        const double bpm = std::nearbyint(60000000.0 / static_cast<double>(tempo));
        t.BPM = bpm > 65535.0 ? 65535 : static_cast<std::uint16_t>(bpm);
    }
}

} // namespace lv
