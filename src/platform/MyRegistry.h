#pragma once
// The settings store: named values below one key path, read with a default,
// written back, deleted; every failure goes to one error report. Backed by
// QSettings with organisation "Sonarvell" and application "Lyrivox" (the
// registry on Windows, an ini file in the user's configuration folder
// elsewhere); tests hand in a file of their own.
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSettings;

namespace lv {

// The predefined roots a key path starts from.
enum class HKeys {
    kHKEY_CLASSES_ROOT,
    kHKEY_CURRENT_USER,
    kHKEY_LOCAL_MACHINE,
    kHKEY_USERS,
    kHKEY_CURRENT_CONFIG,
    kHKEY_DYN_DATA,
};

class TMyRegistry;
// Error report: the component, whether the report is meant to be shown, the text.
using TMyRegistryError =
    std::function<void(TMyRegistry& sender, bool isBox, const std::string& eMessage)>;

class TMyRegistry {
  public:
    // The user's own store.
    TMyRegistry();
    // Another settings file (ini format), e.g. a temporary one in tests.
    explicit TMyRegistry(const QString& iniFile);
    ~TMyRegistry();
    TMyRegistry(const TMyRegistry&) = delete;
    TMyRegistry& operator=(const TMyRegistry&) = delete;

    // Published properties, in their order.
    bool SaveNewKey = true; // a read that gives the default writes it back
    std::string RegPath;    // base key path below the root key
    HKeys RootKey = HKeys::kHKEY_LOCAL_MACHINE;
    bool CanCreate = false; // missing keys are created when opened
    TMyRegistryError OnError;

    // Prepares the store; false (with a shown report) when RegPath is blank.
    bool Open();
    // Releases the store, writing pending values out.
    void Close();
    bool IsOpen() const { return Store != nullptr; }

    bool ValueExists(const std::string& subKey, const std::string& name);
    std::string ReadString(const std::string& subKey, const std::string& name,
                           const std::string& def);
    std::int32_t ReadInteger(const std::string& subKey, const std::string& name, std::int32_t def);
    bool ReadBool(const std::string& subKey, const std::string& name, bool def);
    // Return false after a reported failure.
    bool WriteString(const std::string& subKey, const std::string& name, const std::string& value);
    bool WriteInteger(const std::string& subKey, const std::string& name, std::int32_t value);
    bool WriteBool(const std::string& subKey, const std::string& name, bool value);
    bool DeleteValue(const std::string& subKey, const std::string& name);

    // Sends a report to OnError, or shows it (isBox) through the box reporter.
    void ReportError(bool isBox, const std::string& message);

    // How a shown report reaches the user when no OnError is set. The window
    // puts a warning box here; without a window it goes to stderr.
    using TBoxReporter = std::function<void(const std::string& text, const std::string& caption)>;
    static void SetBoxReporter(TBoxReporter reporter);

  private:
    // The QSettings group of RegPath + subKey, and whether the key may be used.
    bool OpenKey(const std::string& subKey, bool create, QString& group);
    bool ReadRaw(const std::string& subKey, const std::string& name, QString& text);
    bool WriteRaw(const std::string& subKey, const std::string& name, const QVariant& value);

    QString IniFile; // empty: the user's own store
    std::unique_ptr<QSettings> Store;
};

} // namespace lv
