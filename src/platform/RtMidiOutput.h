#pragma once
// The player's MIDI output on real ports through RtMidi: on Linux the ALSA
// sequencer's output ports and the MIDI input ports of a running JACK server,
// on Windows the system's MIDI output devices.
#include <memory>
#include <string>
#include <vector>

#include "playback/MidiOutput.h"

class RtMidiOut;

namespace lv {

class TRtMidiOutput : public TMidiOutput {
  public:
    // Lists the ports of every system RtMidi was built with. clientName is
    // what other programs see (the JACK client name).
    explicit TRtMidiOutput(const std::string& clientName = "Lyrivox");
    ~TRtMidiOutput() override;

    int DeviceCount() const override;
    bool DeviceName(int device, std::string& name) const override;
    bool Select(int device) override;
    int Selected() const override;
    bool Open() override;
    void Close() override;
    bool IsOpen() const override;
    void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void LongMessage(const std::uint8_t* bytes, std::size_t length) override;

    // "ALSA" or "JACK" (or the system's name) of a device, for listings.
    std::string SystemName(int device) const;
    // The last error RtMidi reported (empty when none).
    std::string LastError() const { return Error; }
    void NoteError(const std::string& text) { Error = text; }

  private:
    struct TSystem {
        int Api = 0;
        std::unique_ptr<RtMidiOut> Out;
    };
    struct TPort {
        std::size_t System = 0;
        std::string RawName; // as RtMidi names it
        std::string Name;    // as the user sees it
    };
    std::vector<TSystem> Systems;
    std::vector<TPort> Ports;
    int SelectedPort = -1;
    int OpenSystem = -1;
    std::string Error;
};

// A port name without the ALSA client:port numbers at its end, which change
// from session to session ("Midi Through:Midi Through Port-0 14:0" ->
// "Midi Through:Midi Through Port-0"), so a saved name is found again.
std::string StablePortName(const std::string& rawName);

} // namespace lv
