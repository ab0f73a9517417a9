#pragma once
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

void BuildTimeZones(TSong& song);
// TimeMs of every event of every track; sets song.SongLengthMs.
void ComputeEventTimes(TSong& song);
// "001.01.000" at 480 ticks per quarter.
std::string TickToPosText(const TSong& song, std::int32_t tick);
// Index of the zone holding tick (the last zone in use when none does).
std::int32_t FindZone(const TSong& song, std::int32_t tick);
// Milliseconds of a tick through the zone table, rounded halves to even.
std::int32_t TickToMs(const TSong& song, std::int32_t tick);

} // namespace lv
