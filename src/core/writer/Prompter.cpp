#include "writer/Prompter.h"

namespace lv {

// Placeholder until the prompter stream is built; keeps the lyric rebuild linkable.
void BuildPrompterTrack(TSong&) {}
void ClearSongStart(TSong&) {}

} // namespace lv
