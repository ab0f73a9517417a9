#pragma once
// Songs built in memory for the fuzz targets and benchmarks: the tracks as
// the reader leaves them and the tempo and time signature maps closed after
// the song end. Header only, so every fuzz target stays one file.
#include <cstdint>
#include <vector>

#include "model/Song.h"
#include "model/TimeMap.h"

namespace lvfuzz {

// Three tracks: port head, the names of the lyrics and prompter tracks, and
// end-of-track at songEnd. The maps are left empty.
inline lv::TSong MakeTrackSong(std::uint16_t division, std::int32_t songEnd) {
    lv::TSong song;
    song.SourceFormat = 1;
    song.TrackCount = 1;
    song.Division = division;
    song.SongEndTick = songEnd;
    song.Tracks.resize(3);
    for (auto& t : song.Tracks) {
        t.Events.push_back(lv::MakePortHead());
        t.EventCount = 1;
    }
    song.LyricsTrack().Events.push_back(lv::MakeMetaEvent(3, "Lyrics", 0));
    song.PrompterTrack().Events.push_back(lv::MakeMetaEvent(3, "Suffloer", 0));
    for (auto& t : song.Tracks) {
        t.Events.push_back(lv::MakeEndOfTrack(song.SongEndTick));
        ++t.EventCount;
        t.PlayCursor = t.Head();
    }
    return song;
}

// A tempo of microsPerQuarter from tick on.
inline lv::TTempo MakeTempo(std::int32_t tick, std::int32_t microsPerQuarter) {
    lv::TTempo t;
    t.Tick = tick;
    t.Tempo = t.OrigTempo = t.FileTempo = microsPerQuarter;
    t.BPM = static_cast<std::uint16_t>(60000000 / microsPerQuarter);
    return t;
}

// Sets the tempos and one time signature from tick 0, each map closed by a
// copy of its last entry just after the song end, and builds the time zones.
inline void SetMaps(lv::TSong& song, std::vector<lv::TTempo> tempos, lv::TTimeSign sign = {}) {
    lv::TTempo end = tempos.back();
    end.Tick = song.SongEndTick + 1;
    tempos.push_back(end);
    song.Tempos = std::move(tempos);
    song.TempoCount = static_cast<std::int32_t>(song.Tempos.size());
    sign.Tick = 0;
    lv::TTimeSign signEnd = sign;
    signEnd.Tick = song.SongEndTick + 1;
    song.TimeSigns = {sign, signEnd};
    song.TimeSignCount = 2;
    lv::BuildTimeZones(song);
}

} // namespace lvfuzz
