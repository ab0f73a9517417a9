#include "writer/Controller32.h"

#include <algorithm>
#include <iterator>

namespace lv {

namespace {

bool IsControl(const TMidiEvent& e, int channel, int controller) {
    return e.Kind == 1 && e.Status == (0xB0 | channel) && e.Data1 == controller;
}

// The first event after the head that matches, or the list's end.
template <class Pred> TEventIt FindAfterHead(TTrack& t, Pred pred) {
    if (!t.HasHead()) return t.Events.end();
    return std::find_if(std::next(t.Head()), t.Events.end(), pred);
}

void Unlink(TTrack& t, TEventIt it) {
    if (t.PlayCursor == it) t.PlayCursor = std::next(it);
    t.Events.erase(it);
    --t.EventCount;
}

} // namespace

void RemoveController32Events(TSong& song) {
    const std::size_t tracks = std::min<std::size_t>(song.TrackCount, song.Tracks.size());
    for (std::size_t k = 0; k < tracks; ++k) {
        TTrack& t = song.Tracks[k];
        if (t.EventCount <= 2) continue;
        for (int c = 0; c < 16; ++c) {
            auto fine = FindAfterHead(t, [c](const TMidiEvent& e) { return IsControl(e, c, 32); });
            if (fine == t.Events.end()) continue;
            Unlink(t, fine);
            // The drum channel's coarse bank select goes with it.
            auto coarse = FindAfterHead(t, [](const TMidiEvent& e) { return IsControl(e, 9, 0); });
            if (coarse != t.Events.end()) Unlink(t, coarse);
        }
    }
}

void InsertController32Events(TSong& song) {
    const std::uint8_t value = std::min<std::uint8_t>(song.Config.Controller32Value, 127);
    const std::size_t tracks = std::min<std::size_t>(song.TrackCount, song.Tracks.size());
    for (std::size_t k = 0; k < tracks; ++k) {
        TTrack& t = song.Tracks[k];
        if (t.EventCount <= 2) continue;
        for (int c = 0; c < 16; ++c) {
            auto fine = FindAfterHead(t, [c](const TMidiEvent& e) { return IsControl(e, c, 32); });
            if (fine != t.Events.end()) {
                if (!song.Config.DoNotChangeController32) fine->Data2 = value;
                continue;
            }
            auto program = FindAfterHead(
                t, [c](const TMidiEvent& e) { return e.Kind == 1 && e.Status == (0xC0 | c); });
            if (program == t.Events.end()) continue;
            const std::int32_t tick = program->Tick;
            const bool hasCoarse = FindAfterHead(t, [c](const TMidiEvent& e) {
                                       return IsControl(e, c, 0);
                                   }) != t.Events.end();
            const auto status = static_cast<std::uint8_t>(0xB0 | c);
            // A program change at tick 0 or 1 gets its bank select at tick 0, not before
            // the start of the song.
            if (!hasCoarse) {
                t.Events.insert(program, MakeShortEvent(status, 0, 0, std::max(tick - 2, 0)));
                ++t.EventCount;
            }
            t.Events.insert(program, MakeShortEvent(status, 32, value, std::max(tick - 1, 0)));
            ++t.EventCount;
        }
    }
}

} // namespace lv
