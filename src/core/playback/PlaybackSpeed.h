#pragma once
#include "model/Song.h"

namespace lv {

// Rescales the tempo events of track 0 and the tempo map to Config.PlaybackSpeed
// (computed from OrigTempo), without recomputing times.
void ApplyPlaybackSpeed(TSong& song);

} // namespace lv
