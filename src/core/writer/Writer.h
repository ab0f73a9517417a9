#pragma once
// Writing the song as a Standard MIDI File of format 0 or 1.
//
// The Build* functions assemble the whole file image in memory (a counting
// pass fixes its exact size, a second pass fills it) and leave the song
// unchanged; they raise EMidiError when an event cannot be coded. The Write*
// functions build the image and store it safely over the target (see
// writer/SafeSave.h): on any storing failure the old file is left as it was,
// a message (caption "Achtung" / "Warning") goes through song.UserDialogs()
// and the result is false.
#include <string>

#include "model/Song.h"

namespace lv {

// Format 0: every track, the lyrics and the prompter track merged into one
// chunk named after the target file ("song.mid" gives "Song").
AByte BuildFormat0Image(const TSong& song, const std::string& targetPath);
// Format 1: a format-1 song as it stands, any other song split by channel.
AByte BuildFormat1Image(const TSong& song);

// Builds and stores. Returns true when the file was stored completely.
bool WriteFormat0File(TSong& song, const std::string& targetPath);
bool WriteFormat1File(TSong& song, const std::string& targetPath);

// The General MIDI tone name of a program (0..127) and the drum-set name of a
// program on the drum channel; used for the track names of split songs.
const char* ToneName(int program);
const char* DrumSetName(int program);

} // namespace lv
