#include "model/MidiEvent.h"

namespace lv {

TMidiEvent MakeMetaEvent(int metaType, std::string data, std::int32_t tick) {
    TMidiEvent e;
    e.Status = 0xFF;
    e.Kind = 2;
    e.MetaType = static_cast<std::int16_t>(metaType);
    e.Length = static_cast<std::int32_t>(data.size());
    e.Data = std::move(data);
    e.Tick = tick;
    return e;
}

TMidiEvent MakeShortEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                          std::int32_t tick) {
    TMidiEvent e;
    e.Status = status;
    e.Kind = 1;
    e.MetaType = -1;
    const std::uint8_t cmd = status & 0xF0;
    e.Length = (cmd == 0xC0 || cmd == 0xD0) ? 2 : 3;
    e.Data1 = e.OrigData1 = data1;
    e.Data2 = e.OrigData2 = (e.Length == 2) ? 0 : data2;
    e.Tick = tick;
    return e;
}

TMidiEvent MakePortHead() { return MakeMetaEvent(33, std::string(1, '\0'), 0); }

TMidiEvent MakeEndOfTrack(std::int32_t tick) { return MakeMetaEvent(47, std::string(), tick); }

} // namespace lv
