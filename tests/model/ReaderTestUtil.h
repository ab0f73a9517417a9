#pragma once
// Reading fixtures into a song and looking at its lists.
#include <string>
#include <vector>

#include "SmfBuilder.h"
#include "model/Reader.h"
#include "model/Song.h"

namespace lvtest {

inline void ReadImage(lv::TSong& song, const lv::AByte& image) {
    song.FileImage = image;
    song.PrompterTrackIndex = -1;
    lv::ReadMidiFile(song);
}

// The list of one track as a vector, for indexing in tests.
inline std::vector<lv::TMidiEvent> EventsOf(const lv::TTrack& track) {
    return {track.Events.begin(), track.Events.end()};
}

// Channel events of a track as (tick, status, data1, data2).
struct TShort {
    int Tick, Status, Data1, Data2;
    bool operator==(const TShort&) const = default;
};
inline std::vector<TShort> ShortsOf(const lv::TTrack& track) {
    std::vector<TShort> out;
    for (const auto& e : track.Events)
        if (e.Kind == 1) out.push_back({e.Tick, e.Status, e.Data1, e.Data2});
    return out;
}

inline std::vector<std::string> LyricTexts(lv::TSong& song) {
    std::vector<std::string> out;
    for (const auto& e : song.LyricsTrack().Events)
        if (e.IsMeta(5)) out.push_back(e.Data);
    return out;
}

} // namespace lvtest
