#pragma once
// Songs for the player tests, made directly with their event times in ms.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Song.h"

namespace lvtest {

struct TTimedEvent {
    std::int32_t TimeMs;
    lv::TMidiEvent Event;
};

inline TTimedEvent Short(std::int32_t ms, int status, int d1, int d2 = 0) {
    return {ms, lv::MakeShortEvent(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(d1),
                                   static_cast<std::uint8_t>(d2), 0)};
}
inline TTimedEvent Sysex(std::int32_t ms, int status, const std::string& data) {
    lv::TMidiEvent e;
    e.Status = static_cast<std::uint8_t>(status);
    e.Kind = 2;
    e.Data = data;
    e.Length = static_cast<std::int32_t>(data.size());
    return {ms, e};
}
inline TTimedEvent Meta(std::int32_t ms, int type, const std::string& data) {
    return {ms, lv::MakeMetaEvent(type, data, 0)};
}

// File tracks as given, then an empty lyrics and prompter track. Every list
// gets its head and an end-of-track at the song length; cursors stand on the heads.
inline void FillSong(lv::TSong& song, const std::vector<std::vector<TTimedEvent>>& tracks) {
    song.Tracks.clear();
    song.TrackCount = static_cast<std::uint16_t>(tracks.size());
    song.Division = 480;
    std::int32_t length = 0;
    for (const auto& t : tracks)
        for (const auto& e : t)
            length = std::max(length, e.TimeMs);
    auto lists = tracks;
    lists.emplace_back();
    lists.emplace_back();
    for (const auto& events : lists) {
        lv::TTrack track;
        track.Events.push_back(lv::MakePortHead());
        for (auto e : events) {
            e.Event.TimeMs = e.TimeMs;
            e.Event.Tick = e.TimeMs;
            track.Events.push_back(e.Event);
        }
        auto end = lv::MakeEndOfTrack(length);
        end.TimeMs = length;
        track.Events.push_back(end);
        track.EventCount = static_cast<std::int32_t>(track.Events.size());
        song.Tracks.push_back(std::move(track));
    }
    for (auto& t : song.Tracks)
        t.PlayCursor = t.Head();
    song.SongLengthMs = length;
    song.SongLoaded = true;
}

} // namespace lvtest
