#include "model/TimeMap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/Errors.h"

namespace lv {

namespace {

constexpr std::int32_t kDefaultTempo = 500000;

[[noreturn]] void RangeError(const std::string& what) {
    throw ERangeError("Range check error: " + what);
}

std::int32_t CheckedInt32(std::int64_t value, const char* what) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        RangeError(what);
    return static_cast<std::int32_t>(value);
}

// Rounds a millisecond value to the nearest integer, halves to even, and makes
// sure it fits the 32-bit time fields.
std::int32_t RoundMs(double value) {
    if (!std::isfinite(value)) RangeError("time in ms out of range");
    const double r = std::nearbyint(value);
    if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        RangeError("time in ms out of range");
    return static_cast<std::int32_t>(r);
}

// Ticks times a zone's ms per tick; no ticks are no time even when the rate is
// not finite (a Division of 0).
double TicksToMs(std::int64_t ticks, float msPerTick) {
    if (ticks == 0) return 0.0;
    return static_cast<double>(ticks) * static_cast<double>(msPerTick);
}

TTempo DefaultTempo() {
    TTempo t;
    t.FileTempo = t.OrigTempo = t.Tempo = kDefaultTempo;
    t.Tick = 0;
    t.BPM = 120;
    return t;
}

TTimeSign DefaultTimeSign() {
    TTimeSign s;
    s.Numerator = 4;
    s.Denominator = 4;
    s.ThirtySecondsPerQuarter = 8;
    s.ClocksPerClick = 24;
    s.Tick = 0;
    return s;
}

// The zone every conversion falls back to while no table was built yet.
const TTimeZone& FallbackZone() {
    static const TTimeZone zone = [] {
        TTimeZone z;
        z.MsPerTick = 500000.0f / 1000.0f / 480.0f;
        return z;
    }();
    return zone;
}

// Number of zones that may be read: the ones in use plus the sentinel after them.
std::int32_t ZonesInUse(const TSong& song) {
    const auto size = static_cast<std::int32_t>(song.TimeZones.size());
    return std::clamp(song.TimeZoneCount, 0, size);
}

const TTimeZone& ZoneFor(const TSong& song, std::int32_t tick) {
    if (ZonesInUse(song) == 0) return FallbackZone();
    return song.TimeZones[static_cast<std::size_t>(FindZone(song, tick))];
}

// Makes sure the first entry of a map stands at tick 0: an unfilled first entry
// takes the default, otherwise the default is put in front.
template <typename TEntry>
void EnsureStartEntry(std::vector<TEntry>& map, std::int32_t& count, const TEntry& fallback) {
    count = std::clamp(count, 0, static_cast<std::int32_t>(map.size()));
    bool atZero = false;
    for (std::int32_t i = 0; i < count; ++i)
        if (map[static_cast<std::size_t>(i)].Tick == 0) atZero = true;
    if (atZero) return;
    if (count > 0 && map.front().Tick < 0) {
        map.front() = fallback;
        return;
    }
    map.insert(map.begin(), fallback);
    ++count;
}

// The filled entries of a map up to SongEndTick in tick order; entries of equal
// tick keep the order in which they were read.
template <typename TEntry>
std::vector<TEntry> SortedEntries(const std::vector<TEntry>& map, std::int32_t count,
                                  std::int32_t songEndTick) {
    std::vector<TEntry> out;
    for (std::int32_t i = 0; i < count; ++i) {
        const TEntry& e = map[static_cast<std::size_t>(i)];
        if (e.Tick >= 0 && e.Tick <= songEndTick) out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TEntry& a, const TEntry& b) { return a.Tick < b.Tick; });
    return out;
}

void SetTempo(TTimeZone& zone, const TTempo& tempo, std::uint16_t division) {
    if (tempo.BPM > std::numeric_limits<std::int16_t>::max()) RangeError("BPM out of range");
    zone.BPM = static_cast<std::int16_t>(tempo.BPM);
    zone.Tempo = static_cast<std::uint32_t>(tempo.Tempo);
    zone.MsPerTick = static_cast<float>(static_cast<double>(zone.Tempo) / 1000.0 /
                                        static_cast<double>(division));
}

void SetTimeSign(TTimeZone& zone, const TTimeSign& sign) {
    zone.Denominator = sign.Denominator;
    zone.Numerator = sign.Numerator;
}

std::int64_t TicksPerBeatOf(std::uint16_t division, std::uint8_t denominator) {
    if (denominator == 0) return std::max<std::int64_t>(1, division);
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(division) * 4 / denominator);
}

std::int64_t BeatsPerBar(std::uint8_t numerator) {
    return std::max<std::int64_t>(1, numerator);
}

// Carries a tick within the beat into whole beats (of ticksPerBeat ticks each) and
// beats beyond the bar into bars.
void Normalise(std::int64_t& bar, std::int64_t& beat, std::int64_t& beatTick,
               std::int64_t ticksPerBeat, std::int64_t beatsPerBar) {
    if (beatTick >= ticksPerBeat) {
        beat += beatTick / ticksPerBeat;
        beatTick %= ticksPerBeat;
    }
    if (beat > beatsPerBar) {
        bar += (beat - 1) / beatsPerBar;
        beat = (beat - 1) % beatsPerBar + 1;
    }
}

std::string PadLeft(std::string text, std::size_t width, char fill = '0') {
    if (text.size() < width) text.insert(0, width - text.size(), fill);
    return text;
}

} // namespace

std::int32_t TicksPerBeat(const TSong& song, const TTimeZone& zone) {
    return static_cast<std::int32_t>(TicksPerBeatOf(song.Division, zone.Denominator));
}

int DivisionDigits(std::uint16_t division) {
    if (division < 10) return 1;
    if (division < 100) return 2;
    if (division < 1000) return 3;
    if (division < 10000) return 4;
    return 5;
}

void BuildTimeZones(TSong& song) {
    EnsureStartEntry(song.Tempos, song.TempoCount, DefaultTempo());
    EnsureStartEntry(song.TimeSigns, song.TimeSignCount, DefaultTimeSign());

    // Tempo and time signature events of several tracks may come in any order;
    // the merge walks both maps in tick order.
    std::vector<TTempo> tempos = SortedEntries(song.Tempos, song.TempoCount, song.SongEndTick);
    std::vector<TTimeSign> signs =
        SortedEntries(song.TimeSigns, song.TimeSignCount, song.SongEndTick);
    if (tempos.empty() || tempos.front().Tick != 0) tempos.insert(tempos.begin(), DefaultTempo());
    if (signs.empty() || signs.front().Tick != 0) signs.insert(signs.begin(), DefaultTimeSign());
    song.CurrentBPM = tempos.front().BPM;

    const std::int32_t endTick =
        CheckedInt32(static_cast<std::int64_t>(song.SongEndTick) + 1, "song end tick out of range");
    // Sentinels stop the merge.
    tempos.push_back(tempos.back());
    tempos.back().Tick = endTick;
    signs.push_back(signs.back());
    signs.back().Tick = endTick;

    ATimeZone zones;
    zones.reserve(tempos.size() + signs.size());
    std::size_t k = 0, s = 0;
    while (tempos[k].Tick <= song.SongEndTick || signs[s].Tick <= song.SongEndTick) {
        TTimeZone zone;
        if (tempos[k].Tick == signs[s].Tick) {
            zone.Tick = tempos[k].Tick;
            SetTempo(zone, tempos[k], song.Division);
            SetTimeSign(zone, signs[s]);
            ++k;
            ++s;
        } else if (tempos[k].Tick < signs[s].Tick) {
            zone.Tick = tempos[k].Tick;
            SetTempo(zone, tempos[k], song.Division);
            SetTimeSign(zone, signs[s - 1]);
            ++k;
        } else {
            zone.Tick = signs[s].Tick;
            SetTempo(zone, tempos[k - 1], song.Division);
            SetTimeSign(zone, signs[s]);
            ++s;
        }
        zones.push_back(zone);
    }

    // Two sentinel zones at SongEndTick + 1 repeat the last zone's values.
    for (int i = 0; i < 2; ++i) {
        TTimeZone sentinel = zones.back();
        sentinel.Tick = endTick;
        zones.push_back(sentinel);
    }
    const auto inUse = static_cast<std::int32_t>(zones.size()) - 1;

    zones[0].Bar = 1;
    zones[0].Beat = 1;
    zones[0].BeatTick = 0;
    zones[0].StartMs = 0;
    double sumMs = 0.0;
    for (std::int32_t z = 1; z < inUse; ++z) {
        const TTimeZone& prev = zones[static_cast<std::size_t>(z - 1)];
        TTimeZone& zone = zones[static_cast<std::size_t>(z)];
        const std::int64_t d = static_cast<std::int64_t>(zone.Tick) - prev.Tick;
        sumMs += TicksToMs(d, prev.MsPerTick);
        zone.StartMs = RoundMs(sumMs);

        const std::int64_t t = TicksPerBeatOf(song.Division, prev.Denominator);
        const std::int64_t n = BeatsPerBar(prev.Numerator);
        std::int64_t beatTick = d % t + prev.BeatTick;
        std::int64_t beat = (d / t) % n + prev.Beat;
        std::int64_t bar = (d / t) / n + prev.Bar;
        Normalise(bar, beat, beatTick, TicksPerBeatOf(song.Division, zone.Denominator), n);
        if (bar > std::numeric_limits<std::uint16_t>::max()) RangeError("bar number above 65535");
        if (beat > std::numeric_limits<std::uint8_t>::max()) RangeError("beat number above 255");
        if (beatTick > std::numeric_limits<std::uint16_t>::max())
            RangeError("tick within the beat above 65535");
        zone.Bar = static_cast<std::uint16_t>(bar);
        zone.Beat = static_cast<std::uint8_t>(beat);
        zone.BeatTick = static_cast<std::uint16_t>(beatTick);
    }
    // The second sentinel repeats the first one completely.
    zones[static_cast<std::size_t>(inUse)] = zones[static_cast<std::size_t>(inUse - 1)];

    song.TimeZones = std::move(zones);
    song.TimeZoneCount = inUse;
}

std::int32_t FindZone(const TSong& song, std::int32_t tick) {
    const std::int32_t count = ZonesInUse(song);
    if (count <= 0) return 0;
    const std::int32_t last = count - 1;
    // Zones are in ascending tick order; the zone after the last one in use is
    // a sentinel when the table was built here, else only zones in use are read.
    const auto readable = std::min<std::size_t>(song.TimeZones.size(), count + 1u);
    const auto begin = song.TimeZones.begin();
    const auto it = std::upper_bound(begin, begin + static_cast<std::ptrdiff_t>(readable), tick,
                                     [](std::int32_t t, const TTimeZone& z) { return t < z.Tick; });
    const auto j = static_cast<std::int32_t>(it - begin) - 1;
    return (j < 0 || j > last) ? last : j;
}

std::int32_t TickToMs(const TSong& song, std::int32_t tick) {
    if (tick == 0) return 0;
    const TTimeZone& zone = ZoneFor(song, tick);
    const std::int32_t part =
        RoundMs(TicksToMs(static_cast<std::int64_t>(tick) - zone.Tick, zone.MsPerTick));
    return CheckedInt32(static_cast<std::int64_t>(zone.StartMs) + part, "time in ms out of range");
}

void ComputeEventTimes(TSong& song) {
    std::int32_t longest = 0;
    for (TTrack& track : song.Tracks) {
        bool head = true;
        for (TMidiEvent& e : track.Events) {
            if (head || e.Tick == 0) {
                e.TimeMs = 0;
                head = false;
                continue;
            }
            e.TimeMs = TickToMs(song, e.Tick);
            longest = std::max(longest, e.TimeMs);
        }
    }
    song.SongLengthMs = longest;
}

TMusicalPos TickToMusicalPos(const TSong& song, std::int32_t tick) {
    const TTimeZone& zone = ZoneFor(song, tick);
    const std::int64_t r = std::max<std::int64_t>(0, static_cast<std::int64_t>(tick) - zone.Tick);
    const std::int64_t u = TicksPerBeatOf(song.Division, zone.Denominator);
    const std::int64_t n = BeatsPerBar(zone.Numerator);
    std::int64_t beatTick = r % u + zone.BeatTick;
    std::int64_t beat = (r / u) % n + zone.Beat;
    std::int64_t bar = (r / u) / n + zone.Bar;
    Normalise(bar, beat, beatTick, u, n);
    if (bar > std::numeric_limits<std::uint16_t>::max()) RangeError("bar number above 65535");
    if (beat > std::numeric_limits<std::uint8_t>::max()) RangeError("beat number above 255");
    return {static_cast<std::int32_t>(bar), static_cast<std::int32_t>(beat),
            static_cast<std::int32_t>(beatTick)};
}

std::string TickToPosText(const TSong& song, std::int32_t tick) {
    const TMusicalPos pos = TickToMusicalPos(song, tick);
    const auto w = static_cast<std::size_t>(DivisionDigits(song.Division));
    // Bar to 3 digits, beat to 2, tick to w: 001.01.000. A tick within a half
    // or whole note beat may need more digits than the division has; the
    // columns before it stay where they are.
    return PadLeft(std::to_string(pos.Bar), 3) + "." + PadLeft(std::to_string(pos.Beat), 2) + "." +
           PadLeft(std::to_string(pos.BeatTick), w);
}

std::string TickToHeaderPosText(const TSong& song, std::int32_t tick) {
    const TMusicalPos pos = TickToMusicalPos(song, tick);
    const auto w = static_cast<std::size_t>(DivisionDigits(song.Division));
    return PadLeft(std::to_string(pos.Bar), w) + "." + PadLeft(std::to_string(pos.Beat), 2) + "." +
           PadLeft(std::to_string(pos.BeatTick), 3);
}

std::int32_t FindZoneByMs(const TSong& song, std::int32_t ms) {
    const std::int32_t count = ZonesInUse(song);
    if (count <= 0) return 0;
    const std::size_t size = song.TimeZones.size();
    for (std::size_t i = 0; i + 1 < size && i < static_cast<std::size_t>(count); ++i) {
        if (song.TimeZones[i].StartMs <= ms && ms < song.TimeZones[i + 1].StartMs)
            return static_cast<std::int32_t>(i);
    }
    return count - 1;
}

std::int32_t MsToTick(const TSong& song, std::int32_t ms) {
    const TTimeZone& zone = ZonesInUse(song) == 0
                                ? FallbackZone()
                                : song.TimeZones[static_cast<std::size_t>(FindZoneByMs(song, ms))];
    const double rate = static_cast<double>(zone.MsPerTick);
    if (!(rate > 0.0) || !std::isfinite(rate)) return zone.Tick;
    const double ticks =
        std::nearbyint(static_cast<double>(ms - static_cast<std::int64_t>(zone.StartMs)) / rate);
    const double tick = static_cast<double>(zone.Tick) + ticks;
    if (!(tick >= std::numeric_limits<std::int32_t>::min() &&
          tick <= std::numeric_limits<std::int32_t>::max()))
        RangeError("tick out of range");
    return static_cast<std::int32_t>(tick);
}

} // namespace lv
