#pragma once
// Small helpers shared by the writer tests.
#include <string>

#include "SmfBuilder.h"
#include "SongFixture.h"
#include "model/Song.h"

namespace lvtest {

// A sysex event as the reader stores it (payload without the leading F0).
inline lv::TMidiEvent MakeSysex(const std::string& payload, std::int32_t tick) {
    lv::TMidiEvent e = lv::MakeMetaEvent(0, payload, tick);
    e.Status = 0xF0;
    e.MetaType = -1;
    return e;
}

// Hex dump for readable failures.
inline std::string Hex(const lv::AByte& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) s += (i % 16 == 0) ? '\n' : ' ';
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

} // namespace lvtest
