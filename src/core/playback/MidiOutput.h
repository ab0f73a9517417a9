#pragma once
// What the player needs of a MIDI output port. The RtMidi backend lives in
// src/platform; the capture backend below records what would go out.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lv {

class TMidiOutput {
  public:
    virtual ~TMidiOutput() = default;
    // Number of devices, read when the backend is created.
    virtual int DeviceCount() const = 0;
    // Product name of a device; false when it cannot be read.
    virtual bool DeviceName(int device, std::string& name) const = 0;
    // Selects a device while closed; false for an unreadable device or while open.
    virtual bool Select(int device) = 0;
    virtual int Selected() const = 0;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Status and both data bytes as stored; a backend that talks to a byte
    // stream sends only the data bytes the message type has.
    virtual void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // A complete system exclusive message (F0 or F7 in front). The bytes are
    // copied before the call returns.
    virtual void LongMessage(const std::uint8_t* bytes, std::size_t length) = 0;
};

// One entry of the player's device list.
struct TDeviceEntry {
    int DeviceNumber = 0;
    std::string ProductName;
};
using TDeviceList = std::vector<TDeviceEntry>;

// Records every message with the steady-clock time it was handed over.
// Thread-safe: the player sends from its own thread while a test reads.
class TCaptureOutput : public TMidiOutput {
  public:
    using TClock = std::chrono::steady_clock;
    struct TSent {
        TClock::time_point Time;
        std::vector<std::uint8_t> Bytes; // short messages: status, data 1, data 2
        bool Long = false;
    };

    explicit TCaptureOutput(std::vector<std::string> deviceNames = {"Capture"});

    int DeviceCount() const override;
    bool DeviceName(int device, std::string& name) const override;
    bool Select(int device) override;
    int Selected() const override;
    bool Open() override;
    void Close() override;
    bool IsOpen() const override;
    void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void LongMessage(const std::uint8_t* bytes, std::size_t length) override;

    // A copy of what was sent so far, and clearing it.
    std::vector<TSent> Sent() const;
    void Clear();
    // Reserve room so recording does not allocate while the player runs.
    void Reserve(std::size_t messages);

    std::vector<int> UnreadableDevices; // DeviceName/Select fail for these
    bool FailOpen = false;              // Open reports failure
    int OpenCount() const;
    int CloseCount() const;

  private:
    mutable std::mutex Mutex;
    std::vector<std::string> Names;
    std::vector<TSent> Log;
    int SelectedDevice = -1;
    bool Opened = false;
    int Opens = 0;
    int Closes = 0;
};

} // namespace lv
