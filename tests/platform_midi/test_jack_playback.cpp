// End to end on a real port: a JACK server with its dummy driver, the JACK
// MIDI monitor as the receiving port, our player on the RtMidi backend.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "TimedSong.h"
#include "platform/RtMidiOutput.h"
#include "playback/MidiPlayer.h"

extern char** environ;

using namespace lv;
using namespace lvtest;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kSampleRate = 48000;

// A process this test started; ended by its own pid, never by name.
struct TChild {
    pid_t Pid = -1;
    bool Start(const std::vector<std::string>& argv, const std::string& outFile) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        const int rc = posix_spawnp(&Pid, args[0], &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) Pid = -1;
        return rc == 0;
    }
    bool Running() {
        if (Pid < 0) return false;
        int status = 0;
        if (waitpid(Pid, &status, WNOHANG) == 0) return true;
        Pid = -1;
        return false;
    }
    void Stop() {
        if (Pid < 0) return;
        kill(Pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(Pid, nullptr, WNOHANG) == Pid) {
                Pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(Pid, SIGKILL);
        waitpid(Pid, nullptr, 0);
        Pid = -1;
    }
    ~TChild() { Stop(); }
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TArrived {
    long long Frame;
    Bytes Message;
};

// Lines like " 329728: 90 3c 64 note on  (channel  0): pitch  60, velocity 100".
std::vector<TArrived> ParseDump(const std::string& text) {
    std::vector<TArrived> out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        TArrived a{};
        try {
            a.Frame = std::stoll(line.substr(0, colon));
        } catch (...) {
            continue;
        }
        std::istringstream bytes(line.substr(colon + 1));
        std::string word;
        while (bytes >> word) {
            if (word.size() != 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
                !std::isxdigit(static_cast<unsigned char>(word[1])))
                break;
            a.Message.push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
        }
        if (!a.Message.empty()) out.push_back(a);
    }
    return out;
}

template <class F> bool WaitFor(F&& done, int seconds = 10) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TEST(JackPlayback, ThePlayerPicksTheMonitorByNameAndEverythingArrivesInTime) {
    const std::string server = "lyrivox-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    const std::string dir = MakeTempDir("lv-jack");
    TChild jackd;
    if (!jackd.Start(
            {"jackd", "-n", server, "-d", "dummy", "-r", std::to_string(kSampleRate), "-p", "128"},
            dir + "/jackd.log"))
        GTEST_SKIP() << "jackd cannot be started (not installed?)";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (!jackd.Running()) GTEST_SKIP() << "jackd exited at once: " << ReadText(dir + "/jackd.log");

    const std::string monitor = "lv-monitor-" + std::to_string(getpid());
    const std::string portName = monitor + ":input";
    TChild dump;
    ASSERT_TRUE(dump.Start({"jack_midi_dump", "-a", monitor}, dir + "/dump.log"));

    // Ask from another process until the monitor's port is there: the JACK
    // client library keeps state from a failed attempt, so this process
    // talks to the server only once it is surely up.
    ASSERT_TRUE(WaitFor([&] {
        TChild lsp;
        if (!lsp.Start({"jack_lsp"}, dir + "/lsp.log")) return false;
        waitpid(lsp.Pid, nullptr, 0);
        lsp.Pid = -1;
        return ReadText(dir + "/lsp.log").find(portName) != std::string::npos;
    })) << "no port "
        << portName << "; jackd said: " << ReadText(dir + "/jackd.log");
    auto out = std::make_unique<TRtMidiOutput>("lyrivox-test");

    const std::vector<TTimedEvent> events{
        Short(0, 0xC0, 5),
        Short(0, 0xB0, 7, 90),
        Short(100, 0x90, 60, 100),
        Meta(150, 5, "la"),
        Sysex(200, 0xF0, std::string("\x7E\x7F\x09\x01\xF7", 5)),
        Short(300, 0x80, 60, 17),
        Short(350, 0xE1, 0, 80),
        Short(400, 0x91, 64, 70),
        Short(500, 0x81, 64, 64),
    };
    TSong song;
    FillSong(song, {events});
    TFakeDialogs dialogs;
    song.Dialogs = &dialogs;
    song.Config.MidiOutputDeviceName = portName;
    {
        TMidiPlayer player(song, *out);
        player.SelectDevice();
        ASSERT_EQ(song.Config.MidiOutputDeviceName, portName);
        ASSERT_TRUE(player.Start());
        ASSERT_TRUE(WaitFor([&] { return !player.IsPlaying(); }));
    }
    out.reset();

    const std::vector<Bytes> expected{
        {0xC0, 5},      {0xB0, 7, 90}, {0x90, 60, 100}, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
        {0x80, 60, 17}, {0xE1, 0, 80}, {0x91, 64, 70},  {0x81, 64, 64},
    };
    const std::vector<int> times{0, 0, 100, 200, 300, 350, 400, 500};
    std::vector<TArrived> arrived;
    ASSERT_TRUE(WaitFor([&] {
        arrived = ParseDump(ReadText(dir + "/dump.log"));
        return arrived.size() >= expected.size() + 32;
    })) << ReadText(dir + "/dump.log");
    dump.Stop();
    jackd.Stop();

    ASSERT_EQ(arrived.size(), expected.size() + 32);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(arrived[i].Message, expected[i]) << "message " << i;
        // Relative to the first message, within a few JACK periods (128 frames =
        // 2.7 ms). The dummy driver counts frames by its own cycles, which fall
        // behind the wall clock on a busy machine, so late songs get some slack.
        const double ms =
            static_cast<double>(arrived[i].Frame - arrived[0].Frame) * 1000.0 / kSampleRate;
        EXPECT_NEAR(ms, times[i], 15.0 + 0.2 * times[i]) << "message " << i;
    }
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_EQ(arrived[expected.size() + 2 * ch].Message,
                  (Bytes{static_cast<std::uint8_t>(0xB0 | ch), 120, 0}));
        EXPECT_EQ(arrived[expected.size() + 2 * ch + 1].Message,
                  (Bytes{static_cast<std::uint8_t>(0xB0 | ch), 123, 0}));
    }
}

TEST(RtMidiNames, AlsaClientNumbersAreDroppedSoSavedNamesStayValid) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Midi Through:Midi Through Port-0 14:0", "Midi Through:Midi Through Port-0"},
        {"FLUID Synth (1234):Synth input port (1234:0) 128:0",
         "FLUID Synth (1234):Synth input port (1234:0)"},
        {"lv-monitor:input", "lv-monitor:input"},
        {"Port 14:", "Port 14:"},
        {"12:0", "12:0"},
    };
    for (const auto& [raw, stable] : cases)
        EXPECT_EQ(StablePortName(raw), stable) << raw;
}

} // namespace
