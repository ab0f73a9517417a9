#pragma once
// The main window: owns the song, shows its lyrics, carries the menus.
#include <QMainWindow>
#include <QString>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gui/QtDialogs.h"
#include "lyrics/TextView.h"
#include "model/Song.h"
#include "platform/MyRegistry.h"
#include "text/CodePage.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QStackedWidget;

namespace lv {

// How the window starts; the defaults are those of the real program.
struct TMainFormSetup {
    QString SettingsFile;                // empty: the user's own settings store
    QString ProgramFolder;               // empty: the folder of the executable
    QString SystemLanguage;              // empty: the system's name of its language
    bool KeepInsertController32 = false; // the command-line word was given
};

// Qt's filter syntax ("Desc (*.a *.b);;...") from the "Desc|*.a;*.b|..." form.
QString QtFileFilter(const std::string& pairs);

// The view text (bytes, "\r\n" line ends) as the control shows it, decoded
// with the code page; positions[i] is where byte position i lands in it.
QString DisplayText(const std::string& viewText, TCodePage page, std::vector<int>* positions);

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainForm(const TMainFormSetup& setup = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    TSong Song; // Song.Config holds the settings, Song.Language the language
    TConfiguration& Config() { return Song.Config; }
    const std::string& Language() const { return Song.Language; }
    TMyRegistry& MyRegistry() { return *Registry; }

    QPlainTextEdit* MyMemo = nullptr;
    QPlainTextEdit* MyMemoDummy = nullptr;
    QMenu* PopupMenu_Text = nullptr;
    // A menu item (or the action of a menu) by its object name; nullptr when unknown.
    QAction* Item(const std::string& name) const;

    // Questions and messages go here (message boxes unless a test sets its own).
    void SetDialogs(TUserDialogs* dialogs);
    TUserDialogs& Dialogs();

    // Opens a song into the window; a failure is reported and gives false.
    bool OpenSong(const QString& fileName);
    // What the open command does with a chosen file: folder rule, then open.
    bool OpenChosenFile(const QString& fileName);
    // Selects the sung part of a line as HighlightSyllable computed it.
    void ApplyHighlight(const THighlight& highlight);
    // The bytes the view shows.
    const std::string& ViewText() const { return ShownText; }

  public slots:
    void MainMenu_DateiOeffnenClick();
    void MainMenu_DateiProgrammBeendenClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateMenus();
    void ApplyLanguage();
    void ApplyFont();
    void ShowMemo(bool visible);
    void SetViewText(const std::string& bytes);
    void SetItemEnabled(const std::string& name, bool enabled);
    void SetItemCaption(const std::string& name, const std::string& caption);
    void SaveWindowPlacementNow();

    std::unique_ptr<TMyRegistry> Registry;
    TQtDialogs BoxDialogs;
    TUserDialogs* TestDialogs = nullptr;
    bool KeepInsertController32 = false;
    bool Terminating = false;
    QStackedWidget* MemoStack = nullptr;
    std::map<std::string, QAction*> Items;
    std::set<std::string> PendingCommands; // items whose command comes later
    std::string ShownText;
    std::vector<int> ShownPositions;
};

} // namespace lv
