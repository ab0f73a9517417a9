// Lyrivox: the karaoke lyrics editor.
//   lyrivox [FILE.mid] [--screenshot OUT.png]
// FILE is opened at start; --screenshot saves a picture of the window once it
// is shown and ends the program (for looking at the window on a machine
// without a screen, e.g. under xvfb-run).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "gui/MainForm.h"
#include "platform/MyRegistry.h"
#include "text/Messages.h"
#include "text/MessagesShell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(lv::kAppTitle);
    QApplication::setOrganizationName("Sonarvell");
    QApplication::setApplicationDisplayName(lv::kAppTitle);

    lv::TMainFormSetup setup;
    QString file;
    QString screenshot;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (i <= 3 && args[i].compare(lv::kKeepController32Word, Qt::CaseInsensitive) == 0)
            setup.KeepInsertController32 = true;
        else if (args[i] == "--screenshot" && i + 1 < args.size())
            screenshot = args[++i];
        else if (file.isEmpty() && !args[i].startsWith("--"))
            file = QFileInfo(args[i]).absoluteFilePath();
    }
    // The program folder is the working folder, as the open dialog expects.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    lv::TMyRegistry::SetBoxReporter([](const std::string& text, const std::string& caption) {
        QMessageBox::warning(nullptr, QString::fromStdString(caption),
                             QString::fromStdString(text));
    });

    lv::TMainForm form(setup);
    form.show();
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, file] { form.OpenSong(file); });
    }
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &form, [&form, screenshot] {
            const bool ok = form.grab().save(screenshot);
            QCoreApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
