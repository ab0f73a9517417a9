#include "playback/MidiPlayer.h"

#include <algorithm>
#include <climits>

#include "text/Messages.h"
#include "text/MessagesPlayback.h"

#if defined(__linux__)
#include <pthread.h>
#include <sys/prctl.h>
#endif

namespace lv {

namespace {

using namespace std::chrono;

// Best effort: a real-time priority and the finest timer slack for the
// player thread. Neither is required; without privileges the first fails.
void TuneCurrentThread() {
#if defined(__linux__)
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param param{};
    param.sched_priority = 20;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
#endif
}

} // namespace

TMidiPlayer::TMidiPlayer(TSong& song, TMidiOutput& output) : Song(song), Output(output) {
    Worker = std::thread([this] { Run(); });
}

TMidiPlayer::~TMidiPlayer() {
    {
        std::unique_lock lock(Mutex);
        if (Playing.load()) StopLocked();
        Quit = true;
    }
    Wake.notify_all();
    Worker.join();
    if (Song.Player == this) Song.Player = nullptr;
}

void TMidiPlayer::SelectDevice() {
    std::unique_lock lock(Mutex);
    DeviceList.clear();
    const int count = Output.DeviceCount();
    int matched = -1;
    for (int d = 0; d < count; ++d) {
        std::string name;
        if (!Output.DeviceName(d, name)) continue; // unreadable devices are left out
        DeviceList.push_back({d, name});
        if (matched < 0 && name == Song.Config.MidiOutputDeviceName) matched = d;
    }
    ChosenDevice = -1;
    if (!DeviceList.empty()) {
        if (matched < 0) {
            // The saved device is gone: the first device takes its place and name.
            matched = DeviceList.front().DeviceNumber;
            Song.Config.MidiOutputDeviceName = DeviceList.front().ProductName;
        }
        if (Output.Select(matched)) ChosenDevice = matched;
    }
    Playing.store(false);
    Channels = TChannelStates{};
    if (DeviceList.empty()) {
        Song.Config.MidiOutputDeviceName.clear();
        lock.unlock();
        Song.UserDialogs().Message(Tr(Song.Language, msg::NoMidiDevice), kAppTitle);
    }
}

bool TMidiPlayer::ChangeDevice(int deviceNumber) {
    std::lock_guard lock(Mutex);
    if (Playing.load()) return false;
    auto it = std::find_if(DeviceList.begin(), DeviceList.end(),
                           [&](const TDeviceEntry& d) { return d.DeviceNumber == deviceNumber; });
    if (it == DeviceList.end() || !Output.Select(deviceNumber)) return false;
    ChosenDevice = deviceNumber;
    Song.Config.MidiOutputDeviceName = it->ProductName;
    return true;
}

bool TMidiPlayer::Start() {
    std::lock_guard lock(Mutex);
    return StartLocked();
}

bool TMidiPlayer::StartLocked() {
    if (!Song.SongLoaded || DeviceList.empty() || ChosenDevice < 0 || Playing.load()) return false;
    if (!Output.Open()) return false;
    LengthAtStart = Song.SongLengthMs;
    const std::int32_t pos = Position.load();
    if (pos != 0) SendChase();
    const auto start = TClock::now() - milliseconds(pos);
    StartTicks.store(start.time_since_epoch().count());
    if (Done.size() != Song.Tracks.size()) Done.assign(Song.Tracks.size(), 0);
    Clocked.store(true, std::memory_order_release);
    Playing.store(true, std::memory_order_release);
    ++Generation;
    Wake.notify_all();
    return true;
}

void TMidiPlayer::Stop() {
    std::unique_lock lock(Mutex);
    StopLocked();
}

void TMidiPlayer::StopLocked() {
    // A playing port is always silenced, even if the song went away meanwhile.
    if (!Song.SongLoaded && !Playing.load()) return;
    if (Playing.load()) {
        // The position freezes now; the playing state ends only when the port
        // is closed, so whoever sees it stopped sees a finished stop.
        Position.store(PositionMs());
        Clocked.store(false, std::memory_order_release);
        ++Generation;
        Wake.notify_all();
        for (std::uint8_t ch = 0; ch < 16; ++ch) {
            Output.ShortMessage(0xB0 | ch, 120, 0); // all sound off
            Output.ShortMessage(0xB0 | ch, 123, 0); // all notes off
        }
        // Gives the driver time to pass the silencing on before the port closes.
        std::this_thread::sleep_for(SilenceWait);
        Output.Close();
        Playing.store(false, std::memory_order_release);
    } else {
        Position.store(0);
        for (auto& t : Song.Tracks)
            if (t.HasHead()) t.PlayCursor = t.Head();
        Done.assign(Song.Tracks.size(), 0);
    }
}

void TMidiPlayer::Locate(std::int32_t ms) {
    std::unique_lock lock(Mutex);
    if (!Song.SongLoaded || ms < 0 || ms > Song.SongLengthMs) return;
    const bool wasPlaying = Playing.load();
    if (wasPlaying) StopLocked();
    LocateLocked(ms);
    if (wasPlaying) StartLocked();
}

void TMidiPlayer::LocateLocked(std::int32_t ms) {
    Channels = TChannelStates{};
    Done.assign(Song.Tracks.size(), 0);
    for (std::size_t t = 0; t < Song.Tracks.size(); ++t) {
        auto& track = Song.Tracks[t];
        if (!track.HasHead()) continue;
        // Only what happened before the target is chased; the first event at or
        // after it is where sending goes on.
        auto it = track.Head();
        for (;;) {
            if (it->TimeMs >= ms) break;
            ApplyToChannelState(*it);
            auto next = std::next(it);
            if (next == track.Events.end()) {
                Done[t] = 1;
                break;
            }
            it = next;
        }
        track.PlayCursor = it;
    }
    Position.store(ms);
}

std::int32_t TMidiPlayer::PositionMs() const {
    if (!Clocked.load(std::memory_order_acquire)) return Position.load();
    const TClock::time_point start{TClock::duration(StartTicks.load())};
    const auto elapsed = duration_cast<milliseconds>(TClock::now() - start).count();
    return static_cast<std::int32_t>(std::clamp<long long>(elapsed, INT_MIN, INT_MAX));
}

TChannelStates TMidiPlayer::ChannelStates() const {
    std::lock_guard lock(Mutex);
    return Channels;
}

TMidiPlayer::TClock::time_point TMidiPlayer::StartTime() const {
    return TClock::time_point{TClock::duration(StartTicks.load())};
}

void TMidiPlayer::ApplyToChannelState(const TMidiEvent& e) {
    if (e.Status < 0x80 || e.Status >= 0xF0) return;
    TChannelState& c = Channels[e.Status & 0x0F];
    const std::uint8_t value = e.Data2 & 0x7F;
    switch (e.Status & 0xF0) {
    case 0xC0:
        c.Program = e.Data1 & 0x7F;
        break;
    case 0xB0:
        switch (e.Data1) {
        case 7:
            c.Volume = value;
            break;
        case 10:
            c.Pan = value;
            break;
        case 11:
            c.Expression = value;
            break;
        case 91:
            c.Reverb = value;
            break;
        case 93:
            c.Chorus = value;
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void TMidiPlayer::SendChase() {
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        const TChannelState& c = Channels[ch];
        Output.ShortMessage(0xC0 | ch, c.Program, 0);
        Output.ShortMessage(0xB0 | ch, 7, c.Volume);
        Output.ShortMessage(0xB0 | ch, 10, c.Pan);
        Output.ShortMessage(0xB0 | ch, 11, c.Expression);
        Output.ShortMessage(0xB0 | ch, 91, c.Reverb);
        Output.ShortMessage(0xB0 | ch, 93, c.Chorus);
    }
}

void TMidiPlayer::SendEvent(const TMidiEvent& e) {
    if (e.Status >= 0x80 && e.Status < 0xF0) {
        // Data bytes never carry the top bit on the wire.
        Output.ShortMessage(e.Status, e.Data1 & 0x7F, e.Data2 & 0x7F);
        ApplyToChannelState(e);
    } else if ((e.Status == 0xF0 || e.Status == 0xF7) && e.Length > 0) {
        const std::size_t n = std::min(static_cast<std::size_t>(e.Length), e.Data.size());
        LongBuffer.clear();
        LongBuffer.push_back(e.Status);
        LongBuffer.insert(LongBuffer.end(), e.Data.begin(),
                          e.Data.begin() + static_cast<std::ptrdiff_t>(n));
        Output.LongMessage(LongBuffer.data(), LongBuffer.size());
    }
    // Meta events stay in the file; they are never sent.
}

TMidiPlayer::TClock::time_point TMidiPlayer::Tick() {
    constexpr auto kIdle = hours(1);
    // Passes never overlap; a second caller leaves at once.
    if (Busy.fetch_add(1) != 0) {
        Busy.fetch_sub(1);
        return TClock::now() + milliseconds(1);
    }
    struct TLeave {
        std::atomic<int>& B;
        ~TLeave() { B.fetch_sub(1); }
    } leave{Busy};

    if (!Playing.load()) return TClock::now() + kIdle;
    const TClock::time_point start = StartTime();
    const std::int32_t pos = PositionMs();
    Position.store(pos);
    if (static_cast<std::int64_t>(pos) > static_cast<std::int64_t>(LengthAtStart) + 100) {
        // The song ended 100 ms ago: stop from this thread, complete before returning.
        StopLocked();
        return TClock::now() + kIdle;
    }
    // Due events go out in time order; at equal times in track order.
    for (;;) {
        std::size_t best = SIZE_MAX;
        std::int32_t bestTime = INT_MAX;
        for (std::size_t t = 0; t < Song.Tracks.size(); ++t) {
            if (Done[t] || !Song.Tracks[t].HasHead()) continue;
            const std::int32_t time = Song.Tracks[t].PlayCursor->TimeMs;
            if (time <= pos && time < bestTime) {
                best = t;
                bestTime = time;
            }
        }
        if (best == SIZE_MAX) break;
        auto& track = Song.Tracks[best];
        SendEvent(*track.PlayCursor);
        auto next = std::next(track.PlayCursor);
        if (next == track.Events.end())
            Done[best] = 1; // the cursor stays on the last event
        else
            track.PlayCursor = next;
    }

    // Sleep until the next event is due, or until the song's end has passed.
    std::int64_t nextMs = static_cast<std::int64_t>(LengthAtStart) + 101;
    for (std::size_t t = 0; t < Song.Tracks.size(); ++t) {
        if (Done[t] || !Song.Tracks[t].HasHead()) continue;
        nextMs = std::min<std::int64_t>(nextMs, Song.Tracks[t].PlayCursor->TimeMs);
    }
    return start + milliseconds(nextMs);
}

void TMidiPlayer::Run() {
    TuneCurrentThread();
    std::unique_lock lock(Mutex);
    while (!Quit) {
        if (!Playing.load()) {
            Wake.wait(lock, [&] { return Quit || Playing.load(); });
            continue;
        }
        const std::uint64_t generation = Generation;
        const auto due = Tick();
        if (!Playing.load()) continue;
        // A stop, a new start or quitting wakes the thread early.
        Wake.wait_until(lock, due, [&] { return Quit || Generation != generation; });
    }
}

} // namespace lv
