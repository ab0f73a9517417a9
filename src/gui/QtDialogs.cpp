#include "gui/QtDialogs.h"

#include <QMessageBox>

namespace lv {

QString MessageText(const std::string& text) {
    QString t = QString::fromStdString(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace('\r', '\n');
    return t;
}

void TQtDialogs::Message(const std::string& text, const std::string& caption) {
    const bool warning = caption == "Error" || caption == "Achtung" || caption == "Warning";
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromStdString(caption), MessageText(text), QMessageBox::Ok,
                    Owner.data());
    box.exec();
}

bool TQtDialogs::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, Owner.data());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace lv
