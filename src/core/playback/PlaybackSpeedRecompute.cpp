#include "playback/PlaybackSpeedRecompute.h"

#include "model/TimeMap.h"
#include "playback/MidiPlayer.h"
#include "playback/PlaybackSpeed.h"
#include "playback/TempoEvents.h"

namespace lv {

namespace {

void PausePlayer(TMidiPlayer* player) {
    if (player && player->IsPlaying()) player->Stop();
}

void Recompute(TSong& song) {
    BuildTimeZones(song);
    ComputeEventTimes(song);
    song.SyllableCursor = 0;
    song.SelectedSyllable = 0;
}

} // namespace

void ApplyPlaybackSpeedAndRecompute(TSong& song, TMidiPlayer* player) {
    if (!song.SongLoaded) return;
    PausePlayer(player);
    ApplyPlaybackSpeed(song);
    Recompute(song);
}

void RestoreFileTempo(TSong& song, TMidiPlayer* player) {
    if (!song.SongLoaded) return;
    PausePlayer(player);
    ForEachTempoEvent(song, [](TMidiEvent& e, TTempo* entry) {
        if (!entry || entry->OrigTempo <= 0) return;
        SetTempoOfEvent(e, static_cast<std::uint32_t>(entry->OrigTempo));
        entry->Tempo = entry->OrigTempo;
        entry->BPM = BpmField(BpmOfTempo(static_cast<std::uint32_t>(entry->OrigTempo)));
    });
    Recompute(song);
}

} // namespace lv
