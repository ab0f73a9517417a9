#pragma once
// The options every song command shares. Without them the CLI uses the
// defaults of the settings table, never the user's saved settings, so a
// script gets the same result on every machine.
#include <string>
#include <vector>

#include "model/Song.h"
#include "text/UserDialogs.h"

namespace lv::cli {

struct TSongOptions {
    TConfiguration Config;
    std::string Language = "Englisch";
    bool AnswerYes = false;  // --yes: questions are answered Yes (default: No, which changes nothing)
};

// Takes the shared options out of args (the rest stays, in order). Throws
// std::invalid_argument with a message for a bad value.
TSongOptions ParseSongOptions(std::vector<std::string>& args);
// The usage lines of the shared options.
std::string SongOptionsUsage();

// Prints messages on stderr and answers questions from the options; never waits.
class TCliDialogs : public TUserDialogs {
  public:
    explicit TCliDialogs(bool answerYes) : AnswerYes(answerYes) {}
    void Message(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    bool AnswerYes;
};

// Applies the options to a song before it is opened.
void ApplySongOptions(const TSongOptions& options, TSong& song);

// Takes "--name VALUE" out of args; returns false when it is absent.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// Takes the flag "--name" out of args.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);

} // namespace lv::cli
