#pragma once
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

// Replaces typographic apostrophes in the table and returns the view text:
// the entries' texts in order, "\r\n" for every line break.
std::string FillTextView(TSong& song);
// The view text of the table as it stands (no changes).
std::string BuildViewText(const TSong& song);

// What the view must show for a highlighted syllable: first put the caret at
// ScrollCaret (scrolls the next lines into view), then select SelStart..SelEnd.
struct THighlight {
    bool Apply = false;  // false: the index was out of range, leave the view alone
    std::int32_t ScrollCaret = 0;
    std::int32_t SelStart = 0;
    std::int32_t SelEnd = 0;
};
// viewText is the control's current text (bytes, "\r\n" line ends).
THighlight HighlightSyllable(TSong& song, std::int32_t index, const std::string& viewText);

// Replaces the lyric events of the lyrics track with events made from the table.
void RebuildLyricEvents(TSong& song);

} // namespace lv
