#pragma once
// Texts of the MIDI player.
#include "text/Messages.h"

namespace lv::msg {

// Shown once at start-up when the system offers no MIDI output at all. The two
// lines are joined by CR LF.
inline constexpr TMessage NoMidiDevice{
    "Sie haben keine Midi-Schnittstelle in Ihrem Conputer!\r\nEs ist keine Midi-Ausgabe möglich!",
    "You have no midi interface!\r\nThere for no midi playback posible!"};

} // namespace lv::msg
