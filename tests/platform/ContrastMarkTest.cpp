#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/Colour.h"
#include "platform/ContrastMark.h"
#include "base/Settings.h"

using namespace celvane;

TEST(ContrastMark, FollowsTheSettingsAsTheyChange)
{
    if (!std::getenv("CELVANE_SETTINGS"))
        GTEST_SKIP() << "writes settings: only with a settings file of the tests' own";
    Settings& settings = Settings::instance();
    settings.writeString("Settings", "Gamma", "2.2");
    settings.writeInt("Settings", "Threshold", 172);
    EXPECT_EQ(contrastForBackground(rgb(255, 255, 0)), 0u);
    EXPECT_EQ(contrastForBackground(rgb(0, 0, 255)), 0xFFFFFFu);

    settings.writeInt("Settings", "Threshold", 0); // nothing is darker than black
    EXPECT_EQ(contrastForBackground(rgb(0, 0, 255)), 0u);

    settings.writeInt("Settings", "Threshold", 172);
    EXPECT_EQ(contrastForBackground(rgb(0, 255, 0)), 0u);
    settings.writeString("Settings", "Gamma", "1.0"); // without the curve pure green counts as dark
    EXPECT_EQ(contrastForBackground(rgb(0, 255, 0)), 0xFFFFFFu);
    settings.writeString("Settings", "Gamma", "none"); // not a number: the usual 2.2
    EXPECT_EQ(contrastForBackground(rgb(0, 255, 0)), 0u);
    settings.writeString("Settings", "Gamma", "2.2");
}
