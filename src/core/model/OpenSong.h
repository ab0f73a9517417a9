#pragma once
#include <string>
#include <utility>
#include <vector>

#include "lyrics/TextView.h"
#include "model/Song.h"

namespace lv {

// What the window shows after an open; the model itself is already complete.
struct TOpenResult {
    bool HasLyrics = false;
    std::string ViewText;  // the text view's contents ("\r\n" line ends)
    THighlight Highlight;  // no syllable selected
    std::string TempoHint; // "Tempo: " and the first tempo's BPM
};

// The whole open pipeline on the model (no window): frees the previous song,
// reads the file, applies the playback speed, completes the maps, builds the
// time tables, collects XF chords, extracts the lyrics, places title and
// performer, fills position texts and rebuilds the lyric events. Failures raise
// EMidiError (also for a file that cannot be read) or ERangeError; the song is
// then not loaded.
TOpenResult OpenSong(TSong& song, const std::string& fileName);
// The same from bytes already in memory (tests, fuzzing).
TOpenResult OpenSongFromImage(TSong& song, AByte image, const std::string& fileName);
// Releases every list and the syllable table.
void FreeSong(TSong& song);

// Menu items whose state an open sets, by object name, with their new state.
std::vector<std::pair<std::string, bool>> OpenMenuStates(bool hasLyrics);
// Captions of the edit items after an open.
struct TOpenCaptions {
    std::string TextEdit;    // MainMenu_TextEdit, PopupMenu_TextEdit
    std::string TextEditMTC; // MainMenu_TextEditMTC, PopupMenu_TextEditMTC
};
TOpenCaptions OpenEditCaptions(bool hasLyrics, const std::string& language);

} // namespace lv
