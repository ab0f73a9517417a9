#include "playback/PlaybackSpeed.h"

#include <cstdint>

#include "playback/TempoEvents.h"

namespace lv {

void ApplyPlaybackSpeed(TSong& song) {
    // Index 0..5 = 100 %, 90 %, 80 %, 70 %, 60 %, 50 %; an unknown index plays at 100 %.
    static const int kPercent[6] = {100, 90, 80, 70, 60, 50};
    const int percent = song.Config.PlaybackSpeed < 6 ? kPercent[song.Config.PlaybackSpeed] : 100;
    ForEachTempoEvent(song, [percent](TMidiEvent& e, TTempo* entry) {
        if (!entry) return;
        // Always from the tempo as loaded, so speed changes never accumulate.
        std::int64_t tempo = static_cast<std::int64_t>(entry->OrigTempo) * 100 / percent;
        // Three data bytes hold at most 0xFFFFFF; slower is not representable.
        if (tempo > 0xFFFFFF) tempo = 0xFFFFFF;
        if (tempo < 1) tempo = 1;
        SetTempoOfEvent(e, static_cast<std::uint32_t>(tempo));
        entry->Tempo = static_cast<std::int32_t>(tempo);
        entry->BPM = BpmField(BpmOfTempo(static_cast<std::uint32_t>(tempo)));
    });
}

} // namespace lv
