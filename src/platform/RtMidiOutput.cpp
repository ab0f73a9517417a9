#include "platform/RtMidiOutput.h"

#include <rtmidi/RtMidi.h>

#include <cctype>

namespace lv {

std::string StablePortName(const std::string& rawName) {
    // Strip a trailing " <digits>:<digits>".
    std::size_t i = rawName.size();
    auto digitsBack = [&](std::size_t& pos) {
        const std::size_t end = pos;
        while (pos > 0 && std::isdigit(static_cast<unsigned char>(rawName[pos - 1])))
            --pos;
        return pos < end;
    };
    if (!digitsBack(i) || i == 0 || rawName[i - 1] != ':') return rawName;
    --i;
    if (!digitsBack(i) || i == 0 || rawName[i - 1] != ' ') return rawName;
    return rawName.substr(0, i - 1);
}

// RtMidi reports through this instead of printing or throwing.
static void ReportError(RtMidiError::Type, const std::string& text, void* self) {
    static_cast<TRtMidiOutput*>(self)->NoteError(text);
}

TRtMidiOutput::TRtMidiOutput(const std::string& clientName) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    for (RtMidi::Api api : apis) {
        if (api == RtMidi::RTMIDI_DUMMY) continue;
        try {
            auto out = std::make_unique<RtMidiOut>(api, clientName);
            out->setErrorCallback(&ReportError, this);
            const std::size_t system = Systems.size();
            const unsigned count = out->getPortCount();
            for (unsigned p = 0; p < count; ++p) {
                const std::string raw = out->getPortName(p);
                if (raw.empty()) continue;
                Ports.push_back(
                    {system, raw, api == RtMidi::LINUX_ALSA ? StablePortName(raw) : raw});
            }
            Systems.push_back({static_cast<int>(api), std::move(out)});
        } catch (const RtMidiError& e) {
            Error = e.getMessage(); // that system is not there (no ALSA sequencer, no JACK server)
        }
    }
}

TRtMidiOutput::~TRtMidiOutput() {
    Close();
}

int TRtMidiOutput::DeviceCount() const {
    return static_cast<int>(Ports.size());
}

bool TRtMidiOutput::DeviceName(int device, std::string& name) const {
    if (device < 0 || device >= static_cast<int>(Ports.size())) return false;
    name = Ports[static_cast<std::size_t>(device)].Name;
    return true;
}

std::string TRtMidiOutput::SystemName(int device) const {
    if (device < 0 || device >= static_cast<int>(Ports.size())) return {};
    const int api = Systems[Ports[static_cast<std::size_t>(device)].System].Api;
    return RtMidi::getApiDisplayName(static_cast<RtMidi::Api>(api));
}

bool TRtMidiOutput::Select(int device) {
    if (OpenSystem >= 0 || device < 0 || device >= static_cast<int>(Ports.size())) return false;
    SelectedPort = device;
    return true;
}

int TRtMidiOutput::Selected() const {
    return SelectedPort;
}

bool TRtMidiOutput::Open() {
    if (OpenSystem >= 0) return true;
    if (SelectedPort < 0) return false;
    const TPort& port = Ports[static_cast<std::size_t>(SelectedPort)];
    RtMidiOut& out = *Systems[port.System].Out;
    try {
        // Port numbers move when other ports come and go; the name does not.
        const unsigned count = out.getPortCount();
        for (unsigned p = 0; p < count; ++p) {
            if (out.getPortName(p) != port.RawName) continue;
            Error.clear();
            out.openPort(p, "out");
            if (!out.isPortOpen()) return false;
            OpenSystem = static_cast<int>(port.System);
            return true;
        }
    } catch (const RtMidiError& e) {
        Error = e.getMessage();
    }
    return false;
}

void TRtMidiOutput::Close() {
    if (OpenSystem < 0) return;
    try {
        Systems[static_cast<std::size_t>(OpenSystem)].Out->closePort();
    } catch (const RtMidiError& e) {
        Error = e.getMessage();
    }
    OpenSystem = -1;
}

bool TRtMidiOutput::IsOpen() const {
    return OpenSystem >= 0;
}

void TRtMidiOutput::ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (OpenSystem < 0) return;
    // A byte stream must get only the data bytes the message type has: a third
    // byte after a program change would be read as a second program change.
    const std::uint8_t command = status & 0xF0;
    const std::size_t size = (command == 0xC0 || command == 0xD0) ? 2 : 3;
    const unsigned char bytes[3] = {status, data1, data2};
    try {
        Systems[static_cast<std::size_t>(OpenSystem)].Out->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
        // A message the system rejects is dropped; playback goes on.
    }
}

void TRtMidiOutput::LongMessage(const std::uint8_t* bytes, std::size_t length) {
    if (OpenSystem < 0 || length == 0) return;
    try {
        Systems[static_cast<std::size_t>(OpenSystem)].Out->sendMessage(bytes, length);
    } catch (const RtMidiError&) {
    }
}

} // namespace lv
