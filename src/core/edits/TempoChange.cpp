#include "edits/TempoChange.h"

#include <algorithm>
#include <cmath>

#include "model/TimeMap.h"
#include "playback/MidiPlayer.h"
#include "playback/TempoEvents.h"

namespace lv {

void ShiftTempos(TSong& song, int delta) {
    ForEachTempoEvent(song, [delta](TMidiEvent& e, TTempo* entry) {
        const std::uint32_t current = TempoOfEvent(e);
        if (current == 0) return; // a broken tempo event is left as it is
        const std::int64_t bpm = BpmOfTempo(current);
        const std::int64_t shifted =
            std::clamp<std::int64_t>(bpm + delta, kMinShiftedBpm, 60000000);
        const auto tempo =
            static_cast<std::uint32_t>(std::nearbyint(60000000.0 / static_cast<double>(shifted)));
        SetTempoOfEvent(e, tempo);
        if (entry) {
            entry->BPM = BpmField(shifted);
            entry->Tempo = static_cast<std::int32_t>(tempo);
        }
    });
}

bool ApplyTempoDifference(TSong& song, TTempoDialogState& state, TMidiPlayer* player) {
    state.Displayed = static_cast<std::int16_t>(
        std::clamp<int>(state.Displayed, -kTempoDifferenceLimit, kTempoDifferenceLimit));
    if (state.Displayed == state.Applied || !song.SongLoaded) return false;
    const int delta = state.Displayed - state.Applied;
    state.Applied = state.Displayed;
    // Tempo events and times are rewritten: the player must not be reading them.
    if (player && player->IsPlaying()) player->Stop();
    ShiftTempos(song, delta);
    BuildTimeZones(song);
    ComputeEventTimes(song);
    if (player) player->Locate(0);
    song.SelectedSyllable = 0;
    return true;
}

std::int64_t LoadedTempoBpm(const TSong& song) {
    if (song.Tempos.empty() || song.Tempos.front().OrigTempo <= 0) return 0;
    return BpmOfTempo(static_cast<std::uint32_t>(song.Tempos.front().OrigTempo));
}

std::string SignedText(int value) {
    return (value >= 0 ? "+" : "") + std::to_string(value);
}

} // namespace lv
