#include "gui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>

#include "model/OpenSong.h"
#include "platform/Settings.h"
#include "settings/Defaults.h"
#include "settings/Language.h"
#include "text/MessagesShell.h"

namespace lv {

namespace {

// Commands that exist in this build; every other item stays disabled until
// its command arrives.
const std::set<std::string> kBuiltCommands = {
    "MainMenu_Datei", "MainMenu_DateiOeffnen", "MainMenu_DateiProgrammBeenden",
    "MainMenu_Text",  "MainMenu_Edit",         "MainMenu_Help",
};

bool IsSeparator(const TMenuEntry& e) {
    return std::string(e.Caption.De) == "-";
}

TDesktopRect Desktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {0, 0, 640, 480};
    const QRect r = screen->virtualGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

} // namespace

QString QtFileFilter(const std::string& pairs) {
    const QStringList parts = QString::fromStdString(pairs).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Qt reads the patterns from the trailing parentheses, so they must be
        // the real ones (a description may show others or none).
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0) description = description.left(open).trimmed();
        }
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        filters << description + " (" + patterns + ")";
    }
    return filters.join(";;");
}

QString DisplayText(const std::string& viewText, TCodePage page, std::vector<int>* positions) {
    QString out;
    out.reserve(static_cast<qsizetype>(viewText.size()));
    if (positions) positions->assign(viewText.size() + 1, 0);
    for (std::size_t i = 0; i < viewText.size(); ++i) {
        if (positions) (*positions)[i] = static_cast<int>(out.size());
        const auto b = static_cast<unsigned char>(viewText[i]);
        if (b == '\r') {
            // "\r\n" is one line end in the control; so is a lone "\r".
            if (i + 1 < viewText.size() && viewText[i + 1] == '\n') {
                ++i;
                if (positions) (*positions)[i] = static_cast<int>(out.size());
            }
            out += QChar('\n');
            continue;
        }
        out += QChar(static_cast<char16_t>(DecodeByte(page, b)));
    }
    if (positions) positions->back() = static_cast<int>(out.size());
    return out;
}

TMainForm::TMainForm(const TMainFormSetup& setup, QWidget* parent)
    : QMainWindow(parent), BoxDialogs(this), KeepInsertController32(setup.KeepInsertController32) {
    setObjectName("MainForm");
    Registry = setup.SettingsFile.isEmpty() ? std::make_unique<TMyRegistry>()
                                            : std::make_unique<TMyRegistry>(setup.SettingsFile);
    UseProgramKey(*Registry);
    Registry->CanCreate = false;
    Song.Dialogs = &Dialogs();

    MemoStack = new QStackedWidget(this);
    MyMemoDummy = new QPlainTextEdit(MemoStack);
    MyMemoDummy->setObjectName("MyMemoDummy");
    MyMemoDummy->setReadOnly(true);
    MyMemo = new QPlainTextEdit(MemoStack);
    MyMemo->setObjectName("MyMemo");
    MyMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    MyMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MyMemo->setReadOnly(true);
    // The sung part stays visible while another window has the focus.
    QPalette pal = MyMemo->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    MyMemo->setPalette(pal);
    MemoStack->addWidget(MyMemoDummy);
    MemoStack->addWidget(MyMemo);
    MemoStack->setCurrentWidget(MyMemo);
    setCentralWidget(MemoStack);

    CreateMenus();

    // Language: the stored choice, else the system's language.
    const QString system = setup.SystemLanguage.isEmpty() ? QLocale::system().nativeLanguageName()
                                                          : setup.SystemLanguage;
    Song.Language = ResolveLanguage(StoredLanguage(*Registry), system.toStdString());
    ApplyLanguage();

    const QString folder = setup.ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                         : setup.ProgramFolder;
    Song.Config = DefaultConfiguration(QDir::toNativeSeparators(folder).toStdString());
    LoadSettings(*Registry, Song.Config, Desktop());

    move(Config().MainFormLeft, Config().MainFormTop);
    resize(Config().MainFormWidth, Config().MainFormHeight);
    ApplyFont();
    Item("MainMenu_DateiMultiOeffnen")->setVisible(Config().MultiMode);
    Item("MainMenu_DateiBar2")->setVisible(Config().MultiMode);
    setWindowTitle(kAppTitle);
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateMenus() {
    std::map<std::string, QMenu*> menus;
    PopupMenu_Text = new QMenu(this);
    PopupMenu_Text->setObjectName("PopupMenu_Text");
    for (const auto& e : kMainMenuEntries) {
        const std::string name = e.Name;
        const std::string parent = e.Parent;
        const bool popup = name.rfind("PopupMenu_", 0) == 0;
        const bool isMenu = !popup && parent.empty() && name != "MainMenu_Options";
        QAction* action = nullptr;
        if (isMenu) {
            QMenu* menu = menuBar()->addMenu(QString::fromUtf8(e.Caption.De));
            menu->setObjectName(QString::fromStdString(name));
            menus[name] = menu;
            action = menu->menuAction();
        } else {
            QWidget* owner = popup            ? static_cast<QWidget*>(PopupMenu_Text)
                             : parent.empty() ? static_cast<QWidget*>(menuBar())
                                              : static_cast<QWidget*>(menus.at(parent));
            action = new QAction(QString::fromUtf8(e.Caption.De), owner);
            action->setSeparator(IsSeparator(e));
            owner->addAction(action);
        }
        action->setObjectName(QString::fromStdString(name));
        Items[name] = action;
        if (!kBuiltCommands.count(name) && !IsSeparator(e)) PendingCommands.insert(name);
        SetItemEnabled(name, e.Enabled);
    }
    connect(Item("MainMenu_DateiOeffnen"), &QAction::triggered, this,
            &TMainForm::MainMenu_DateiOeffnenClick);
    connect(Item("MainMenu_DateiProgrammBeenden"), &QAction::triggered, this,
            &TMainForm::MainMenu_DateiProgrammBeendenClick);
    MyMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MyMemo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu_Text->popup(MyMemo->mapToGlobal(p)); });
}

void TMainForm::ApplyLanguage() {
    for (const auto& e : kMainMenuEntries)
        if (!IsSeparator(e)) SetItemCaption(e.Name, Tr(Song.Language, e.Caption));
}

QAction* TMainForm::Item(const std::string& name) const {
    const auto it = Items.find(name);
    return it == Items.end() ? nullptr : it->second;
}

void TMainForm::SetItemEnabled(const std::string& name, bool enabled) {
    if (QAction* a = Item(name)) a->setEnabled(enabled && !PendingCommands.count(name));
}

void TMainForm::SetItemCaption(const std::string& name, const std::string& caption) {
    if (QAction* a = Item(name)) a->setText(QString::fromStdString(caption));
}

void TMainForm::SetDialogs(TUserDialogs* dialogs) {
    TestDialogs = dialogs;
    Song.Dialogs = &Dialogs();
}

TUserDialogs& TMainForm::Dialogs() {
    return TestDialogs ? *TestDialogs : static_cast<TUserDialogs&>(BoxDialogs);
}

void TMainForm::ApplyFont() {
    const TConfiguration& c = Config();
    QFont font(QString::fromStdString(c.FontName));
    // A negative height is the character height in pixels; otherwise the size
    // in points counts.
    if (c.FontHeight < 0)
        font.setPixelSize(-c.FontHeight);
    else if (c.FontSize > 0)
        font.setPointSize(c.FontSize);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(c.FontBold);
    font.setItalic(c.FontItalic);
    font.setStrikeOut(c.FontStrikeOut);
    font.setUnderline(c.FontUnderline);
    MyMemo->setFont(font);
    QPalette pal = MyMemo->palette();
    pal.setColor(QPalette::Text, pal.color(QPalette::WindowText));
    MyMemo->setPalette(pal);
}

void TMainForm::ShowMemo(bool visible) {
    MemoStack->setCurrentWidget(visible ? MyMemo : MyMemoDummy);
    MyMemo->setVisible(visible);
}

void TMainForm::SetViewText(const std::string& bytes) {
    ShownText = bytes;
    MyMemo->setPlainText(
        DisplayText(bytes, CodePageForCharset(Config().FontCharset), &ShownPositions));
    QTextCursor c = MyMemo->textCursor();
    c.setPosition(0);
    MyMemo->setTextCursor(c);
}

void TMainForm::ApplyHighlight(const THighlight& h) {
    if (!h.Apply || ShownPositions.empty()) return;
    const auto at = [this](std::int32_t pos) {
        const auto last = static_cast<std::int32_t>(ShownPositions.size()) - 1;
        return ShownPositions[static_cast<std::size_t>(std::clamp(pos, 0, last))];
    };
    QTextCursor c = MyMemo->textCursor();
    c.setPosition(at(h.ScrollCaret));
    MyMemo->setTextCursor(c);
    MyMemo->ensureCursorVisible();
    c.setPosition(at(h.SelStart));
    c.setPosition(at(h.SelEnd), QTextCursor::KeepAnchor);
    MyMemo->setTextCursor(c);
}

bool TMainForm::OpenSong(const QString& fileName) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Song.HasLastHiddenNote = false;
    ShownText.clear();
    ShownPositions.clear();
    MyMemo->clear();
    ShowMemo(false);
    TOpenResult result;
    try {
        result = lv::OpenSong(Song, QFile::encodeName(fileName).toStdString());
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Dialogs().Message(e.what(), kAppTitle);
        return false;
    }
    SetViewText(result.ViewText);
    ApplyFont();
    ShowMemo(true);
    ApplyHighlight(result.Highlight);
    for (const auto& [name, enabled] : OpenMenuStates(result.HasLyrics))
        SetItemEnabled(name, enabled);
    const TOpenCaptions captions = OpenEditCaptions(result.HasLyrics, Song.Language);
    for (const char* name : {"MainMenu_TextEdit", "PopupMenu_TextEdit"})
        SetItemCaption(name, captions.TextEdit);
    for (const char* name : {"MainMenu_TextEditMTC", "PopupMenu_TextEditMTC"})
        SetItemCaption(name, captions.TextEditMTC);
    setWindowTitle(QString(kAppTitle) + " - " + fileName);
    // A song without lyrics waits for them to be typed.
    MyMemo->setReadOnly(result.HasLyrics);
    if (!result.HasLyrics) MyMemo->setFocus();
    QApplication::restoreOverrideCursor();
    return true;
}

bool TMainForm::OpenChosenFile(const QString& fileName) {
    const std::string folder =
        QDir::toNativeSeparators(QFileInfo(fileName).absolutePath()).toStdString();
    if (SourceFolderKey(folder) != SourceFolderKey(Config().LastMidiPathSource)) {
        Config().LastMidiPathSource = SourceFolderKey(folder);
        SaveSettings(*Registry, Config(), KeepInsertController32);
    }
    return OpenSong(fileName);
}

void TMainForm::MainMenu_DateiOeffnenClick() {
    QFileDialog dlg(this, QString::fromUtf8(msg::kOpenDialogTitle),
                    QString::fromStdString(Config().LastMidiPathSource),
                    QtFileFilter(msg::kOpenDialogFilter));
    dlg.setObjectName("Dlg_MidiOeffnen");
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setDefaultSuffix("mid");
    dlg.setSizeGripEnabled(true);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    OpenChosenFile(dlg.selectedFiles().front());
}

void TMainForm::SaveWindowPlacementNow() {
    const QRect g = geometry();
    // The transport window keeps its stored place until it exists.
    lv::SaveWindowPlacement(*Registry, Config(), {pos().x(), pos().y(), g.width(), g.height()},
                            Config().TransportFormLeft, Config().TransportFormTop);
}

void TMainForm::MainMenu_DateiProgrammBeendenClick() {
    if (Config().ConfirmTerminate &&
        !Dialogs().AskYesNo(Tr(Song.Language, msg::kTerminateProgram), kAppTitle))
        return;
    if (Config().RememberLayout) SaveWindowPlacementNow();
    Terminating = true;
    QCoreApplication::exit(0);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Terminating) {
        event->accept();
        return;
    }
    if (Config().ConfirmTerminate &&
        !Dialogs().AskYesNo(Tr(Song.Language, msg::kExitLyrivox), kAppTitle)) {
        event->ignore();
        return;
    }
    if (Config().RememberLayout) SaveWindowPlacementNow();
    event->accept();
}

} // namespace lv
