#pragma once
// Conversions between the player position (ms) and what the transport shows
// and accepts: bar and beat, the time tooltip, the typed bar.beat entry.
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

// The zone a position lies in: the first zone in use whose StartMs <= ms
// < the next zone's StartMs, else the last zone in use (0 when there are none).
std::int32_t FindZoneOfMs(const TSong& song, std::int32_t ms);
// The tick of a position in a zone (the transport's CurrentTick).
std::int32_t TickOfPosition(const TSong& song, std::int32_t zone, std::int32_t ms);

struct TBarBeat {
    std::int64_t Bar = 1;
    std::int64_t Beat = 1;
};
// Bar and beat of a position, leadMs ahead (50 during playback, else 0).
TBarBeat BarBeatOfPosition(const TSong& song, std::int32_t ms, std::int32_t leadMs);
// "12.03", "112.10".
std::string BarBeatText(const TBarBeat& bb);
// "2:05.123", "5.123 s", "123 ms".
std::string TimeTooltipText(std::int32_t ms);

// What the entry keeps while typing: the text when it holds only digits and
// at most one ".", else the last accepted text.
std::string AcceptPositionEntry(const std::string& text, const std::string& lastAccepted);
// All digits of the text followed by "000"; -1 when there are none or too many.
std::int64_t PositionSearchKey(const std::string& text);
// Bar, beat with two digits and beat tick with three, as one number (101000
// for bar 1, beat 1, tick 0).
std::int64_t ZoneKey(const TTimeZone& zone);

struct TPositionTarget {
    bool Found = false;     // false: nothing moves
    std::int32_t Zone = -1; // the zone of the typed position
    std::int64_t TargetMs = 0;
    bool WithinSong = false; // 0 <= target < song length: the player may be located there
};
// The position a typed "bar.beat" text stands for (Enter in the entry).
TPositionTarget PositionEntryTarget(const TSong& song, const std::string& text);

} // namespace lv
