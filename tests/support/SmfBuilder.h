#pragma once
// Builds Standard MIDI Files byte by byte, so a fixture shows the case it tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/MidiEvent.h"

namespace lvtest {

using lv::AByte;

void AppendVlq(AByte& out, std::uint32_t value);

class TTrackBuilder {
  public:
    // Any event: delta time, then the bytes as given (status and data).
    TTrackBuilder& Raw(std::uint32_t delta, std::initializer_list<int> bytes);
    TTrackBuilder& Raw(std::uint32_t delta, const AByte& bytes);
    // Bytes with no delta time in front (malformed streams, padding).
    TTrackBuilder& Bytes(std::initializer_list<int> bytes);
    TTrackBuilder& NoteOn(std::uint32_t delta, int ch, int key, int vel);
    TTrackBuilder& NoteOff(std::uint32_t delta, int ch, int key, int vel = 64);
    TTrackBuilder& Control(std::uint32_t delta, int ch, int controller, int value);
    TTrackBuilder& Program(std::uint32_t delta, int ch, int program);
    TTrackBuilder& Meta(std::uint32_t delta, int type, const std::string& data);
    TTrackBuilder& Tempo(std::uint32_t delta, std::uint32_t usPerQuarter);
    TTrackBuilder& TimeSig(std::uint32_t delta, int num, int denomExp, int clocks = 24,
                           int thirtySeconds = 8);
    TTrackBuilder& Lyric(std::uint32_t delta, const std::string& text) { return Meta(delta, 5, text); }
    TTrackBuilder& Text(std::uint32_t delta, const std::string& text) { return Meta(delta, 1, text); }
    TTrackBuilder& Name(std::uint32_t delta, const std::string& text) { return Meta(delta, 3, text); }
    TTrackBuilder& Sysex(std::uint32_t delta, const AByte& payload, int status = 0xF0);
    TTrackBuilder& EndOfTrack(std::uint32_t delta = 0);
    // Declared chunk length instead of the real one.
    TTrackBuilder& DeclaredLength(std::uint32_t length);

    AByte Body;
    bool HasDeclaredLength = false;
    std::uint32_t Declared = 0;
};

class TSmfBuilder {
  public:
    TSmfBuilder(int format, int division, int declaredTracks = -1);
    TTrackBuilder& AddTrack();
    // Header, then every track chunk ("MTrk", length, body).
    AByte Build() const;

    int Format;
    int Division;
    int DeclaredTracks;  // -1: the number of tracks added
    std::vector<TTrackBuilder> Tracks;
};

AByte ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const AByte& bytes);
// A fresh empty folder below the system's temporary folder.
std::string MakeTempDir(const std::string& prefix);

} // namespace lvtest
