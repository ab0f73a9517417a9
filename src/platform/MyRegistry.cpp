#include "platform/MyRegistry.h"

#include <QSettings>
#include <QStringList>
#include <cstdio>

namespace lv {

namespace {

TMyRegistry::TBoxReporter& BoxReporter() {
    static TMyRegistry::TBoxReporter reporter = [](const std::string& text,
                                                   const std::string& caption) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    };
    return reporter;
}

const char* RootName(HKeys root) {
    switch (root) {
    case HKeys::kHKEY_CLASSES_ROOT:
        return "HKEY_CLASSES_ROOT";
    case HKeys::kHKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    case HKeys::kHKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    case HKeys::kHKEY_USERS:
        return "HKEY_USERS";
    case HKeys::kHKEY_CURRENT_CONFIG:
        return "HKEY_CURRENT_CONFIG";
    case HKeys::kHKEY_DYN_DATA:
        return "HKEY_DYN_DATA";
    }
    return "";
}

// The application's own key: its values live at the top of the store.
const QString kOwnKey = QStringLiteral("software/sonarvell/lyrivox");

} // namespace

TMyRegistry::TMyRegistry() = default;
TMyRegistry::TMyRegistry(const QString& iniFile) : IniFile(iniFile) {}
TMyRegistry::~TMyRegistry() {
    Close();
}

void TMyRegistry::SetBoxReporter(TBoxReporter reporter) {
    BoxReporter() = std::move(reporter);
}

void TMyRegistry::ReportError(bool isBox, const std::string& message) {
    if (OnError) {
        OnError(*this, isBox, message);
    } else if (isBox && BoxReporter()) {
        BoxReporter()(message, "Error");
    }
}

bool TMyRegistry::Open() {
    if (QString::fromStdString(RegPath).trimmed().isEmpty()) {
        ReportError(true, "You must insert a registry string !!");
        return false;
    }
    if (!Store) {
        if (!IniFile.isEmpty()) {
            Store = std::make_unique<QSettings>(IniFile, QSettings::IniFormat);
        } else {
            const auto scope = RootKey == HKeys::kHKEY_LOCAL_MACHINE ? QSettings::SystemScope
                                                                     : QSettings::UserScope;
            Store =
                std::make_unique<QSettings>(QSettings::NativeFormat, scope,
                                            QStringLiteral("Sonarvell"), QStringLiteral("Lyrivox"));
        }
    }
    if (RegPath.empty() || RegPath.back() != '\\') RegPath += '\\';
    return true;
}

void TMyRegistry::Close() {
    if (!Store) return;
    Store->sync();
    const bool failed = Store->status() == QSettings::AccessError;
    const QString file = Store->fileName();
    Store.reset();
    if (failed)
        ReportError(true, "The settings could not be written to " + file.toStdString() + ".");
}

bool TMyRegistry::OpenKey(const std::string& subKey, bool create, QString& group) {
    if (!Store) return false;
    QString path = QString::fromStdString(RegPath + subKey);
    path.replace('\\', '/');
    const QStringList parts = path.split('/', Qt::SkipEmptyParts);
    path = parts.join('/');
    if (path.compare(kOwnKey, Qt::CaseInsensitive) == 0) {
        path.clear();
    } else if (path.startsWith(kOwnKey + '/', Qt::CaseInsensitive)) {
        path = path.mid(kOwnKey.size() + 1);
    }
    // Roots other than the user's (and the machine's, which has its own scope
    // in the native store) keep their values apart under the root's name.
    const bool ownScope = RootKey == HKeys::kHKEY_CURRENT_USER ||
                          (RootKey == HKeys::kHKEY_LOCAL_MACHINE && IniFile.isEmpty());
    if (!ownScope)
        path = QString::fromLatin1(RootName(RootKey)) + (path.isEmpty() ? "" : "/") + path;
    group = path;
    if (create) return true;
    // A key exists when something is stored below it.
    Store->beginGroup(group);
    const bool exists = !Store->childKeys().isEmpty() || !Store->childGroups().isEmpty();
    Store->endGroup();
    return exists;
}

bool TMyRegistry::ValueExists(const std::string& subKey, const std::string& name) {
    QString group;
    if (!OpenKey(subKey, CanCreate, group)) return false;
    Store->beginGroup(group);
    const bool exists = Store->contains(QString::fromStdString(name));
    Store->endGroup();
    return exists;
}

bool TMyRegistry::ReadRaw(const std::string& subKey, const std::string& name, QString& text) {
    QString group;
    if (!OpenKey(subKey, CanCreate, group)) return false;
    Store->beginGroup(group);
    const QVariant v = Store->value(QString::fromStdString(name));
    Store->endGroup();
    if (!v.isValid() || !v.canConvert<QString>()) return false;
    text = v.toString();
    return true;
}

bool TMyRegistry::WriteRaw(const std::string& subKey, const std::string& name,
                           const QVariant& value) {
    QString group;
    if (!Store || !OpenKey(subKey, CanCreate, group) || !Store->isWritable()) {
        ReportError(true, "Failed to set data for '" + name + "'");
        return false;
    }
    Store->beginGroup(group);
    Store->setValue(QString::fromStdString(name), value);
    Store->endGroup();
    return true;
}

std::string TMyRegistry::ReadString(const std::string& subKey, const std::string& name,
                                    const std::string& def) {
    QString text;
    std::string result = def;
    if (ReadRaw(subKey, name, text))
        result = text.toStdString();
    else
        ReportError(false, "Failed to get data for '" + name + "'");
    if (SaveNewKey && result == def) WriteString(subKey, name, def);
    return result;
}

std::int32_t TMyRegistry::ReadInteger(const std::string& subKey, const std::string& name,
                                      std::int32_t def) {
    QString text;
    bool ok = false;
    std::int32_t result = def;
    if (ReadRaw(subKey, name, text)) {
        const std::int32_t v = text.trimmed().toInt(&ok);
        if (ok) result = v;
    }
    if (!ok) ReportError(false, "Invalid data type for '" + name + "'");
    if (SaveNewKey && result == def) WriteInteger(subKey, name, def);
    return result;
}

bool TMyRegistry::ReadBool(const std::string& subKey, const std::string& name, bool def) {
    // Stored as the integers 0 and 1; any other integer counts as true.
    QString text;
    bool ok = false;
    bool result = def;
    if (ReadRaw(subKey, name, text)) {
        const std::int32_t v = text.trimmed().toInt(&ok);
        if (ok) result = v != 0;
    }
    if (!ok) ReportError(false, "Invalid data type for '" + name + "'");
    if (SaveNewKey && result == def) WriteBool(subKey, name, def);
    return result;
}

bool TMyRegistry::WriteString(const std::string& subKey, const std::string& name,
                              const std::string& value) {
    return WriteRaw(subKey, name, QVariant(QString::fromStdString(value)));
}

bool TMyRegistry::WriteInteger(const std::string& subKey, const std::string& name,
                               std::int32_t value) {
    return WriteRaw(subKey, name, QVariant(static_cast<int>(value)));
}

bool TMyRegistry::WriteBool(const std::string& subKey, const std::string& name, bool value) {
    return WriteInteger(subKey, name, value ? 1 : 0);
}

bool TMyRegistry::DeleteValue(const std::string& subKey, const std::string& name) {
    QString group;
    bool deleted = false;
    if (OpenKey(subKey, CanCreate, group) && Store->isWritable()) {
        Store->beginGroup(group);
        const QString key = QString::fromStdString(name);
        if (Store->contains(key)) {
            Store->remove(key);
            deleted = true;
        }
        Store->endGroup();
    }
    if (!deleted) ReportError(false, "The Value " + name + " was not deleted!");
    return deleted;
}

} // namespace lv
