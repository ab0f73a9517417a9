#pragma once
// Moving the pitch of the whole song, always from the notes as read.
#include <array>
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

class TMidiPlayer;

inline constexpr int kTransposeLimit = 9;

// Per mode (1..4) and channel (1..16): the largest interval a channel moves
// in the chosen direction before the intelligent mode takes the opposite one.
inline constexpr std::array<std::array<std::int8_t, 16>, 4> kTransposeModeLimits{{
    {6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 4, 3},
    {3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 4},
    {4, 3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5},
    {5, 4, 3, 6, 5, 4, 3, 6, 5, 4, 3, 6, 5, 6, 5, 4},
}};

// The interval a non-bass channel moves by in the intelligent mode.
int IntelligentInterval(int interval, int mode, int channel);

// Sets Data1 of every note of the song from its OrigData1 moved by interval
// (plain: every channel but 10 by the interval; intelligent: by the mode's
// pattern, bass channels never below note 28), then the XF chords.
// mode 1..4; anything else counts as mode 1.
void TransposeSong(TSong& song, int interval, bool intelligent, int mode);
// The XF chord events of XFChordTrack, from the bytes stored in XFChords.
void TransposeXFChords(TSong& song, int interval);
// One XF chord root or bass byte moved by interval; the byte itself when it
// is 7F or above, or names no note of the two spelling tables.
std::uint8_t TransposeChordByte(std::uint8_t stored, int interval);
// The note name of a chord byte ("C", "Db", "F#", also "E#" or "Cb").
std::string ChordByteName(std::uint8_t stored);

// The dialog's preview and OK: pauses a playing player, transposes, and
// resumes playback at the same position (the chase resends programs and
// controllers).
void TransposeWithPlayer(TSong& song, TMidiPlayer* player, int interval, bool intelligent,
                         int mode);

} // namespace lv
