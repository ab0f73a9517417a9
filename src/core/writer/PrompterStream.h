#pragma once
// The controller stream a prompter display reads: a header with the
// signature, the whole lyric text, and cursor commands that move the display's
// cursor to the syllable being sung. Every value is one control change on the
// prompter channel and controller, one value every 4 ticks from tick 4.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/Song.h"

namespace lv {

inline constexpr const char* kPrompterSignature = "Quillet MX-40";

// One entry of the prompter line table.
struct TSHyphens {
    std::int32_t Tick = 0;                 // when the entry's cursor command is due
    std::array<std::uint8_t, 6> Command{}; // the cursor command
    std::uint8_t CommandSize = 1;          // 1: the first four bytes, 2: all six
    std::string Text;                      // the entry's text as streamed
};
using ASHyphens = std::vector<TSHyphens>;

// What BuildPrompterTrack inserts, worked out without touching the song.
struct TPrompterPlan {
    ASHyphens Lines;                  // the line table after lead and spacing
    std::int32_t Lead = 0;            // ticks the commands come early
    std::vector<std::uint8_t> Values; // header, text, end; value k at tick 4 + 4k
    std::vector<std::pair<std::int32_t, std::uint8_t>> Unframed; // (tick, value) after the end
};

// Plans the stream from the syllable table and the prompter settings. With
// 10000 lines or more the plan is empty and *tooManyLines gets the message.
// Raises ERangeError beyond 65535 table entries or a lead above 65535 ticks.
TPrompterPlan PlanPrompterStream(const TSong& song, std::string* tooManyLines = nullptr);

} // namespace lv
