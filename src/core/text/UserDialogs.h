#pragma once
// Core never opens a window: questions and messages go through this interface.
// The GUI answers with message boxes, the CLI with its own policy, tests with a
// scripted fake (tests/support/FakeDialogs.h).
#include <string>

namespace lv {

class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;
    // An OK box.
    virtual void Message(const std::string& text, const std::string& caption) = 0;
    // A Yes/No box; only Yes returns true.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

// Answers every question with No and drops messages: a caller that must not
// block and must not change anything it was not asked to.
class TSilentDialogs : public TUserDialogs {
  public:
    void Message(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

} // namespace lv
