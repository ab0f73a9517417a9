#pragma once
// Bulk timing of the whole lyric: quantize to a note grid, undo the last
// quantize, shift by milliseconds through the tempo map.
#include <cstdint>
#include <string>

#include "model/Song.h"

namespace lv {

// Grid in ticks for Config.QuantizeFactor: 0 quarter, 1 eighth, 2 eighth
// triplet, 3 sixteenth, anything else eighth. 0 when Division is too small.
std::int32_t QuantizeGrid(const TSong& song);

// Saves every tick in SavedTick and moves it to the nearest grid point
// (halves to the even point). A grid of 0 ticks leaves the ticks where they
// are (a grid of one tick). Entries not later than their predecessor follow it
// by 4 ticks. Positions and lyric events are renewed.
void QuantizeLyrics(TSong& song);
// Restores the ticks saved by the last quantize, then the same order rule.
void UndoQuantizeLyrics(TSong& song);

// Shifts every entry from index 4 on by ms milliseconds, converting through
// the tempo of its zone and, when the shift crosses one zone boundary, the
// tempo of the zone beyond. Entry 0 stays at 108 or later; entries earlier
// than their predecessor follow it by 4 ticks.
void MoveLyrics(TSong& song, std::int32_t ms);
// The move dialog's field: a signed decimal number, anything else counts as 0.
std::int32_t ParseMoveMs(const std::string& text);

} // namespace lv
