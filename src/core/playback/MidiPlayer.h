#pragma once
// Sends the song to one MIDI output port in real time.
//
// The player knows no ticks: every event carries its TimeMs, and the player
// thread sleeps until the next one is due (steady clock), sends it, and so on.
// Everything the player thread touches (play cursors, channel state, the port)
// is guarded by one mutex; position and playing flag are atomics so the
// display can read them from any thread without taking it. The UI thread must
// not change events or times while the player plays: every edit pauses it.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "model/Song.h"
#include "playback/MidiOutput.h"

namespace lv {

// The six values restored per channel when playback starts elsewhere than at 0.
struct TChannelState {
    std::uint8_t Program = 0;
    std::uint8_t Volume = 100;     // controller 7
    std::uint8_t Pan = 64;         // controller 10
    std::uint8_t Expression = 127; // controller 11
    std::uint8_t Reverb = 40;      // controller 91
    std::uint8_t Chorus = 0;       // controller 93
};
using TChannelStates = std::array<TChannelState, 16>;

class TMidiPlayer : public TPlayerLink {
  public:
    using TClock = std::chrono::steady_clock;

    TMidiPlayer(TSong& song, TMidiOutput& output);
    ~TMidiPlayer() override;
    TMidiPlayer(const TMidiPlayer&) = delete;
    TMidiPlayer& operator=(const TMidiPlayer&) = delete;

    // Builds the device list and selects the device named by
    // Config.MidiOutputDeviceName (device 0 when it is gone, whose name is then
    // saved). With no device at all the user is told once and the name cleared.
    void SelectDevice();
    const TDeviceList& Devices() const { return DeviceList; }
    // Selects another device of the list while stopped (options dialog);
    // false when it cannot be selected.
    bool ChangeDevice(int deviceNumber);

    // Begins or resumes playback at the position. Sends the chased program and
    // controllers of every channel first unless the position is 0. False when
    // nothing started (no song, no device, port did not open, already playing).
    bool Start();
    // Playing: pause (silence every channel, close the port, keep the position).
    // Stopped: rewind to 0.
    void Stop();
    // Moves the position and the play cursors, rebuilding the channel state.
    // Targets beyond the song length (or below 0) are ignored. While playing,
    // playback pauses, moves and resumes there.
    void Locate(std::int32_t ms) override;

    std::int32_t PositionMs() const override;
    bool IsPlaying() const { return Playing.load(std::memory_order_acquire); }
    std::int32_t SongLengthMs() const { return Song.SongLengthMs; }
    // Channel state as it stands (call while stopped).
    TChannelStates ChannelStates() const;
    // When the current playback started (position 0 of the song on the steady clock).
    TClock::time_point StartTime() const;
    // The player thread, for measuring its CPU time.
    std::thread::native_handle_type ThreadHandle() { return Worker.native_handle(); }

    // Time between the silencing messages and closing the port at a stop.
    std::chrono::milliseconds SilenceWait{50};

  private:
    void Run();
    // One pass of the player thread: sends what is due, ends the song when its
    // time has passed. Returns when the next event is due. Caller holds Mutex.
    TClock::time_point Tick();
    void SendEvent(const TMidiEvent& e);
    void SendChase();
    bool StartLocked();
    void StopLocked();
    void LocateLocked(std::int32_t ms);
    void ApplyToChannelState(const TMidiEvent& e);

    TSong& Song;
    TMidiOutput& Output;
    TDeviceList DeviceList;
    int ChosenDevice = -1;

    mutable std::mutex Mutex;
    std::condition_variable Wake;
    std::thread Worker;
    bool Quit = false;            // guarded by Mutex
    std::uint64_t Generation = 0; // guarded by Mutex; bumped by start and stop
    std::atomic<bool> Playing{false};
    std::atomic<bool> Clocked{false};       // the position follows the clock
    std::atomic<std::int32_t> Position{0};  // ms; while playing the clock is the truth
    std::atomic<TClock::rep> StartTicks{0}; // steady clock ticks of song time 0
    std::atomic<int> Busy{0};
    std::int32_t LengthAtStart = 0; // song length while playing
    TChannelStates Channels{};
    std::vector<char> Done;               // per track: the cursor's last event was handled
    std::vector<std::uint8_t> LongBuffer; // reused for system exclusive messages
};

} // namespace lv
