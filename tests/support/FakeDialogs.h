#pragma once
// Scripted answers for questions core asks, and a record of every message.
#include <deque>
#include <string>
#include <vector>

#include "text/UserDialogs.h"

namespace lvtest {

class TFakeDialogs : public lv::TUserDialogs {
  public:
    struct TEntry {
        bool IsQuestion;
        std::string Text;
        std::string Caption;
    };
    void Message(const std::string& text, const std::string& caption) override {
        Log.push_back({false, text, caption});
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        Log.push_back({true, text, caption});
        if (Answers.empty()) return DefaultAnswer;
        bool a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<bool> Answers;    // answers in order, then DefaultAnswer
    bool DefaultAnswer = false;
    std::vector<TEntry> Log;
};

} // namespace lvtest
