#pragma once
// Texts of the main window: menu captions and the start/exit messages.
#include "text/Messages.h"

namespace lv {

// One entry of the main window's menus. Parent names the menu the item
// belongs to (empty: the menu bar, or the text pop-up for PopupMenu_ items).
struct TMenuEntry {
    const char* Name;   // object name
    const char* Parent; // object name of the menu it sits in, "" for the top
    TMessage Caption;   // German, English; "-" is a separator
    bool Enabled;       // state at start-up
};

// The main menu in its order, then the text pop-up menu.
inline constexpr TMenuEntry kMainMenuEntries[] = {
    {"MainMenu_Datei", "", {"Datei", "File"}, true},
    {"MainMenu_DateiOeffnen", "MainMenu_Datei", {"Öffnen", "Open"}, true},
    {"MainMenu_DateiSpeichern", "MainMenu_Datei", {"Speichern", "Save"}, false},
    {"MainMenu_DateiSpeichernUnter", "MainMenu_Datei", {"Speichern unter", "Save as ..."}, false},
    {"MainMenu_DateiBar1", "MainMenu_Datei", {"-", "-"}, true},
    {"MainMenu_DateiMultiOeffnen",
     "MainMenu_Datei",
     {"Öffnen und gleich speichern", "Multi mode"},
     true},
    {"MainMenu_DateiBar2", "MainMenu_Datei", {"-", "-"}, true},
    {"MainMenu_DateiProgrammBeenden", "MainMenu_Datei", {"Programm beenden", "Exit"}, true},
    {"MainMenu_Text", "", {"Text", "Text"}, false},
    {"MainMenu_TextLaden", "MainMenu_Text", {"Laden", "Load"}, false},
    {"MainMenu_TextSpeichern", "MainMenu_Text", {"Speichern", "Save"}, false},
    {"MainMenu_TextSpeichernUnter", "MainMenu_Text", {"Speichern unter", "Save as ..."}, false},
    {"MainMenu_TextEdit", "MainMenu_Text", {"Bearbeiten", "Edit"}, false},
    {"MainMenu_TextEditMTC", "MainMenu_Text", {"Bearbeiten mit MTC", "Edit with MTC"}, false},
    {"MainMenu_TextHyphenate", "MainMenu_Text", {"Silbentrennung", "Hyphenate"}, false},
    {"MainMenu_TextExtractPunctuation",
     "MainMenu_Text",
     {"Satzzeichen entfernen", "Remove punctuation"},
     false},
    {"MainMenu_TextUpperCase",
     "MainMenu_Text",
     {"nur Grossbuchstaben", "Set to upper case"},
     false},
    {"MainMenu_TextHideNote", "MainMenu_Text", {"Note verstecken", "Hide note"}, false},
    {"MainMenu_TextUndoHideNote",
     "MainMenu_Text",
     {"Rückgängig - Note verstecken", "Undo - Hide note"},
     false},
    {"MainMenu_TextAssign",
     "MainMenu_Text",
     {"Silben mit Noten verknüpfen", "Assign hyphens to notes"},
     false},
    {"MainMenu_TextQuantize",
     "MainMenu_Text",
     {"Lyrics-Zeiten quantisieren", "Quantize lyrics"},
     false},
    {"MainMenu_TextUndoQuantize",
     "MainMenu_Text",
     {"Rückgängig - Lyrics-Zeiten quantisieren", "Undo - Quantize lyrics"},
     false},
    {"MainMenu_TextMove", "MainMenu_Text", {"Lyrics zeitlich verschieben", "Move lyrics"}, false},
    {"MainMenu_TextDelete", "MainMenu_Text", {"Lyrics löschen", "Delete lyrics"}, false},
    {"MainMenu_TextSchriftAuswahl", "MainMenu_Text", {"Schrift auswählen", "Font"}, true},
    {"MainMenu_Edit", "", {"Bearbeiten", "Edit"}, false},
    {"MainMenu_EditTempo", "MainMenu_Edit", {"Tempo", "Tempo"}, true},
    {"MainMenu_EditTranspose", "MainMenu_Edit", {"Transponieren", "Transpose"}, true},
    {"MainMenu_Options", "", {"Einstellungen", "Options"}, true},
    {"MainMenu_Help", "", {"Hilfe", "Help"}, true},
    {"MainMenu_HelpManual", "MainMenu_Help", {"Bedienungsanleitung", "Operating manual"}, true},
    {"MainMenu_HelpSep", "MainMenu_Help", {"-", "-"}, true},
    {"MainMenu_HelpInfo", "MainMenu_Help", {"Info über Lyrivox", "About Lyrivox"}, true},
    {"PopupMenu_TextEdit", "", {"&Bearbeiten", "Edit"}, true},
    {"PopupMenu_TextEditMTC", "", {"Bearbeiten mit &MTC", "Edit with MTC"}, true},
    {"PopupMenu_TextHyphenate", "", {"&Silbentrennung", "Hyphenate"}, true},
    {"PopupMenu_TextBar", "", {"-", "-"}, true},
    {"PopupMenu_TextHideNote", "", {"&Note verstecken", "Hide note"}, true},
    {"PopupMenu_TextUndoHideNote", "", {"Rückgängig - Note verstecken", "Undo - Hide note"}, true},
    {"PopupMenu_TextAssign", "", {"Silben mit Noten &verknüpfen", "Assign hyphens to notes"}, true},
};

namespace msg {
inline constexpr TMessage kNotDuringPlayback{"Bitte nicht während der Wiedergabe oder Aufnahme!",
                                             "Please not during playback or record!"};
inline constexpr TMessage kTerminateProgram{"Programm beenden?", "Terminate program?"};
inline constexpr TMessage kExitLyrivox{"Wollen Sie den Lyrivox beenden?",
                                       "Do you want to exit Lyrivox?"};
// The open dialog's title and filter (the same in both languages).
inline constexpr const char* kOpenDialogTitle = " Datei laden";
inline constexpr const char* kOpenDialogFilter =
    "Midi Dateien (*.mid)|*.mid|Alle Dateien (*.*)|*.*";
} // namespace msg

// The command-line word that keeps InsertController32 from being saved.
inline constexpr const char* kKeepController32Word = "quorbitlamex";

} // namespace lv
