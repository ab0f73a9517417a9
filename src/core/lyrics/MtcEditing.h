#pragma once
// Editing the lyrics one entry per line, each line led by its musical position:
//   001.01.000 Hal-
//   001.02.240 lo_du
//   001.03.000 ***_Neue_Zeile_***
// The position has three bar digits, two beat digits and as many tick digits as
// Division has; one blank follows, then the text ("_" a blank inside the
// syllable, "~" a literal hyphen, a trailing "-" continues the word).
#include <cstdint>
#include <string>

#include "lyrics/EditorText.h"
#include "model/Song.h"

namespace lv {

// The text of a line-break line.
inline constexpr const char* kNewLineMarker = "***_Neue_Zeile_***";

// The MTC line of one entry (no line end), without the removal of a "-"
// before a line-break line.
std::string MtcLine(const TSong& song, const THyphens& entry);

// Fills the editor with the MTC text of the table, makes it writable and sets
// EditMode. The caret stands at the start of the line after the selected
// entry's line; the returned position, up to three lines further down, is
// where the view should scroll to first.
std::int32_t StartMtcEditing(TSong& song, TEditorText& editor);

enum class TMtcFinishStatus {
    Done,        // the new table is in force, editing has ended
    TooFewLines, // 2 lines or fewer: nothing happened, editing continues
    Rejected,    // a position could not be read: message shown, editing continues
};
struct TMtcFinishResult {
    TMtcFinishStatus Status = TMtcFinishStatus::TooFewLines;
    int RejectedLine = 0; // 1-based line of the editor (after the clean-up)
};

// Reads the editor's lines back into a new syllable table with the ticks of
// their positions. On success the editor shows the view text (read-only, the
// selected syllable highlighted), EditMode is cleared and the lyric events are
// rebuilt. A position that cannot be read shows the message through
// song.UserDialogs() and changes nothing but the editor's clean-up.
TMtcFinishResult FinishMtcEditing(TSong& song, TEditorText& editor);

// Header ticks and order shared with plain editing: entry 0 at 108, the artist
// entries just before the first lyric entry, every entry earlier than its
// predecessor moved to the predecessor + 4.
void PlaceHeaderAndOrder(AHyphens& entries);

} // namespace lv
