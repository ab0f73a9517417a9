#pragma once
// The settings record. Field names are the names of the stored values; the
// defaults are what a first start without stored settings uses.
#include <cstdint>
#include <string>

namespace lv {

struct TConfiguration {
    bool ConfirmTerminate = true;
    std::uint8_t Controller32Value = 0;
    std::string CopyrightString;
    bool DeleteController32 = false;
    bool DoNotChangeController32 = false;
    bool FontBold = true;
    std::int32_t FontCharset = 0;
    std::int32_t FontHeight = -16;
    bool FontItalic = false;
    std::string FontName = "Courier";
    std::int32_t FontSize = 12;
    bool FontStrikeOut = false;
    bool FontUnderline = false;
    bool InsertController32 = false;
    std::string LastMidiPathDest;    // default: the program's folder (filled at start-up)
    std::string LastMidiPathSource;  // default: the program's folder, lower case
    std::string LastTextPath;        // default: the program's folder
    std::int32_t MainFormHeight = 480;
    std::int32_t MainFormLeft = 0;
    std::int32_t MainFormTop = 0;
    std::int32_t MainFormWidth = 640;
    std::uint8_t MelodyTrack = 0;  // melody MIDI channel 0..15
    std::string MidiOutputDeviceName;
    bool MultiMode = false;
    std::uint8_t QuantizeFactor = 1;
    std::uint8_t PlaybackSpeed = 0;  // 0..5 = 100 %, 90 %, ..., 50 %
    bool PrevCommandMode = true;
    bool RememberLayout = false;
    std::uint8_t SufflorCmdController = 98;
    bool SufflorEnabled = false;
    std::uint8_t SufflorFont = 1;
    std::uint8_t SufflorFontHeight = 1;
    bool SufflorForYamaha = false;
    bool SufflorInversVideo = false;
    std::uint8_t SufflorMidiChannel = 15;
    std::int32_t SufflorTimeOffset = 0;
    std::int32_t TransportFormLeft = 180;
    std::int32_t TransportFormTop = 482;
    bool VirtualSufflor = false;
    bool XF_DeleteChordHelper = false;
};

} // namespace lv
