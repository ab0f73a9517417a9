#include "playback/TempoEvents.h"

#include <algorithm>
#include <cmath>

namespace lv {

std::uint32_t TempoOfEvent(const TMidiEvent& e) {
    if (e.Data.size() < 3) return 0;
    const auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(e.Data[i]));
    };
    return (b(0) << 16) | (b(1) << 8) | b(2);
}

void SetTempoOfEvent(TMidiEvent& e, std::uint32_t usPerQuarter) {
    if (e.Data.size() < 3) e.Data.resize(3);
    e.Data[0] = static_cast<char>((usPerQuarter >> 16) & 0xFF);
    e.Data[1] = static_cast<char>((usPerQuarter >> 8) & 0xFF);
    e.Data[2] = static_cast<char>(usPerQuarter & 0xFF);
    e.Length = static_cast<std::int32_t>(e.Data.size());
}

std::int64_t BpmOfTempo(std::uint32_t usPerQuarter) {
    if (usPerQuarter == 0) return 0;
    return static_cast<std::int64_t>(std::nearbyint(60000000.0 / usPerQuarter));
}

std::uint16_t BpmField(std::int64_t bpm) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(bpm, 0, 65535));
}

} // namespace lv
