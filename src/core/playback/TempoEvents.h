#pragma once
// The tempo events of the first track paired with their entries of the tempo map.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "model/Song.h"

namespace lv {

// Microseconds per quarter of a tempo event; 0 when it holds fewer than three bytes.
std::uint32_t TempoOfEvent(const TMidiEvent& e);
// Writes a tempo into the event's three data bytes, most significant first.
void SetTempoOfEvent(TMidiEvent& e, std::uint32_t usPerQuarter);
// 60 000 000 / tempo rounded to the nearest whole number (halves to even); 0 for tempo 0.
std::int64_t BpmOfTempo(std::uint32_t usPerQuarter);
// The BPM field holds 16 bits.
std::uint16_t BpmField(std::int64_t bpm);

// Calls f(event, entry) for every complete tempo event of Tracks[0] after its
// head, in order. entry is the next entry of Tempos at the event's tick, nullptr when
// the map has none there (a default entry the time map put in front has no
// event and is skipped over, so entries never shift against their events).
template <class F> void ForEachTempoEvent(TSong& song, F&& f) {
    if (song.Tracks.empty() || !song.Tracks[0].HasHead()) return;
    auto& events = song.Tracks[0].Events;
    const std::size_t used = std::min<std::size_t>(
        song.Tempos.size(), static_cast<std::size_t>(std::max(song.TempoCount, 0)));
    std::size_t k = 0;
    for (auto it = std::next(events.begin()); it != events.end(); ++it) {
        // A tempo event of fewer than three bytes made no map entry when read.
        if (!it->IsMeta(0x51) || it->Data.size() < 3) continue;
        TTempo* entry = nullptr;
        for (std::size_t j = k; j < used; ++j) {
            if (song.Tempos[j].Tick == it->Tick) {
                entry = &song.Tempos[j];
                k = j + 1;
                break;
            }
        }
        f(*it, entry);
    }
}

} // namespace lv
