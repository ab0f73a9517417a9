#pragma once
#include <string>

#include "model/Song.h"

namespace lv {

// Builds the syllable table from the lyric or text events of a freshly read song.
void ExtractLyrics(TSong& song);
// Empty or blanks (character 32) only.
bool IsBlank(const std::string& text);

} // namespace lv
