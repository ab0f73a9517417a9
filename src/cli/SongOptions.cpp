#include "SongOptions.h"

#include <cstdio>
#include <stdexcept>

namespace lv::cli {

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size()) throw std::invalid_argument(name + " needs a value");
            value = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            return true;
        }
        if (args[i].rfind(name + "=", 0) == 0) {
            value = args[i].substr(name.size() + 1);
            args.erase(args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

static int ParseInt(const std::string& name, const std::string& text, int lo, int hi) {
    std::size_t used = 0;
    int v = 0;
    try {
        v = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || v < lo || v > hi)
        throw std::invalid_argument(name + " takes a whole number from " + std::to_string(lo) +
                                    " to " + std::to_string(hi) + ", not \"" + text + "\"");
    return v;
}

TSongOptions ParseSongOptions(std::vector<std::string>& args) {
    TSongOptions o;
    std::string v;
    if (TakeOption(args, "--melody-channel", v))
        o.Config.MelodyTrack = static_cast<std::uint8_t>(ParseInt("--melody-channel", v, 1, 16) - 1);
    if (TakeOption(args, "--copyright", v)) o.Config.CopyrightString = v;
    if (TakeOption(args, "--prev-command-mode", v))
        o.Config.PrevCommandMode = ParseInt("--prev-command-mode", v, 0, 1) != 0;
    if (TakeFlag(args, "--sufflor")) o.Config.SufflorEnabled = true;
    if (TakeOption(args, "--insert-ctrl32", v)) {
        o.Config.InsertController32 = true;
        o.Config.Controller32Value = static_cast<std::uint8_t>(ParseInt("--insert-ctrl32", v, 0, 127));
    }
    if (TakeFlag(args, "--delete-ctrl32")) o.Config.DeleteController32 = true;
    if (TakeFlag(args, "--xf-delete-chord-helper")) o.Config.XF_DeleteChordHelper = true;
    if (TakeOption(args, "--playback-speed", v))
        o.Config.PlaybackSpeed = static_cast<std::uint8_t>(ParseInt("--playback-speed", v, 0, 5));
    if (TakeOption(args, "--lang", v)) {
        if (v == "de")
            o.Language = "Deutsch";
        else if (v == "en")
            o.Language = "Englisch";
        else
            throw std::invalid_argument("--lang takes de or en, not \"" + v + "\"");
    }
    if (TakeFlag(args, "--yes")) o.AnswerYes = true;
    return o;
}

std::string SongOptionsUsage() {
    return "  --melody-channel 1..16   melody channel (default 1)\n"
           "  --copyright TEXT         copyright line (default none)\n"
           "  --prev-command-mode 0|1  running status survives sysex/meta (default 1)\n"
           "  --sufflor                build the prompter stream\n"
           "  --insert-ctrl32 VALUE    insert bank-select fine events with VALUE\n"
           "  --delete-ctrl32          remove bank-select fine events\n"
           "  --xf-delete-chord-helper drop chord-helper texts\n"
           "  --playback-speed 0..5    100 %, 90 %, ... 50 % (default 0)\n"
           "  --lang de|en             language of messages (default en)\n"
           "  --yes                    answer Yes to questions (default No)\n";
}

void TCliDialogs::Message(const std::string& text, const std::string& caption) {
    std::string t = text;
    for (auto& c : t)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), t.c_str());
}

bool TCliDialogs::AskYesNo(const std::string& text, const std::string& caption) {
    Message(text, caption);
    std::fprintf(stderr, "  -> %s\n", AnswerYes ? "yes (--yes)" : "no (give --yes to answer yes)");
    return AnswerYes;
}

void ApplySongOptions(const TSongOptions& options, TSong& song) {
    song.Config = options.Config;
    song.Language = options.Language;
}

} // namespace lv::cli
