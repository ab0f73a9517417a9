// Window placement checks and the language decision at start-up.
#include <gtest/gtest.h>

#include "settings/Language.h"
#include "settings/Placement.h"

namespace {

struct TMainCase {
    const char* Why;
    lv::TDesktopRect Desktop;
    std::int32_t H, X, W, Y;                 // stored
    std::int32_t WantH, WantX, WantW, WantY; // after the check
};

TEST(Placement, MainWindowStaysOnTheDesktop) {
    const lv::TDesktopRect fullHd{0, 0, 1920, 1080};
    const TMainCase cases[] = {
        {"defaults stay", fullHd, 480, 0, 640, 0, 480, 0, 640, 0},
        {"left beyond the right edge: right edges meet", fullHd, 480, 3000, 640, 0, 480, 1280, 640,
         0},
        {"left just inside (edge - 20)", fullHd, 480, 1900, 640, 0, 480, 1900, 640, 0},
        {"left one past edge - 20", fullHd, 480, 1901, 640, 0, 480, 1280, 640, 0},
        {"left of the desktop", fullHd, 480, -300, 640, 0, 480, 0, 640, 0},
        {"above the desktop", fullHd, 480, 0, 640, -50, 480, 0, 640, 0},
        {"below the bottom: bottom edges meet", fullHd, 480, 0, 640, 1500, 480, 0, 640, 600},
        {"larger than the desktop shrinks", fullHd, 2000, 0, 3000, 0, 1080, 0, 1920, 0},
        {"-10000 keeps everything", fullHd, 480, -10000, 5000, 9000, 480, -10000, 5000, 9000},
        {"-9999 keeps everything", fullHd, -9999, 3000, 640, 0, -9999, 3000, 640, 0},
        {"-9998 is checked", fullHd, 480, -9998, 640, 0, 480, 0, 640, 0},
        {"second screen to the left",
         {-1280, 0, 3200, 1080},
         480,
         -1000,
         640,
         0,
         480,
         -1000,
         640,
         0},
        {"left of a desktop starting at -1280",
         {-1280, 0, 3200, 1080},
         480,
         -2000,
         640,
         0,
         480,
         -1280,
         640,
         0},
        // A screen above the primary one: the bottom is top + height.
        {"screen above: inside", {0, -1080, 1920, 2160}, 480, 0, 640, -900, 480, 0, 640, -900},
        {"screen above: below the bottom",
         {0, -1080, 1920, 2160},
         480,
         0,
         640,
         1070,
         480,
         0,
         640,
         600},
    };
    for (const auto& c : cases) {
        std::int32_t h = c.H, x = c.X, w = c.W, y = c.Y;
        lv::CheckMainFormPlacement(h, x, w, y, c.Desktop);
        EXPECT_EQ(h, c.WantH) << c.Why;
        EXPECT_EQ(x, c.WantX) << c.Why;
        EXPECT_EQ(w, c.WantW) << c.Why;
        EXPECT_EQ(y, c.WantY) << c.Why;
    }
}

TEST(Placement, TransportWindowGoesBackToTheEdges) {
    struct TCase {
        const char* Why;
        lv::TDesktopRect Desktop;
        std::int32_t X, Y, WantX, WantY;
    };
    const TCase cases[] = {
        {"defaults stay", {0, 0, 1920, 1080}, 180, 482, 180, 482},
        {"low desktop: top 0", {0, 0, 640, 480}, 180, 482, 180, 0},
        {"beyond the right edge: left edge", {0, 0, 1920, 1080}, 1901, 100, 0, 100},
        {"left of the desktop", {-1280, 0, 3200, 1080}, -1500, 100, -1280, 100},
        {"above the desktop", {0, 0, 1920, 1080}, 100, -5, 100, 0},
        {"-10000 keeps both", {0, 0, 640, 480}, -10000, 5000, -10000, 5000},
    };
    for (const auto& c : cases) {
        std::int32_t x = c.X, y = c.Y;
        lv::CheckTransportFormPlacement(x, y, c.Desktop);
        EXPECT_EQ(x, c.WantX) << c.Why;
        EXPECT_EQ(y, c.WantY) << c.Why;
    }
}

TEST(Language, StoredValueWinsOverTheSystemLanguage) {
    struct TCase {
        std::optional<std::string> Stored;
        const char* System;
        const char* Want;
    };
    const TCase cases[] = {
        {"en", "Deutsch", "Englisch"},        // English chosen on a German system
        {std::nullopt, "Deutsch", "Deutsch"}, // no choice: the system's language
        {std::nullopt, "Schweizer Hochdeutsch", "Deutsch"},
        {std::nullopt, "Deutsch (Österreich)", "Deutsch"},
        {std::nullopt, "English", "Englisch"},
        {std::nullopt, "français", "Englisch"},
        {std::nullopt, "", "Englisch"},
        {"de", "English", "Deutsch"},
        {"Deutsch", "English", "Deutsch"},
        {"", "Deutsch", "Englisch"}, // an empty stored value is a choice too
    };
    for (const auto& c : cases)
        EXPECT_EQ(lv::ResolveLanguage(c.Stored, c.System), c.Want)
            << (c.Stored ? *c.Stored : "<none>") << " / " << c.System;
}

} // namespace
