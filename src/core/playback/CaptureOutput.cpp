#include <algorithm>

#include "playback/MidiOutput.h"

namespace lv {

TCaptureOutput::TCaptureOutput(std::vector<std::string> deviceNames)
    : Names(std::move(deviceNames)) {}

int TCaptureOutput::DeviceCount() const {
    std::lock_guard lock(Mutex);
    return static_cast<int>(Names.size());
}

bool TCaptureOutput::DeviceName(int device, std::string& name) const {
    std::lock_guard lock(Mutex);
    if (device < 0 || device >= static_cast<int>(Names.size())) return false;
    if (std::find(UnreadableDevices.begin(), UnreadableDevices.end(), device) !=
        UnreadableDevices.end())
        return false;
    name = Names[static_cast<std::size_t>(device)];
    return true;
}

bool TCaptureOutput::Select(int device) {
    std::string name;
    if (!DeviceName(device, name)) return false;
    std::lock_guard lock(Mutex);
    if (Opened) return false;
    SelectedDevice = device;
    return true;
}

int TCaptureOutput::Selected() const {
    std::lock_guard lock(Mutex);
    return SelectedDevice;
}

bool TCaptureOutput::Open() {
    std::lock_guard lock(Mutex);
    if (FailOpen || SelectedDevice < 0) return false;
    Opened = true;
    ++Opens;
    return true;
}

void TCaptureOutput::Close() {
    std::lock_guard lock(Mutex);
    if (Opened) ++Closes;
    Opened = false;
}

bool TCaptureOutput::IsOpen() const {
    std::lock_guard lock(Mutex);
    return Opened;
}

void TCaptureOutput::ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const auto now = TClock::now();
    std::lock_guard lock(Mutex);
    if (!Opened) return; // a closed port drops what it gets, like a real one
    Log.push_back({now, {status, data1, data2}, false});
}

void TCaptureOutput::LongMessage(const std::uint8_t* bytes, std::size_t length) {
    const auto now = TClock::now();
    std::lock_guard lock(Mutex);
    if (!Opened) return;
    Log.push_back({now, std::vector<std::uint8_t>(bytes, bytes + length), true});
}

std::vector<TCaptureOutput::TSent> TCaptureOutput::Sent() const {
    std::lock_guard lock(Mutex);
    return Log;
}

void TCaptureOutput::Clear() {
    std::lock_guard lock(Mutex);
    Log.clear();
}

void TCaptureOutput::Reserve(std::size_t messages) {
    std::lock_guard lock(Mutex);
    Log.reserve(messages);
}

int TCaptureOutput::OpenCount() const {
    std::lock_guard lock(Mutex);
    return Opens;
}

int TCaptureOutput::CloseCount() const {
    std::lock_guard lock(Mutex);
    return Closes;
}

} // namespace lv
