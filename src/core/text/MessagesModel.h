#pragma once
// Texts of the song model: the reader, the open pipeline and the menu captions
// they set.
#include "text/Messages.h"

namespace lv::msg {

// Structural errors of a MIDI file.
inline constexpr TMessage kHeader1{"Fehler im MidiDateiHeader - 1!",
                                   "Error in MidiDateiHeader - 1!"};
inline constexpr TMessage kHeader2{"Fehler im MidiDateiHeader - 2!",
                                   "Error in MidiDateiHeader - 2!"};
// While checking the structure this text exists in German only.
inline constexpr TMessage kTrackHeader1Check{"Fehler im TrackHeader - 1!", nullptr};
inline constexpr TMessage kTrackHeader1{"Fehler im TrackHeader - 1!", "Error in TrackHeader - 1!"};
// A data byte without a status before it.
inline constexpr TMessage kRunningStatus{"Fehler in der MidiDatei!", "Error in midifile!"};
// A status byte that has no place in a file, an end-of-track event with data.
inline constexpr TMessage kBadEvent{"Fehler in der MidiDatei!", "Error in midi file!"};
// Followed by the position, "\r", the value label, the value, "\r" and the tail.
inline constexpr TMessage kDataBytePosition{"Fehler im Midifile bei Position: ",
                                            "Error in Midifile at position: "};
inline constexpr TMessage kDataByteValue{"Wert1 = ", "Value1 = "};
inline constexpr TMessage kDataByteTail{"Es dürfte nicht größer als 127 sein!",
                                        "shouldn't be greater than 127!"};
inline constexpr TMessage kTooShort{"Fehler in der Mididatei: Datei zu kurz!",
                                    "Error: midi file too short!"};
inline constexpr TMessage kCannotRead{"Die Datei kann nicht gelesen werden: ",
                                      "The file cannot be read: "};

// Values outside their field (range errors).
inline constexpr TMessage kPastEnd{"Bereichsfehler: Lesen hinter dem Ende der Datei bei Position ",
                                   "Range error: reading past the end of the file at position "};
inline constexpr TMessage kFormatRange{"Bereichsfehler: Formatnummer größer als 255: ",
                                       "Range error: format number above 255: "};
inline constexpr TMessage kDenominatorRange{
    "Bereichsfehler: Exponent des Taktnenners 8 oder größer: ",
    "Range error: time signature denominator exponent of 8 or more: "};
inline constexpr TMessage kTickRange{"Bereichsfehler: Zeitposition zu groß in Spur ",
                                     "Range error: time position too large in track "};
inline constexpr TMessage kLengthRange{"Bereichsfehler: Ereignislänge zu groß bei Position ",
                                       "Range error: event length too large at position "};
inline constexpr TMessage kTrackIndexRange{
    "Bereichsfehler: Spurnummer für Sufflör-Daten zu groß: ",
    "Range error: track number of prompter data too large: "};
inline constexpr TMessage kFileTooLarge{"Bereichsfehler: Datei zu groß",
                                        "Range error: file too large"};

// The question about old prompter commands (German only).
inline constexpr TMessage kPrompterFound1{"Die Unterstützung für den Sufflör ist ausgeschaltet!",
                                          nullptr};
inline constexpr TMessage kPrompterFound2{"Es wurden aber Sufflör-Befehle gefunden:", nullptr};
inline constexpr TMessage kPrompterTrack{"Spur: ", nullptr};
inline constexpr TMessage kPrompterChannel{", Midikanal: ", nullptr};
inline constexpr TMessage kPrompterRemove{"Sollen diese entfernt werden?", nullptr};

// Captions of the edit items after an open.
inline constexpr TMessage kCaptionEdit{"Bearbeiten", "Edit"};
inline constexpr TMessage kCaptionFinishEdit{"Bearbeiten beenden", "Finish editing"};
inline constexpr TMessage kCaptionEditMTC{"Bearbeiten mit MTC", "Edit with MTC"};

} // namespace lv::msg
