#pragma once
// Plain editing of the lyrics: the syllable table turned into editable text
// with visible syllable marks, and that text parsed back into a new table
// whose unchanged syllables keep their ticks.
//
// Lyric text format (also what a text file holds):
//   line 1 song name, line 2 artist, the lyric from line 3 on;
//   "-" between two syllables of a word, "_" a blank inside a syllable,
//   "=" a literal hyphen; a line starting with "----" starts with dash
//   placeholders; a syllable starting with a hyphen is attached to the one
//   before it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/EditorText.h"
#include "model/Song.h"

namespace lv {

// The three states of the Text menu.
enum class TTextMenuState { Normal, Editing, MtcEditing };

// Item name -> enabled, for every item the states switch. undoHideNotePossible
// is whether a hidden note can be restored (only used in the normal state).
std::vector<std::pair<std::string, bool>> TextMenuEnabled(TTextMenuState state,
                                                          bool undoHideNotePossible);
// The items a loaded text file leaves as they are when it switches to the
// editing state (the song's own save items).
bool IsFileSaveItem(const std::string& itemName);
// Item name -> caption of the two edit items and their pop-up twins.
std::vector<std::pair<std::string, std::string>> TextMenuCaptions(TTextMenuState state,
                                                                  const std::string& language);

// The lyric text of the table: one string per editor line (no line ends).
std::vector<std::string> LyricTextLines(const TSong& song);

// Where the caret goes after StartEditing: first to ScrollCaret (so the view
// scrolls the current line and up to four following lines into sight), then to
// Caret (right after the current syllable and its separator). Positions count
// "\r\n" as two characters.
struct TEditCaret {
    std::int32_t ScrollCaret = 0;
    std::int32_t Caret = 0;
};

// Table -> editor text. Sets EditMode; the editor becomes writable with the
// caret after the selected syllable. The table and the lyric events stay.
TEditCaret StartEditing(TSong& song, TEditorText& editor);

// Editor text -> table. Returns false when nothing changed and editing goes on
// (2 lines or fewer, or the rules question was not answered Yes). On success
// the new table is in force, the editor holds the view text (read-only, the
// selected syllable highlighted), EditMode is cleared and the lyric events
// are rebuilt.
bool FinishEditing(TSong& song, TEditorText& editor);

// The pieces of FinishEditing, for the text import and the tests.
//
// Deletes blank lines (empty or blanks only) at the start, every blank line
// from the third line on that follows a blank line, and blank lines at the end.
void CleanUpLines(std::vector<std::string>& lines);
// Tabs become blanks up to and including the next column (from 1) that is a
// multiple of tabColumns; typographic apostrophes become "'". Returns whether
// the line changed.
bool NormaliseLine(std::string& line, int tabColumns);
// Lines in the lyric text format -> new table entries (Text only).
AHyphens TokeniseLyricText(const std::vector<std::string>& lines);
// Gives the new entries the ticks of the old table: unchanged syllables keep
// theirs, a single inserted syllable goes halfway between its neighbours, a
// small changed region is spread between them, the rest goes near songEndTick;
// then the header ticks and the tick order.
void CarryOverTicks(const AHyphens& oldEntries, std::int32_t oldCount, AHyphens& fresh,
                    std::int32_t songEndTick);

} // namespace lv
