#pragma once
// Texts of the batch mode. Placeholders: {folder}, {files}, {errors}.
#include "text/Messages.h"

namespace lv::msg {

inline constexpr TMessage BatchController32Question{
    "\"Controller 32 einfügen\" ist eingeschaltet\rSoll der Vorgang abgebrochen werden?", nullptr};
inline constexpr TMessage BatchReadingFolder{"Einlesen des Verzeichniss: {folder}", nullptr};

inline constexpr TMessage BatchConvertingF0{"Dateien werden zu SMF-Format0 konvertiert ..",
                                            "Converting midi files to SMF-Format0 .."};
inline constexpr TMessage BatchConvertingF1{"Dateien werden zu SMF-Format1 konvertiert ..",
                                            "Converting midi files to SMF-Format1 .."};
inline constexpr TMessage BatchPlaying{"Dateien werden wiedergeben.", "Playing back midi files."};
inline constexpr TMessage BatchSaving{"Dateien werden gespeichert ..", "Saving midi files .."};

inline constexpr TMessage BatchCancelled{"Vorgang abgebrochen!", "Task canceled!"};
inline constexpr TMessage BatchNoFiles{"Keine MIDI-Dateien gefunden!", "No midi files found!"};
inline constexpr TMessage BatchSucceeded{
    "Vorgang erfolgreich abgeschloßen!\r\n{files} Dateien wurden bearbeitet!",
    "Task successfully terminated!\r\n{files} files were processed!"};
inline constexpr TMessage BatchFailed{
    "Vorgang abgeschloßen!\r\n{errors} Dateien aus {files} wurden NICHT bearbeitet!",
    "Task terminated!\r\n{errors} midi files out of {files} were NOT processed!"};

inline constexpr TMessage BatchCensusWriteError{"Fehler beim Schreiben der Datei \"{name}\"",
                                                "Error writing the file \"{name}\""};

inline constexpr TMessage BatchCancelButton{"Abbrechen", "Cancel"};

} // namespace lv::msg
