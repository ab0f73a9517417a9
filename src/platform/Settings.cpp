#include "platform/Settings.h"

#include "text/CodePage.h"

namespace lv {

namespace {

// Keeps one store setting and puts it back when the scope ends.
struct TStoreModes {
    TMyRegistry& Reg;
    bool SaveNewKey;
    bool CanCreate;
    TMyRegistryError OnError;
    TStoreModes(TMyRegistry& reg, bool saveNewKey, bool canCreate)
        : Reg(reg), SaveNewKey(reg.SaveNewKey), CanCreate(reg.CanCreate), OnError(reg.OnError) {
        reg.SaveNewKey = saveNewKey;
        reg.CanCreate = canCreate;
    }
    ~TStoreModes() {
        Reg.SaveNewKey = SaveNewKey;
        Reg.CanCreate = CanCreate;
        Reg.OnError = OnError;
    }
};

class TLoader {
  public:
    explicit TLoader(TMyRegistry& reg) : Reg(reg) {}
    void Bool(const char* name, bool& field) {
        if (Reg.ValueExists("", name)) field = Reg.ReadBool("", name, field);
    }
    void Int(const char* name, std::int32_t& field) {
        if (Reg.ValueExists("", name)) field = Reg.ReadInteger("", name, field);
    }
    // 8-bit fields keep the low byte of the stored integer.
    void Byte(const char* name, std::uint8_t& field) {
        if (Reg.ValueExists("", name))
            field = static_cast<std::uint8_t>(Reg.ReadInteger("", name, field) & 0xFF);
    }
    void Str(const char* name, std::string& field) {
        if (Reg.ValueExists("", name)) field = Reg.ReadString("", name, field);
    }

  private:
    TMyRegistry& Reg;
};

} // namespace

void UseProgramKey(TMyRegistry& reg) {
    reg.RootKey = HKeys::kHKEY_CURRENT_USER;
    reg.RegPath = kRegistryPath;
}

void LoadSettings(TMyRegistry& reg, TConfiguration& c, const TDesktopRect& desktop) {
    TStoreModes modes(reg, false, true);
    if (!reg.Open()) return;
    TLoader l(reg);
    l.Bool("ConfirmTerminate", c.ConfirmTerminate);
    l.Byte("Controller32Value", c.Controller32Value);
    // The copyright line is lyric text: bytes of the lyrics' code page,
    // kept in the store as readable text.
    std::string copyright = DecodeToUtf8(c.CopyrightString);
    l.Str("CopyrightString", copyright);
    c.CopyrightString = EncodeFromUtf8(copyright);
    l.Bool("DeleteController32", c.DeleteController32);
    l.Bool("DoNotChangeController32", c.DoNotChangeController32);
    l.Bool("FontBold", c.FontBold);
    l.Int("FontCharset", c.FontCharset);
    l.Int("FontHeight", c.FontHeight);
    l.Bool("FontItalic", c.FontItalic);
    l.Str("FontName", c.FontName);
    l.Int("FontSize", c.FontSize);
    l.Bool("FontStrikeOut", c.FontStrikeOut);
    l.Bool("FontUnderline", c.FontUnderline);
    l.Bool("InsertController32", c.InsertController32);
    l.Str("LastMidiPathDest", c.LastMidiPathDest);
    l.Str("LastMidiPathSource", c.LastMidiPathSource);
    l.Str("LastTextPath", c.LastTextPath);
    l.Int("MainFormHeight", c.MainFormHeight);
    l.Int("MainFormLeft", c.MainFormLeft);
    l.Int("MainFormTop", c.MainFormTop);
    l.Int("MainFormWidth", c.MainFormWidth);
    CheckMainFormPlacement(c.MainFormHeight, c.MainFormLeft, c.MainFormWidth, c.MainFormTop,
                           desktop);
    l.Byte("MelodyTrack", c.MelodyTrack);
    l.Str("MidiOutputDeviceName", c.MidiOutputDeviceName);
    l.Bool("MultiMode", c.MultiMode);
    l.Byte("PlaybackSpeed", c.PlaybackSpeed);
    l.Bool("PrevCommandMode", c.PrevCommandMode);
    l.Byte("QuantizeFactor", c.QuantizeFactor);
    l.Bool("RememberLayout", c.RememberLayout);
    l.Byte("SufflorCmdController", c.SufflorCmdController);
    l.Bool("SufflorEnabled", c.SufflorEnabled);
    l.Byte("SufflorFont", c.SufflorFont);
    l.Byte("SufflorFontHeight", c.SufflorFontHeight);
    l.Bool("SufflorForYamaha", c.SufflorForYamaha);
    l.Bool("SufflorInversVideo", c.SufflorInversVideo);
    l.Byte("SufflorMidiChannel", c.SufflorMidiChannel);
    l.Int("SufflorTimeOffset", c.SufflorTimeOffset);
    l.Int("TransportFormLeft", c.TransportFormLeft);
    l.Int("TransportFormTop", c.TransportFormTop);
    CheckTransportFormPlacement(c.TransportFormLeft, c.TransportFormTop, desktop);
    l.Bool("VirtualSufflor", c.VirtualSufflor);
    l.Bool("XF_DeleteChordHelper", c.XF_DeleteChordHelper);
    reg.Close();
}

void SaveSettings(TMyRegistry& reg, const TConfiguration& c, bool keepInsertController32) {
    {
        TStoreModes modes(reg, true, true);
        if (reg.Open()) {
            // PrevCommandMode and XF_DeleteChordHelper are read only: never written.
            if (c.CopyrightString.empty()) {
                reg.DeleteValue("", "CopyrightString"); // a missing value is reported silently
            } else {
                reg.WriteString("", "CopyrightString", DecodeToUtf8(c.CopyrightString));
            }
            reg.WriteBool("", "ConfirmTerminate", c.ConfirmTerminate);
            reg.WriteInteger("", "Controller32Value", c.Controller32Value);
            reg.WriteBool("", "DeleteController32", c.DeleteController32);
            reg.WriteBool("", "DoNotChangeController32", c.DoNotChangeController32);
            reg.WriteBool("", "FontBold", c.FontBold);
            reg.WriteInteger("", "FontCharset", c.FontCharset);
            reg.WriteInteger("", "FontHeight", c.FontHeight);
            reg.WriteBool("", "FontItalic", c.FontItalic);
            reg.WriteString("", "FontName", c.FontName);
            reg.WriteInteger("", "FontSize", c.FontSize);
            reg.WriteBool("", "FontStrikeOut", c.FontStrikeOut);
            reg.WriteBool("", "FontUnderline", c.FontUnderline);
            if (!keepInsertController32)
                reg.WriteBool("", "InsertController32", c.InsertController32);
            reg.WriteString("", "LastMidiPathDest", c.LastMidiPathDest);
            reg.WriteString("", "LastMidiPathSource", c.LastMidiPathSource);
            reg.WriteString("", "LastTextPath", c.LastTextPath);
            reg.WriteInteger("", "MainFormHeight", c.MainFormHeight);
            reg.WriteInteger("", "MainFormLeft", c.MainFormLeft);
            reg.WriteInteger("", "MainFormTop", c.MainFormTop);
            reg.WriteInteger("", "MainFormWidth", c.MainFormWidth);
            reg.WriteString("", "MidiOutputDeviceName", c.MidiOutputDeviceName);
            reg.WriteInteger("", "MelodyTrack", c.MelodyTrack);
            reg.WriteBool("", "MultiMode", c.MultiMode);
            reg.WriteInteger("", "PlaybackSpeed", c.PlaybackSpeed);
            reg.WriteInteger("", "QuantizeFactor", c.QuantizeFactor);
            reg.WriteBool("", "RememberLayout", c.RememberLayout);
            reg.WriteInteger("", "SufflorCmdController", c.SufflorCmdController);
            reg.WriteBool("", "SufflorEnabled", c.SufflorEnabled);
            reg.WriteInteger("", "SufflorFont", c.SufflorFont);
            reg.WriteInteger("", "SufflorFontHeight", c.SufflorFontHeight);
            reg.WriteBool("", "SufflorForYamaha", c.SufflorForYamaha);
            reg.WriteBool("", "SufflorInversVideo", c.SufflorInversVideo);
            reg.WriteInteger("", "SufflorMidiChannel", c.SufflorMidiChannel);
            reg.WriteInteger("", "SufflorTimeOffset", c.SufflorTimeOffset);
            reg.WriteInteger("", "TransportFormLeft", c.TransportFormLeft);
            reg.WriteInteger("", "TransportFormTop", c.TransportFormTop);
            reg.WriteBool("", "VirtualSufflor", c.VirtualSufflor);
            reg.Close();
        }
    }
    reg.SaveNewKey = false;
}

bool SettingExists(TMyRegistry& reg, const std::string& name) {
    TStoreModes modes(reg, false, false);
    UseProgramKey(reg);
    if (!reg.Open()) return false;
    const bool exists = reg.ValueExists("", name);
    reg.Close();
    return exists;
}

std::string ReadSetting(TMyRegistry& reg, const std::string& name, const std::string& def) {
    TStoreModes modes(reg, false, false);
    UseProgramKey(reg);
    if (!reg.Open()) return def;
    const std::string v = reg.ReadString("", name, def);
    reg.Close();
    return v;
}

std::string ReadSetting(TMyRegistry& reg, const std::string& name, const char* def) {
    return ReadSetting(reg, name, std::string(def));
}

std::int32_t ReadSetting(TMyRegistry& reg, const std::string& name, std::int32_t def) {
    TStoreModes modes(reg, false, false);
    UseProgramKey(reg);
    if (!reg.Open()) return def;
    const std::int32_t v = reg.ReadInteger("", name, def);
    reg.Close();
    return v;
}

bool ReadSetting(TMyRegistry& reg, const std::string& name, bool def) {
    TStoreModes modes(reg, false, false);
    UseProgramKey(reg);
    if (!reg.Open()) return def;
    const bool v = reg.ReadBool("", name, def);
    reg.Close();
    return v;
}

void WriteSetting(TMyRegistry& reg, const std::string& name, const std::string& value) {
    TStoreModes modes(reg, false, true);
    UseProgramKey(reg);
    if (!reg.Open()) return;
    reg.WriteString("", name, value);
    reg.Close();
}

void WriteSetting(TMyRegistry& reg, const std::string& name, const char* value) {
    WriteSetting(reg, name, std::string(value));
}

void WriteSetting(TMyRegistry& reg, const std::string& name, std::int32_t value) {
    TStoreModes modes(reg, false, true);
    UseProgramKey(reg);
    if (!reg.Open()) return;
    reg.WriteInteger("", name, value);
    reg.Close();
}

void WriteSetting(TMyRegistry& reg, const std::string& name, bool value) {
    TStoreModes modes(reg, false, true);
    UseProgramKey(reg);
    if (!reg.Open()) return;
    reg.WriteBool("", name, value);
    reg.Close();
}

std::optional<std::string> StoredLanguage(TMyRegistry& reg) {
    if (!SettingExists(reg, "Lang")) return std::nullopt;
    return ReadSetting(reg, "Lang", "");
}

void SaveWindowPlacement(TMyRegistry& reg, TConfiguration& c, const TWindowPlacement& main,
                         std::int32_t transportLeft, std::int32_t transportTop) {
    c.MainFormLeft = main.Left;
    c.MainFormTop = main.Top;
    if (!c.VirtualSufflor) {
        c.MainFormHeight = main.Height;
        c.MainFormWidth = main.Width;
    }
    c.TransportFormLeft = transportLeft;
    c.TransportFormTop = transportTop;
    TStoreModes modes(reg, false, true);
    reg.OnError = [](TMyRegistry&, bool, const std::string&) {}; // nothing to do at exit
    if (!reg.Open()) return;
    reg.WriteInteger("", "MainFormLeft", c.MainFormLeft);
    reg.WriteInteger("", "MainFormTop", c.MainFormTop);
    reg.WriteInteger("", "MainFormHeight", c.MainFormHeight);
    reg.WriteInteger("", "MainFormWidth", c.MainFormWidth);
    reg.WriteInteger("", "TransportFormLeft", c.TransportFormLeft);
    reg.WriteInteger("", "TransportFormTop", c.TransportFormTop);
    reg.Close();
}

} // namespace lv
