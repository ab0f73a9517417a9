#include "playback/Position.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace lv {

namespace {

std::int32_t ZonesInUse(const TSong& song) {
    return std::clamp<std::int32_t>(song.TimeZoneCount, 0,
                                    static_cast<std::int32_t>(song.TimeZones.size()));
}

std::string Padded(std::int64_t value, int width) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

} // namespace

std::int32_t FindZoneOfMs(const TSong& song, std::int32_t ms) {
    const std::int32_t used = ZonesInUse(song);
    if (used == 0) return 0;
    for (std::int32_t i = 0; i + 1 < used; ++i)
        if (song.TimeZones[static_cast<std::size_t>(i)].StartMs <= ms &&
            ms < song.TimeZones[static_cast<std::size_t>(i) + 1].StartMs)
            return i;
    return used - 1;
}

std::int32_t TickOfPosition(const TSong& song, std::int32_t zone, std::int32_t ms) {
    if (zone < 0 || static_cast<std::size_t>(zone) >= song.TimeZones.size()) return 0;
    const TTimeZone& z = song.TimeZones[static_cast<std::size_t>(zone)];
    if (!(z.MsPerTick > 0.f)) return z.Tick;
    const double ticks =
        std::nearbyint(static_cast<double>(ms - z.StartMs) / static_cast<double>(z.MsPerTick));
    return static_cast<std::int32_t>(std::clamp<double>(z.Tick + ticks, INT32_MIN, INT32_MAX));
}

TBarBeat BarBeatOfPosition(const TSong& song, std::int32_t ms, std::int32_t leadMs) {
    if (ZonesInUse(song) == 0) return {};
    const TTimeZone& z = song.TimeZones[static_cast<std::size_t>(FindZoneOfMs(song, ms))];
    // A broken time signature or tempo must not divide by zero.
    const std::int64_t numerator = std::max<std::int64_t>(z.Numerator, 1);
    const std::int64_t beatUs = std::max<std::int64_t>(
        static_cast<std::int64_t>(z.Tempo) * 4 / std::max<std::int64_t>(z.Denominator, 1), 1);
    const std::int64_t k = std::max<std::int64_t>(
        (static_cast<std::int64_t>(ms) - z.StartMs + leadMs) * 1000 / beatUs, 0);
    TBarBeat bb{k / numerator + z.Bar, k % numerator + z.Beat};
    while (bb.Beat > numerator) {
        bb.Beat -= numerator;
        ++bb.Bar;
    }
    return bb;
}

std::string BarBeatText(const TBarBeat& bb) {
    return std::to_string(bb.Bar) + "." + Padded(bb.Beat, 2);
}

std::string TimeTooltipText(std::int32_t ms) {
    if (ms < 0) return std::to_string(ms) + " ms";
    const std::int32_t mmm = ms % 1000;
    const std::int32_t s = (ms % 60000) / 1000;
    const std::int32_t min = ms / 60000;
    if (min > 0) return std::to_string(min) + ":" + Padded(s, 2) + "." + Padded(mmm, 3);
    if (s > 0) return std::to_string(s) + "." + Padded(mmm, 3) + " s";
    return std::to_string(ms) + " ms";
}

std::string AcceptPositionEntry(const std::string& text, const std::string& lastAccepted) {
    if (text == lastAccepted) return lastAccepted;
    int points = 0;
    for (char c : text) {
        if (c == '.') {
            if (++points > 1) return lastAccepted;
        } else if (!std::isdigit(static_cast<unsigned char>(c))) {
            return lastAccepted;
        }
    }
    return text;
}

std::int64_t PositionSearchKey(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    // 15 digits and three zeros stay well inside 64 bits.
    if (digits.empty() || digits.size() > 15) return -1;
    return std::stoll(digits + "000");
}

std::int64_t ZoneKey(const TTimeZone& zone) {
    return std::stoll(std::to_string(zone.Bar) + Padded(zone.Beat, 2) + Padded(zone.BeatTick, 3));
}

TPositionTarget PositionEntryTarget(const TSong& song, const std::string& text) {
    TPositionTarget result;
    const auto point = text.find('.');
    if (point == std::string::npos) return result;
    const std::int64_t key = PositionSearchKey(text);
    const std::int32_t used = ZonesInUse(song);
    if (key < 0 || used < 2) return result;

    std::int32_t zone = -1;
    for (std::int32_t k = 0; k + 1 < used; ++k) {
        if (ZoneKey(song.TimeZones[static_cast<std::size_t>(k)]) <= key &&
            key < ZoneKey(song.TimeZones[static_cast<std::size_t>(k) + 1])) {
            zone = k;
            break;
        }
    }
    if (zone < 0) {
        result.Zone = used - 1;
        return result;
    }

    // Bar: the digits before the first non-digit; beat: the digits after it.
    std::size_t i = 0;
    std::string barText, beatText;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        barText += text[i++];
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        beatText += text[i++];
    // The search key holds at most 15 digits, so both numbers fit.
    const std::int64_t bar = barText.empty() ? 0 : std::stoll(barText);
    const std::int64_t beat = beatText.empty() ? 0 : std::stoll(beatText);

    const TTimeZone& z = song.TimeZones[static_cast<std::size_t>(zone)];
    const std::int64_t beats = (bar - z.Bar) * z.Numerator + beat - z.Beat;
    const std::int64_t ticks =
        beats * song.Division * 4 / std::max<std::int64_t>(z.Denominator, 1) - z.BeatTick;
    const double ms = std::nearbyint(static_cast<double>(ticks) * static_cast<double>(z.MsPerTick));
    result.Found = true;
    result.Zone = zone;
    result.TargetMs = z.StartMs + static_cast<std::int64_t>(std::clamp<double>(ms, -1e15, 1e15));
    result.WithinSong = result.TargetMs >= 0 && result.TargetMs < song.SongLengthMs;
    return result;
}

} // namespace lv
