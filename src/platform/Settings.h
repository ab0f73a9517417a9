#pragma once
// Loading and saving the settings record through the settings store.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/MyRegistry.h"
#include "settings/Configuration.h"
#include "settings/Placement.h"

namespace lv {

// Where the program keeps its values.
inline constexpr const char* kRegistryPath = "SOFTWARE\\Sonarvell\\Lyrivox\\";

// Points a store at the program's key of the current user.
void UseProgramKey(TMyRegistry& reg);

// Reads every value into config; a missing value keeps what config holds
// (pass DefaultConfiguration). Window placements pass the desktop checks.
void LoadSettings(TMyRegistry& reg, TConfiguration& config, const TDesktopRect& desktop);

// Writes every saved value. keepInsertController32: the program was started
// with the command-line word that keeps InsertController32 as stored.
void SaveSettings(TMyRegistry& reg, const TConfiguration& config, bool keepInsertController32);

// Single values under the program's key, never creating it.
bool SettingExists(TMyRegistry& reg, const std::string& name);
std::string ReadSetting(TMyRegistry& reg, const std::string& name, const std::string& def);
std::string ReadSetting(TMyRegistry& reg, const std::string& name, const char* def);
std::int32_t ReadSetting(TMyRegistry& reg, const std::string& name, std::int32_t def);
bool ReadSetting(TMyRegistry& reg, const std::string& name, bool def);
// Single values, creating the key when missing.
void WriteSetting(TMyRegistry& reg, const std::string& name, const std::string& value);
void WriteSetting(TMyRegistry& reg, const std::string& name, const char* value);
void WriteSetting(TMyRegistry& reg, const std::string& name, std::int32_t value);
void WriteSetting(TMyRegistry& reg, const std::string& name, bool value);

// The stored "Lang" value, when there is one.
std::optional<std::string> StoredLanguage(TMyRegistry& reg);

struct TWindowPlacement {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// At exit: takes the windows' placement into config (the main window's size
// only without VirtualSufflor) and writes the six values; failures are ignored.
void SaveWindowPlacement(TMyRegistry& reg, TConfiguration& config, const TWindowPlacement& main,
                         std::int32_t transportLeft, std::int32_t transportTop);

} // namespace lv
