#pragma once
#include "model/Song.h"

namespace lv {

// Replaces the prompter data of the song (the prompter track) with a stream
// built from the syllable table and the prompter settings.
void BuildPrompterTrack(TSong& song);
// Frees ticks 4 to 60 of the file tracks and neutralises stray prompter commands.
void ClearSongStart(TSong& song);

} // namespace lv
