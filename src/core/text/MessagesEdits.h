#pragma once
// Captions of the tempo and transposition dialogs.
#include "text/Messages.h"

namespace lv::msg {

inline constexpr TMessage EditCancel{"Abbrechen", "Cancel"};
inline constexpr TMessage EditOk{"OK", "OK"};
inline constexpr TMessage TempoLabel{"Tempo:", "Tempo:"};
inline constexpr TMessage TempoTooltipPrefix{"Tempo: ", "Tempo: "};
inline constexpr TMessage TransposeLabel{"Transponierung:", "Transpose"};
inline constexpr TMessage TransposeIntelligent{"Intelligent", "Intelligent"};
inline constexpr TMessage TransposeMode1{"Mode 1", "Mode 1"};
inline constexpr TMessage TransposeMode2{"Mode 2", "Mode 2"};
inline constexpr TMessage TransposeMode3{"Mode 3", "Mode 3"};
inline constexpr TMessage TransposeMode4{"Mode 4", "Mode 4"};

} // namespace lv::msg
