#pragma once
#include <string>

#include "model/Song.h"

namespace lv {

// The whole open pipeline on the model (no window): frees the previous song,
// reads the file, applies the playback speed, completes the maps, builds the
// time tables, collects XF chords, extracts the lyrics, places title and
// performer, fills position texts and rebuilds the lyric events.
void OpenSong(TSong& song, const std::string& fileName);
// The same from bytes already in memory (tests, fuzzing).
void OpenSongFromImage(TSong& song, AByte image, const std::string& fileName);
// Releases every list and the syllable table.
void FreeSong(TSong& song);

} // namespace lv
