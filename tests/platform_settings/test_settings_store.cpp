// The settings store on a temporary settings file: defaults, round trip,
// the values that are never written, and the store's error reports.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <string>
#include <vector>

#include "SmfBuilder.h"
#include "platform/MyRegistry.h"
#include "platform/Settings.h"
#include "settings/Defaults.h"

namespace {

using lv::TConfiguration;

const lv::TDesktopRect kDesktop{0, 0, 1920, 1080};

struct TReport {
    bool IsBox;
    std::string Text;
};

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        Dir = lvtest::MakeTempDir("lv_settings");
        File = QString::fromStdString(Dir + "/Lyrivox.ini");
    }
    // A store as the main window uses it, reporting into Reports.
    std::unique_ptr<lv::TMyRegistry> Store() {
        auto reg = std::make_unique<lv::TMyRegistry>(File);
        lv::UseProgramKey(*reg);
        reg->OnError = [this](lv::TMyRegistry&, bool isBox, const std::string& text) {
            Reports.push_back({isBox, text});
        };
        return reg;
    }
    QVariant Raw(const char* name) { return QSettings(File, QSettings::IniFormat).value(name); }
    void PutRaw(const char* name, const QVariant& v) {
        QSettings s(File, QSettings::IniFormat);
        s.setValue(name, v);
    }
    TConfiguration Load(const TConfiguration& start, const lv::TDesktopRect& d = kDesktop) {
        TConfiguration c = start;
        lv::LoadSettings(*Store(), c, d);
        return c;
    }
    std::string Dir;
    QString File;
    std::vector<TReport> Reports;
};

// Every field, so a round trip that drops or mixes up one shows which.
std::vector<std::pair<std::string, std::string>> Fields(const TConfiguration& c) {
    auto s = [](auto v) { return std::to_string(static_cast<long long>(v)); };
    return {{"ConfirmTerminate", s(c.ConfirmTerminate)},
            {"Controller32Value", s(c.Controller32Value)},
            {"CopyrightString", c.CopyrightString},
            {"DeleteController32", s(c.DeleteController32)},
            {"DoNotChangeController32", s(c.DoNotChangeController32)},
            {"FontBold", s(c.FontBold)},
            {"FontCharset", s(c.FontCharset)},
            {"FontHeight", s(c.FontHeight)},
            {"FontItalic", s(c.FontItalic)},
            {"FontName", c.FontName},
            {"FontSize", s(c.FontSize)},
            {"FontStrikeOut", s(c.FontStrikeOut)},
            {"FontUnderline", s(c.FontUnderline)},
            {"InsertController32", s(c.InsertController32)},
            {"LastMidiPathDest", c.LastMidiPathDest},
            {"LastMidiPathSource", c.LastMidiPathSource},
            {"LastTextPath", c.LastTextPath},
            {"MainFormHeight", s(c.MainFormHeight)},
            {"MainFormLeft", s(c.MainFormLeft)},
            {"MainFormTop", s(c.MainFormTop)},
            {"MainFormWidth", s(c.MainFormWidth)},
            {"MelodyTrack", s(c.MelodyTrack)},
            {"MidiOutputDeviceName", c.MidiOutputDeviceName},
            {"MultiMode", s(c.MultiMode)},
            {"QuantizeFactor", s(c.QuantizeFactor)},
            {"PlaybackSpeed", s(c.PlaybackSpeed)},
            {"PrevCommandMode", s(c.PrevCommandMode)},
            {"RememberLayout", s(c.RememberLayout)},
            {"SufflorCmdController", s(c.SufflorCmdController)},
            {"SufflorEnabled", s(c.SufflorEnabled)},
            {"SufflorFont", s(c.SufflorFont)},
            {"SufflorFontHeight", s(c.SufflorFontHeight)},
            {"SufflorForYamaha", s(c.SufflorForYamaha)},
            {"SufflorInversVideo", s(c.SufflorInversVideo)},
            {"SufflorMidiChannel", s(c.SufflorMidiChannel)},
            {"SufflorTimeOffset", s(c.SufflorTimeOffset)},
            {"TransportFormLeft", s(c.TransportFormLeft)},
            {"TransportFormTop", s(c.TransportFormTop)},
            {"VirtualSufflor", s(c.VirtualSufflor)},
            {"XF_DeleteChordHelper", s(c.XF_DeleteChordHelper)}};
}

// Every saved value changed away from its default.
TConfiguration Changed() {
    TConfiguration c = lv::DefaultConfiguration("/opt/Lyrivox");
    c.ConfirmTerminate = false;
    c.Controller32Value = 77;
    c.CopyrightString = "(c) J\xE9r\xF4me \x81\x8D\x8F\x90\x9D \x80"; // every byte must survive
    c.DeleteController32 = true;
    c.DoNotChangeController32 = true;
    c.FontBold = false;
    c.FontCharset = 238;
    c.FontHeight = -21;
    c.FontItalic = true;
    c.FontName = "DejaVu Sans Mono";
    c.FontSize = 15;
    c.FontStrikeOut = true;
    c.FontUnderline = true;
    c.InsertController32 = true;
    c.LastMidiPathDest = "/home/Anna/Ausgabe";
    c.LastMidiPathSource = "/home/Anna/Lieder";
    c.LastTextPath = "/home/Anna/Texte mit Ümlaut";
    c.MainFormHeight = 700;
    c.MainFormLeft = 100;
    c.MainFormTop = 50;
    c.MainFormWidth = 900;
    c.MelodyTrack = 9;
    c.MidiOutputDeviceName = "Midi Through Port-0";
    c.MultiMode = true;
    c.QuantizeFactor = 4;
    c.PlaybackSpeed = 3;
    c.RememberLayout = true;
    c.SufflorCmdController = 99;
    c.SufflorEnabled = true;
    c.SufflorFont = 2;
    c.SufflorFontHeight = 3;
    c.SufflorForYamaha = true;
    c.SufflorInversVideo = true;
    c.SufflorMidiChannel = 14;
    c.SufflorTimeOffset = -250;
    c.TransportFormLeft = 300;
    c.TransportFormTop = 400;
    c.VirtualSufflor = true;
    return c;
}

TEST_F(SettingsStore, FirstStartGivesTheDefaultsAndWritesNothing) {
    const TConfiguration defaults = lv::DefaultConfiguration("/opt/Lyrivox");
    const TConfiguration c = Load(defaults);
    EXPECT_EQ(Fields(c), Fields(defaults));
    EXPECT_EQ(c.MainFormLeft, 0);
    EXPECT_EQ(c.MainFormWidth, 640);
    EXPECT_EQ(c.TransportFormTop, 482);
    EXPECT_FALSE(QFile::exists(File));
    EXPECT_TRUE(Reports.empty());
    // On a desktop lower than 502 pixels the transport window moves to the top.
    EXPECT_EQ(Load(defaults, {0, 0, 640, 480}).TransportFormTop, 0);
}

TEST_F(SettingsStore, EverySavedValueSurvivesTheRoundTrip) {
    const TConfiguration saved = Changed();
    lv::SaveSettings(*Store(), saved, false);
    const TConfiguration loaded = Load(lv::DefaultConfiguration("/elsewhere"));
    auto expected = Fields(saved);
    // Read-only values are never written, so they come back as their defaults.
    for (auto& [name, value] : expected) {
        if (name == "PrevCommandMode") value = "1";
        if (name == "XF_DeleteChordHelper") value = "0";
    }
    EXPECT_EQ(Fields(loaded), expected);
    EXPECT_TRUE(Reports.empty());
    // Booleans are the integers 0 and 1.
    EXPECT_EQ(Raw("FontBold").toString(), "0");
    EXPECT_EQ(Raw("MultiMode").toString(), "1");
    EXPECT_EQ(Raw("SufflorTimeOffset").toString(), "-250");
}

TEST_F(SettingsStore, ReadOnlyValuesAreReadButNeverWritten) {
    PutRaw("PrevCommandMode", 0);
    PutRaw("XF_DeleteChordHelper", 1);
    TConfiguration c = Load(lv::DefaultConfiguration("/p"));
    EXPECT_FALSE(c.PrevCommandMode);
    EXPECT_TRUE(c.XF_DeleteChordHelper);
    c.PrevCommandMode = true;
    c.XF_DeleteChordHelper = false;
    lv::SaveSettings(*Store(), c, false);
    EXPECT_EQ(Raw("PrevCommandMode").toString(), "0");
    EXPECT_EQ(Raw("XF_DeleteChordHelper").toString(), "1");
    EXPECT_FALSE(Raw("Lang").isValid());
}

TEST_F(SettingsStore, CommandLineWordKeepsInsertController32AsStored) {
    PutRaw("InsertController32", 0);
    TConfiguration c = lv::DefaultConfiguration("/p");
    c.InsertController32 = true;
    lv::SaveSettings(*Store(), c, true);
    EXPECT_EQ(Raw("InsertController32").toString(), "0");
    EXPECT_TRUE(Raw("FontBold").isValid()); // the others are written
    lv::SaveSettings(*Store(), c, false);
    EXPECT_EQ(Raw("InsertController32").toString(), "1");
}

TEST_F(SettingsStore, EmptyCopyrightDeletesTheValueAndASecondClearingStaysQuiet) {
    TConfiguration c = lv::DefaultConfiguration("/p");
    c.CopyrightString = "(c) Sonarvell";
    lv::SaveSettings(*Store(), c, false);
    EXPECT_EQ(Raw("CopyrightString").toString(), "(c) Sonarvell");
    c.CopyrightString.clear();
    lv::SaveSettings(*Store(), c, false);
    EXPECT_FALSE(Raw("CopyrightString").isValid());
    EXPECT_TRUE(Reports.empty());
    lv::SaveSettings(*Store(), c, false);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_FALSE(Reports[0].IsBox);
    EXPECT_EQ(Reports[0].Text, "The Value CopyrightString was not deleted!");
}

TEST_F(SettingsStore, StoredValuesAreNarrowedOrReplacedByTheirDefaults) {
    PutRaw("MelodyTrack", 258);        // 8-bit field: low byte 2
    PutRaw("SufflorMidiChannel", -1);  // low byte 255
    PutRaw("FontSize", "twelve");      // wrong type: default
    PutRaw("ConfirmTerminate", "yes"); // wrong type: default
    PutRaw("FontItalic", 5);           // any integer but 0 is true
    const TConfiguration c = Load(lv::DefaultConfiguration("/p"));
    EXPECT_EQ(c.MelodyTrack, 2);
    EXPECT_EQ(c.SufflorMidiChannel, 255);
    EXPECT_EQ(c.FontSize, 12);
    EXPECT_TRUE(c.ConfirmTerminate);
    EXPECT_TRUE(c.FontItalic);
    // Bad types are reported, but not as boxes.
    EXPECT_EQ(Reports.size(), 2u);
    for (const auto& r : Reports)
        EXPECT_FALSE(r.IsBox);
}

TEST_F(SettingsStore, StoredPlacementPassesTheDesktopCheckOnLoad) {
    PutRaw("MainFormLeft", 5000);
    PutRaw("MainFormWidth", 800);
    PutRaw("TransportFormLeft", -400);
    const TConfiguration c = Load(lv::DefaultConfiguration("/p"));
    EXPECT_EQ(c.MainFormLeft, 1920 - 800);
    EXPECT_EQ(c.TransportFormLeft, 0);
}

TEST_F(SettingsStore, SingleValuesNeverCreateTheKeyWhenReading) {
    auto reg = Store();
    EXPECT_FALSE(lv::SettingExists(*reg, "Lang"));
    EXPECT_EQ(lv::ReadSetting(*reg, "Lang", "fallback"), "fallback");
    EXPECT_EQ(lv::ReadSetting(*reg, "FontSize", std::int32_t{7}), 7);
    EXPECT_FALSE(lv::StoredLanguage(*reg).has_value());
    EXPECT_FALSE(QFile::exists(File));
    lv::WriteSetting(*reg, "Lang", "de");
    EXPECT_TRUE(lv::SettingExists(*reg, "Lang"));
    EXPECT_EQ(lv::StoredLanguage(*reg).value_or(""), "de");
    lv::WriteSetting(*reg, "FontSize", std::int32_t{20});
    lv::WriteSetting(*reg, "FontBold", false);
    EXPECT_EQ(lv::ReadSetting(*reg, "FontSize", std::int32_t{7}), 20);
    EXPECT_FALSE(lv::ReadSetting(*reg, "FontBold", true));
}

TEST_F(SettingsStore, WindowPlacementKeepsTheSizeForTheVirtualPrompter) {
    for (bool virtualSufflor : {false, true}) {
        TConfiguration c = lv::DefaultConfiguration("/p");
        c.VirtualSufflor = virtualSufflor;
        lv::SaveWindowPlacement(*Store(), c, {10, 20, 1000, 600}, 30, 40);
        EXPECT_EQ(Raw("MainFormLeft").toInt(), 10);
        EXPECT_EQ(Raw("MainFormTop").toInt(), 20);
        EXPECT_EQ(Raw("MainFormWidth").toInt(), virtualSufflor ? 640 : 1000);
        EXPECT_EQ(Raw("MainFormHeight").toInt(), virtualSufflor ? 480 : 600);
        EXPECT_EQ(Raw("TransportFormLeft").toInt(), 30);
        EXPECT_EQ(Raw("TransportFormTop").toInt(), 40);
        QFile::remove(File);
    }
}

TEST_F(SettingsStore, ReadEqualToTheDefaultIsWrittenBackOnlyWithSaveNewKey) {
    auto reg = Store();
    reg->CanCreate = true;
    ASSERT_TRUE(reg->Open());
    reg->SaveNewKey = false;
    EXPECT_EQ(reg->ReadInteger("", "QuantizeFactor", 1), 1);
    reg->SaveNewKey = true;
    EXPECT_EQ(reg->ReadString("", "FontName", "Courier"), "Courier");
    reg->Close();
    EXPECT_FALSE(Raw("QuantizeFactor").isValid());
    EXPECT_EQ(Raw("FontName").toString(), "Courier");
}

TEST_F(SettingsStore, BlankPathAndUnwritableStoreAreReportedAsBoxes) {
    auto reg = Store();
    reg->RegPath = "   ";
    EXPECT_FALSE(reg->Open());
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_TRUE(Reports[0].IsBox);
    EXPECT_EQ(Reports[0].Text, "You must insert a registry string !!");
    EXPECT_EQ(reg->ReadInteger("", "FontSize", 12), 12); // no store: the default

    // A store below a plain file can never be written; every value is tried
    // and reported, nothing stops half way.
    lvtest::WriteFileBytes(Dir + "/plain", {'x'});
    lv::TMyRegistry blocked(QString::fromStdString(Dir + "/plain/Lyrivox.ini"));
    lv::UseProgramKey(blocked);
    int boxes = 0;
    blocked.OnError = [&](lv::TMyRegistry&, bool isBox, const std::string&) { boxes += isBox; };
    lv::SaveSettings(blocked, Changed(), false);
    EXPECT_GE(boxes, 38);
}

TEST_F(SettingsStore, KeysOfOtherPathsAndRootsStayApart) {
    auto reg = Store();
    reg->CanCreate = true;
    ASSERT_TRUE(reg->Open());
    EXPECT_EQ(reg->RegPath, "SOFTWARE\\Sonarvell\\Lyrivox\\");
    reg->WriteInteger("", "FontSize", 20);
    reg->WriteInteger("Sub", "FontSize", 30);
    reg->Close();
    reg->RootKey = lv::HKeys::kHKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg->Open());
    EXPECT_FALSE(reg->ValueExists("", "FontSize"));
    reg->Close();
    reg->RootKey = lv::HKeys::kHKEY_CURRENT_USER;
    reg->RegPath = "\\SOFTWARE\\Sonarvell\\Lyrivox"; // leading "\" names the same key
    ASSERT_TRUE(reg->Open());
    EXPECT_EQ(reg->ReadInteger("", "FontSize", 0), 20);
    EXPECT_EQ(reg->ReadInteger("Sub", "FontSize", 0), 30);
    reg->Close();
}

} // namespace
