#pragma once
// Texts of the MIDI file writer. Placeholders: {name} the target path,
// {written} and {size} decimal byte counts. "\r" is the only line break.
#include <string>

#include "text/Messages.h"

namespace lv::msg {

inline constexpr TMessage WriterCaption{"Achtung", "Warning"};

inline constexpr TMessage CodingError{"Fehler bei der kodierung der MidiDatei!",
                                      "Error coding the midi file!"};
inline constexpr TMessage TooManyTracks{
    "Mehr als 255 Spuren können nicht als SMF-Format1 gespeichert werden!",
    "More than 255 tracks cannot be saved as SMF-Format1!"};

inline constexpr TMessage ShortWrite0{
    "Beim Speichern der Datei \"{name}\" sind nur {written} aus {size} Bytes gespeichert",
    " Error saving \"{name}\"\rThere were only {written} from {size} Bytes saved"};
inline constexpr TMessage ShortWrite1Split{
    "Beim speichern der Datei \"{name}\" sind nur {written} aus {size} Bytes gespeichert",
    "Error saving the midifile \"{name}\"\rThere were only {written} from {size} Bytes saved"};
inline constexpr TMessage ShortWrite1AsIs{
    "Beim speichern der Datei \"{name}\" sind nur {written} aus {size} Bytes gespeichert",
    "Error saving the midifile \"{name}\"\rThere were only {written} from {size} bytes saved"};

inline constexpr TMessage WriteError0{"Fehler beim Schreiben der Datei \"{name}\"",
                                      "Error saving the midifile \"{name}\""};
inline constexpr TMessage WriteError1{"Fehler beim Schreiben der Datei \"{name}\"",
                                      "Error writing the midifile \"{name}\""};

inline constexpr TMessage CannotStart0{
    "Fehler: Schreibvorgang der Datei \"{name}\" konnnte nicht eingeleitet werden!",
    "Error rewriting the midifile \"{name}\"!"};
inline constexpr TMessage CannotStart1{
    "Fehler: Schreibvorgang der Datei \"{name}\" konnnte nicht eingeleitet werden!",
    "Error saving the midifile \"{name}\"!"};

inline constexpr TMessage ReadOnly0{
    "Fehler: Schreibschutz der Datei \"{name}\" konnnte nicht entfernt werden!",
    "Error removing read only flag for midifile \"{name}\"!"};
inline constexpr TMessage ReadOnly1AsIs{
    "Fehler: Schreibschutz der Datei \"{name}\" konnnte nicht entfernt werden!",
    "Error removing read only flag for the midifile \"{name}\"!"};

// The prompter stream supports lines 0..9999 only (German only; caption is the
// application title + " - Warnung").
inline constexpr TMessage PrompterTooManyLines{"Es werden nicht mehr als 10000 Zeilen unterstützt!",
                                               nullptr};
inline constexpr const char* PrompterCaptionSuffix = " - Warnung";

// Replaces every "{key}" in text by value.
inline std::string Fill(std::string text, const std::string& key, const std::string& value) {
    const std::string k = "{" + key + "}";
    for (std::size_t p = text.find(k); p != std::string::npos; p = text.find(k, p + value.size()))
        text.replace(p, k.size(), value);
    return text;
}

} // namespace lv::msg
