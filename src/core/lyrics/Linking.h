#pragma once
// Times the whole lyric from the melody: the n-th sung syllable gets the start
// of the n-th visible melody note.
#include <string>

#include "model/Song.h"

namespace lv {

enum class TSyllableClass { BarMarker, LineBreak, Attached, Sung };
// Bar marker: contains "_takt" in any letter case; line break: exactly "\r";
// attached: begins with "-"; everything else is sung.
TSyllableClass ClassifySyllable(const std::string& text);

// Header ticks 108, 112, 120, 124 ..., body entries on the melody notes
// (strictly later than the previous linked note, hidden notes skipped),
// attached syllables and line breaks 4 ticks after their predecessor, bar
// markers packed just before the next entry, surplus syllables at the song
// end; then positions and the lyric rebuild. Safe on any table, also one
// shorter than the header.
void LinkSyllables(TSong& song);

} // namespace lv
