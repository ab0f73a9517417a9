#pragma once
// Reads a prompter stream back out of a track: the header settings, the text
// as the display shows it, and every cursor command with its tick. Used by
// the tests to check the stream end to end and by the prompter preview.
#include <cstdint>
#include <string>
#include <vector>

#include "model/MidiEvent.h"

namespace lv {

struct TPrompterCursor {
    std::int32_t Tick = 0; // tick of the command's first value (9)
    int Line = 0;
    int Column = 0;
    bool Framed = true;           // inside the text (23 ... 22) or after its end
    std::size_t TextPosition = 0; // characters of Text received before the command
};

struct TPrompterStreamView {
    bool HasSignature = false; // 24, "Quillet MX-40", 25 seen
    bool HeaderComplete = false;
    int Font = -1; // font number (value - 28)
    int FontHeight = -1;
    bool InverseVideo = false;
    std::string Text;   // the lyric text, "\r" for line breaks
    bool Ended = false; // 23, 12 seen
    std::vector<TPrompterCursor> Cursors;
    std::vector<std::string> Problems; // values that do not fit the stream's grammar
};

// Decodes the control changes with the given channel (0..15) and controller
// in list order; every other event is ignored.
TPrompterStreamView DecodePrompterStream(const TEventList& events, std::uint8_t channel,
                                         std::uint8_t controller);

} // namespace lv
