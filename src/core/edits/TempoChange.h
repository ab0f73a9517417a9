#pragma once
// Making the whole song faster or slower by whole beats per minute.
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

class TMidiPlayer;

// The slowest tempo a shift produces: 4 BPM is the lowest whole BPM whose
// tempo (15 000 000 microseconds per quarter) still fits the three bytes of
// a tempo event. A shift that would go below it stops there.
inline constexpr std::int64_t kMinShiftedBpm = 4;
inline constexpr int kTempoDifferenceLimit = 40;

// What the tempo dialog remembers between OKs.
struct TTempoDialogState {
    std::int16_t Displayed = 0; // the difference shown
    std::int16_t Applied = 0;   // the difference the last OK applied
};

// Shifts every tempo event of the first track by delta BPM from its tempo as
// it stands, and the matching tempo map entries (OrigTempo stays). Only the
// event data and the map change; times are not recomputed.
void ShiftTempos(TSong& song, int delta);

// OK of the tempo dialog. When the shown difference differs from the applied
// one: pauses a playing player, shifts by the change, recomputes zones and
// event times, and puts the player at 0. Returns whether anything changed.
bool ApplyTempoDifference(TSong& song, TTempoDialogState& state, TMidiPlayer* player);

// The song's first tempo as loaded, in BPM (the dialog's read-only value).
std::int64_t LoadedTempoBpm(const TSong& song);
// "+0", "+5", "-12".
std::string SignedText(int value);

} // namespace lv
