// lyrivox-cli play FILE [--port NAME] [--from MS]: plays a song on a MIDI port;
// Ctrl-C stops it with all notes off. lyrivox-cli ports: lists the ports.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "CliCommand.h"
#include "SongIo.h"
#include "platform/RtMidiOutput.h"
#include "playback/MidiPlayer.h"
#include "playback/Position.h"

namespace lv::cli {

namespace {

std::atomic<bool> Interrupted{false};

void OnPlayInterrupt(int) {
    Interrupted.store(true);
}

void PrintPorts(const TRtMidiOutput& out, FILE* to) {
    for (int d = 0; d < out.DeviceCount(); ++d) {
        std::string name;
        if (out.DeviceName(d, name))
            std::fprintf(to, "%d\t%s\t%s\n", d, out.SystemName(d).c_str(), name.c_str());
    }
}

int RunPorts(std::vector<std::string> args) {
    if (!args.empty()) {
        std::fprintf(stderr, "usage: lyrivox-cli ports\n");
        return 2;
    }
    TRtMidiOutput out;
    if (out.DeviceCount() == 0) {
        std::fprintf(stderr, "no MIDI output ports (no ALSA sequencer, no JACK server?)\n");
        return 1;
    }
    PrintPorts(out, stdout);
    return 0;
}

int RunPlay(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    std::string port, from;
    const bool hasPort = TakeOption(args, "--port", port);
    const bool hasFrom = TakeOption(args, "--from", from);
    long long fromMs = 0;
    if (hasFrom) {
        std::size_t used = 0;
        try {
            fromMs = std::stoll(from, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != from.size() || fromMs < 0 || fromMs > INT32_MAX) {
            std::fprintf(stderr, "lyrivox-cli play: --from takes milliseconds, not \"%s\"\n",
                         from.c_str());
            return 2;
        }
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: lyrivox-cli play FILE [--port NAME] [--from MS] [options]\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }

    TCliSong opened(options, args[0]);
    TSong& song = opened.Song;

    TRtMidiOutput out;
    if (hasPort) song.Config.MidiOutputDeviceName = port;
    TMidiPlayer player(song, out);
    song.Player = &player;
    player.SelectDevice();
    if (player.Devices().empty()) return 1; // the player has told why
    if (hasPort && song.Config.MidiOutputDeviceName != port) {
        std::fprintf(stderr, "lyrivox-cli play: no port \"%s\"; the ports are:\n", port.c_str());
        PrintPorts(out, stderr);
        return 1;
    }
    if (hasFrom) {
        if (fromMs > song.SongLengthMs) {
            std::fprintf(stderr, "lyrivox-cli play: the song is only %d ms long\n",
                         song.SongLengthMs);
            return 1;
        }
        player.Locate(static_cast<std::int32_t>(fromMs));
    }

    std::signal(SIGINT, OnPlayInterrupt);
    std::signal(SIGTERM, OnPlayInterrupt);
    if (!player.Start()) {
        std::fprintf(stderr, "lyrivox-cli play: port \"%s\" did not open %s\n",
                     song.Config.MidiOutputDeviceName.c_str(), out.LastError().c_str());
        return 1;
    }
    std::fprintf(stderr, "playing %s on %s (%s)\n", args[0].c_str(),
                 song.Config.MidiOutputDeviceName.c_str(),
                 TimeTooltipText(song.SongLengthMs).c_str());
    while (player.IsPlaying() && !Interrupted.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool stoppedByUser = player.IsPlaying();
    if (stoppedByUser) player.Stop(); // all sound off, all notes off on every channel
    std::fprintf(stderr, "%s at %s\n", stoppedByUser ? "stopped" : "ended",
                 TimeTooltipText(player.PositionMs()).c_str());
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return 0;
}

const TCliRegistration regPlay{
    {"play", "play FILE [--port NAME] [--from MS]   play a song on a MIDI port", RunPlay}};
const TCliRegistration regPorts{{"ports", "ports   list the MIDI output ports", RunPorts}};

} // namespace

} // namespace lv::cli
