#pragma once
// Shared pieces of the lyric timing tests: a song with a header and a melody.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "SongFixture.h"
#include "model/Song.h"

namespace lvtest {

using TRows = std::vector<std::pair<std::int32_t, std::string>>;

// MelodyNotes as the reader builds them: port head, one note-on per tick
// (velocity 100 on channel 0, or the given velocities), end-of-track at SongEndTick.
inline void SetMelody(lv::TSong& song, const std::vector<std::int32_t>& ticks,
                      const std::vector<int>& velocities = {}) {
    song.MelodyNotes.clear();
    song.MelodyNotes.push_back(lv::MakePortHead());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const int vel = i < velocities.size() ? velocities[i] : 100;
        song.MelodyNotes.push_back(lv::MakeShortEvent(0x90, static_cast<std::uint8_t>(60 + i % 12),
                                                      static_cast<std::uint8_t>(vel), ticks[i]));
    }
    song.MelodyNotes.push_back(lv::MakeEndOfTrack(song.SongEndTick));
    song.MelodyNoteCount = static_cast<std::int32_t>(song.MelodyNotes.size());
    song.HasLastHiddenNote = false;
}

inline std::vector<std::int32_t> Ticks(const lv::TSong& song) {
    std::vector<std::int32_t> t;
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        t.push_back(song.Syllables[i].Tick);
    return t;
}

inline bool InTickOrder(const std::vector<std::pair<std::int32_t, std::string>>& rows) {
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i].first < rows[i - 1].first) return false;
    return true;
}

} // namespace lvtest
