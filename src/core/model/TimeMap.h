#pragma once
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

// Rebuilds TimeZones from Tempos and TimeSigns (inserting the 120 BPM and 4/4
// defaults at tick 0 when missing) and sets CurrentBPM. Raises ERangeError when
// a bar, beat or millisecond value leaves its field.
void BuildTimeZones(TSong& song);
// TimeMs of every event of every track; sets song.SongLengthMs.
void ComputeEventTimes(TSong& song);
// "001.01.000" at 480 ticks per quarter.
std::string TickToPosText(const TSong& song, std::int32_t tick);
// Index of the zone holding tick (the last zone in use when none does).
std::int32_t FindZone(const TSong& song, std::int32_t tick);
// Milliseconds of a tick through the zone table, rounded halves to even.
std::int32_t TickToMs(const TSong& song, std::int32_t tick);

// Bar, beat and tick within the beat of an absolute tick, all counted as the
// position text shows them (bar and beat from 1, tick from 0).
struct TMusicalPos {
    std::int32_t Bar = 1;
    std::int32_t Beat = 1;
    std::int32_t BeatTick = 0;
};
TMusicalPos TickToMusicalPos(const TSong& song, std::int32_t tick);
// Ticks per beat of a zone: Division * 4 / Denominator, at least 1.
std::int32_t TicksPerBeat(const TSong& song, const TTimeZone& zone);
// Digits of the tick field of position texts: 1 below a Division of 10, 2 below
// 100, 3 below 1000, 4 below 10000, else 5.
int DivisionDigits(std::uint16_t division);
// The position text of header entries and recorded syllables: bar with leading
// zeros to DivisionDigits, beat to 2 digits, tick within the beat to 3 digits.
std::string TickToHeaderPosText(const TSong& song, std::int32_t tick);

// Index of the zone holding a time in ms: the first zone whose StartMs is at
// most ms and whose successor's StartMs is above it, else the last zone in use.
std::int32_t FindZoneByMs(const TSong& song, std::int32_t ms);
// Tick of a time in ms: zone Tick + round((ms - StartMs) / MsPerTick).
std::int32_t MsToTick(const TSong& song, std::int32_t ms);

} // namespace lv
