#pragma once
// Texts of the MTC editing mode, the text commands, linking and the timing commands.
#include <string>

#include "text/Messages.h"

namespace lv::msg {

// --- MTC editing --------------------------------------------------------------
inline constexpr TMessage TextEditMtc{"Bearbeiten mit MTC", "Edit with MTC"};
inline constexpr TMessage TextEditMtcPopup{"Bearbeiten mit &MTC", "Edit with &MTC"};
inline constexpr TMessage TextFinishEditMtc{"Bearbeitung mit MTC beenden",
                                            "Finish editing with MTC"};
// A rejected position: the same German text in both languages, the line number
// (counted from 1) between the two halves.
inline constexpr TMessage MtcPositionWrongBefore{"Die MTC Angabe in Zeile ", nullptr};
inline constexpr TMessage MtcPositionWrongAfter{" ist falsch!\rBitte korigieren...", nullptr};

inline std::string MtcPositionWrong(const std::string& language, int lineNumber) {
    return Tr(language, MtcPositionWrongBefore) + std::to_string(lineNumber) +
           Tr(language, MtcPositionWrongAfter);
}

// --- Text commands ------------------------------------------------------------
inline constexpr TMessage TextRemovePunctuation{"Satzzeichen entfernen", "Remove punctuation"};
inline constexpr TMessage TextUpperCase{"nur Grossbuchstaben", "Set to upper case"};
inline constexpr TMessage TextHideNote{"Note verstecken", "Hide note"};
inline constexpr TMessage TextHideNotePopup{"&Note verstecken", "Hide &note"};
inline constexpr TMessage TextUndoHideNote{"Rückgängig - Note verstecken", "Undo - Hide note"};
inline constexpr TMessage TextDeleteLyrics{"Lyrics löschen", "Delete lyrics"};
inline constexpr TMessage TextFont{"Schrift auswählen", "Font"};
inline constexpr TMessage DeleteLyricsQuestion{"Sollen die Lyrics entfernt werden?",
                                               "Delete the lyrics?"};

// --- Linking ------------------------------------------------------------------
inline constexpr TMessage TextAssign{"Silben mit Noten verknüpfen", "Assign hyphens to notes"};
inline constexpr TMessage TextAssignPopup{"Silben mit Noten &verknüpfen",
                                          "Assign hyphens to &notes"};

// --- Timing -------------------------------------------------------------------
inline constexpr TMessage TextQuantize{"Lyrics-Zeiten quantisieren", "Quantize lyrics"};
inline constexpr TMessage TextUndoQuantize{"Rückgängig - Lyrics-Zeiten quantisieren",
                                           "Undo - Quantize lyrics"};
inline constexpr TMessage TextMove{"Lyrics zeitlich verschieben", "Move lyrics"};
// The move dialog: caption a single blank, a label, an edit field with "0", OK and Cancel.
inline constexpr TMessage LyricsMoveCaption{" ", " "};
inline constexpr TMessage LyricsMoveLabel{"Lyrics verschieben (ms):", "Move lyrics by (ms)"};
inline constexpr TMessage LyricsMoveOk{"OK", "OK"};
inline constexpr TMessage LyricsMoveCancel{"Abbrechen", "Cancel"};

} // namespace lv::msg
