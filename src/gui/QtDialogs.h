#pragma once
// Questions and messages of core as message boxes.
#include <QPointer>
#include <QWidget>

#include "text/UserDialogs.h"

namespace lv {

class TQtDialogs : public TUserDialogs {
  public:
    explicit TQtDialogs(QWidget* owner = nullptr) : Owner(owner) {}
    // An OK box; a caption "Error" or "Achtung"/"Warning" gets the warning icon.
    void Message(const std::string& text, const std::string& caption) override;
    // A Yes/No box; only Yes returns true.
    bool AskYesNo(const std::string& text, const std::string& caption) override;

  private:
    QPointer<QWidget> Owner;
};

// Program texts are UTF-8; "\r" line breaks of the messages become "\n".
QString MessageText(const std::string& text);

} // namespace lv
