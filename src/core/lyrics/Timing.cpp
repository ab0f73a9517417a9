#include "lyrics/Timing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "lyrics/TextView.h"
#include "model/TimeMap.h"

namespace lv {

namespace {

constexpr double kTickLimit = 1073741824.0; // 2^30: beyond any real song, far from overflow

std::int32_t Count(const TSong& song) {
    return std::min<std::int32_t>(song.SyllableCount,
                                  static_cast<std::int32_t>(song.Syllables.size()));
}

std::int32_t ClampTick(double t) {
    return static_cast<std::int32_t>(std::clamp(t, -kTickLimit, kTickLimit));
}

void Finish(TSong& song) {
    const std::int32_t count = Count(song);
    for (std::int32_t i = 0; i < count; ++i)
        song.Syllables[i].PosText = TickToPosText(song, song.Syllables[i].Tick);
    RebuildLyricEvents(song);
}

// Entries not later than their predecessor (or, with equalAllowed, earlier
// than it) follow it by 4 ticks.
void Order(TSong& song, bool equalAllowed) {
    const std::int32_t count = Count(song);
    AHyphens& s = song.Syllables;
    for (std::int32_t q = 1; q < count; ++q) {
        const bool early = equalAllowed ? s[q].Tick < s[q - 1].Tick : s[q].Tick <= s[q - 1].Tick;
        if (early) s[q].Tick = s[q - 1].Tick + 4;
    }
}

} // namespace

std::int32_t QuantizeGrid(const TSong& song) {
    switch (song.Config.QuantizeFactor) {
    case 0:
        return song.Division;
    case 2:
        return song.Division / 3;
    case 3:
        return song.Division / 4;
    default:
        return song.Division / 2;
    }
}

void QuantizeLyrics(TSong& song) {
    const double g = std::max<std::int32_t>(QuantizeGrid(song), 1);
    const std::int32_t count = Count(song);
    for (std::int32_t i = 0; i < count; ++i) {
        THyphens& e = song.Syllables[i];
        e.SavedTick = e.Tick;
        e.Tick = ClampTick(std::nearbyint(e.Tick / g) * g);
    }
    Order(song, false);
    Finish(song);
}

void UndoQuantizeLyrics(TSong& song) {
    const std::int32_t count = Count(song);
    for (std::int32_t i = 0; i < count; ++i)
        song.Syllables[i].Tick = song.Syllables[i].SavedTick;
    Order(song, false);
    Finish(song);
}

void MoveLyrics(TSong& song, std::int32_t ms) {
    const std::int32_t count = Count(song);
    const auto zoneCount = static_cast<std::int32_t>(song.TimeZones.size());
    const double m = ms;
    for (std::int32_t i = 4; i < count && zoneCount > 0; ++i) {
        THyphens& e = song.Syllables[i];
        const double t = e.Tick;
        const std::int32_t z = std::clamp(FindZone(song, e.Tick), 0, zoneCount - 1);
        const double rz = song.TimeZones[z].MsPerTick;
        if (!(rz > 0)) continue; // a zone without a tempo cannot convert milliseconds
        const double sz = song.TimeZones[z].Tick;
        const bool hasNext = z + 1 < zoneCount;
        const double sNext = hasNext ? song.TimeZones[z + 1].Tick : 0;
        const double d = std::nearbyint(m / rz);
        double tick;
        if (hasNext && t + d > sNext && song.TimeZones[z + 1].MsPerTick > 0) {
            // Up to the boundary at this zone's rate, the rest at the next one's.
            const double rest = m + std::nearbyint((t - sNext) * rz);
            tick = sNext + std::nearbyint(rest / song.TimeZones[z + 1].MsPerTick);
        } else if (t + d >= sz) {
            tick = t + d;
        } else if (t + d < 0) {
            tick = 0;
        } else if (z > 0 && song.TimeZones[z - 1].MsPerTick > 0) {
            const double rest = m + std::nearbyint((t - sz) * rz);
            tick = sz + std::nearbyint(rest / song.TimeZones[z - 1].MsPerTick);
        } else {
            tick = t + d;
        }
        e.Tick = ClampTick(tick);
    }
    if (count > 0 && song.Syllables[0].Tick < 108) song.Syllables[0].Tick = 108;
    Order(song, true);
    Finish(song);
}

std::int32_t ParseMoveMs(const std::string& text) {
    std::size_t from = 0, to = text.size();
    while (from < to && (text[from] == ' ' || text[from] == '\t'))
        ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t'))
        --to;
    const char* b = text.data() + from;
    const char* e = text.data() + to;
    if (b != e && *b == '+') ++b;
    std::int32_t v = 0;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e) return 0;
    return v;
}

} // namespace lv
