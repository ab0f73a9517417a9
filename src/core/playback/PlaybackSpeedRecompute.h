#pragma once
// Playback speed changes made while a song is open (options dialog).
#include "model/Song.h"

namespace lv {

class TMidiPlayer;

// Rescales the tempos to Config.PlaybackSpeed, then recomputes the zones and
// every event time and puts the syllable scan back to the start. A playing
// player is paused first; its position is left to the caller's Locate.
void ApplyPlaybackSpeedAndRecompute(TSong& song, TMidiPlayer* player = nullptr);
// Puts back the tempos as loaded (OrigTempo), recomputes like the above.
void RestoreFileTempo(TSong& song, TMidiPlayer* player = nullptr);

} // namespace lv
