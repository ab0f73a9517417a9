#pragma once
#include "model/Song.h"

namespace lv {

// Parses song.FileImage into the model (header values, track lists, lyrics and
// prompter tracks, tempo and time signature maps, SongEndTick, MelodyNotes,
// prompter and chord detection). Structural errors of the first pass raise
// EMidiError, reading past the end and out-of-range header values ERangeError.
void ReadMidiFile(TSong& song);

// Removes old prompter commands from Tracks[PrompterTrackIndex].
void RemovePrompterCommands(TSong& song);

} // namespace lv
