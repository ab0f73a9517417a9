#pragma once
// The smaller commands of the Text menu: remove punctuation, upper case, hide
// a melody note and its undo, delete the lyrics, and the view font settings.
#include <cstdint>
#include <string>

#include "lyrics/EditorText.h"
#include "lyrics/MtcEditing.h"
#include "model/Song.h"
#include "settings/Configuration.h"

namespace lv {

// True for the characters Remove punctuation keeps (Windows-1252): blank,
// # ' ( ) * - / : _ |, digits, ASCII letters and the German, French and
// Italian accented letters.
bool KeepsPunctuationChar(unsigned char c);
// The text reduced to the kept characters.
std::string StripPunctuation(const std::string& text);

// Filters every syllable (not the song name) to the kept characters and reads
// the result back through MTC editing, so every syllable keeps its tick and a
// syllable left empty disappears. A table of two lines or fewer is left alone
// (TooFewLines, nothing changed); a rejected position leaves the program in
// MTC editing with the message, like FinishMtcEditing.
TMtcFinishResult RemovePunctuation(TSong& song, TEditorText& editor);

// Upper case of one byte in the code page of the font's character set
// (0/1 Windows-1252, 238 Windows-1250, 204 Windows-1251; other sets only
// change ASCII letters). "ß" and letters without a capital in the code page
// stay as they are.
unsigned char UpperCaseChar(unsigned char c, std::int32_t fontCharset);
std::string UpperCaseText(const std::string& text, std::int32_t fontCharset);

// Converts the song name and every syllable to upper case, shows the new
// text in the editor and rebuilds the lyric events at once, so that a song
// saved right afterwards carries the letters the user sees.
void UpperCase(TSong& song, TEditorText& editor);

// Hides the first visible melody note at or after the player position (ms)
// and links the syllables again. Returns false, changing nothing, when no
// such note is left.
bool HideNote(TSong& song, std::int32_t playerPositionMs);
// Shows the note the last HideNote hid and links again. False when there is none.
bool UndoHideNote(TSong& song);
// Whether the undo item is enabled.
inline bool CanUndoHideNote(const TSong& song) {
    return song.HasLastHiddenNote;
}

// Asks "Delete the lyrics?"; on Yes empties every lyric event (the writer
// drops empty ones), clears the table and the editor. Returns whether it did.
bool DeleteLyrics(TSong& song, TEditorText& editor);

// The view font as the settings keep it; the GUI's font dialog reads and
// writes this.
struct TFontSettings {
    bool Bold = true;
    std::int32_t Charset = 0;
    std::int32_t Height = -16;
    bool Italic = false;
    std::string Name = "Courier";
    std::int32_t Size = 12;
    bool StrikeOut = false;
    bool Underline = false;
    bool operator==(const TFontSettings&) const = default;
};
TFontSettings LoadFontSettings(const TConfiguration& config);
// Throws ERangeError for a character set outside 0..255 (nothing is stored).
void StoreFontSettings(TConfiguration& config, const TFontSettings& font);

} // namespace lv
