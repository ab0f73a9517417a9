#pragma once
// Texts of the lyrics editing, text import and text export commands.
// Line breaks inside message texts are carriage returns, as the message boxes
// of the program have always shown them.
#include "text/Messages.h"

namespace lv::msg {

// Asked once per opened song or loaded text file before the text becomes syllables.
inline constexpr TMessage RulesQuestion{"Formatierungsregeln zu beachten:\r\r"
                                        " - Erste Zeile  = Songname.\r"
                                        " - Zweite Zeile = Interpret.\r"
                                        " - ab der dritter Zeile beginnt der Text.\r\r"
                                        "Haben Sie dies eingehalten?",
                                        "Three rules:\r\r"
                                        " - First line  = song name.\r\r"
                                        " - Second line = artist.\r"
                                        " - Lyrics after the third line.\r\r"
                                        "Did you follow these rules?"};

// Captions of the two edit commands of the Text menu (and their pop-up twins).
inline constexpr TMessage CaptionEdit{"Bearbeiten", "Edit"};
inline constexpr TMessage CaptionFinishEditing{"Bearbeiten beenden", "Finish editing"};
inline constexpr TMessage CaptionEditMtc{"Bearbeiten mit MTC", "Edit with MTC"};
inline constexpr TMessage CaptionFinishEditingMtc{"Bearbeitung mit MTC beenden",
                                                  "Finish editing with MTC"};

// Load text: dialog title and the two fixed filter entries (the converters follow).
inline constexpr TMessage TextLoadTitle{" Text laden", " Text laden"};
inline constexpr TMessage TextLoadFilterFixed{"Text-Dokument|*.txt|RTF-Dokument|*.rtf|",
                                              "Text Document|*.txt|RTF Document|*.rtf|"};
// Save text dialog.
inline constexpr TMessage TextSaveTitle{" Text speichern", " Text speichern"};
inline constexpr TMessage TextSaveFilter{"Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*",
                                         "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*"};

// File messages: prefix, the quoted path, a carriage return, then the tail.
inline constexpr TMessage WrongTypePrefix{"Die Datei ", "The file "};
inline constexpr TMessage WrongTypeTail{
    "entspricht nicht dem ausgewähltem Dateityp - Vorgang wird abgebrochen.",
    "doesn't correspond to chosen file type - procedure aborted."};
inline constexpr TMessage EmptyFilePrefix{"Die Datei ", "The file "};
inline constexpr TMessage EmptyFileTail{"ist leer - Vorgang wird abgebrochen!",
                                        "is empty - converting aborted!"};
// A text file that cannot be read at all (missing, locked, a folder).
inline constexpr TMessage UnreadableFilePrefix{"Die Datei ", "The file "};
inline constexpr TMessage UnreadableFileTail{
    "kann nicht gelesen werden - Vorgang wird abgebrochen.", "cannot be read - procedure aborted."};
// A text file that cannot be stored.
inline constexpr TMessage UnwritableFilePrefix{"Die Datei ", "The file "};
inline constexpr TMessage UnwritableFileTail{
    "kann nicht gespeichert werden - Vorgang wird abgebrochen.",
    "cannot be saved - procedure aborted."};
// The office converter failed to import the document.
inline constexpr TMessage ConverterError{"Error", "Error"};

} // namespace lv::msg
