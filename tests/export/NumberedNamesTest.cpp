#include <gtest/gtest.h>

#include "export/NumberedNames.h"

using namespace celvane;

TEST(NumberedNames, CountOnFromTheChosenName)
{
    NumberedNames pic("/a/pic.bmp");
    EXPECT_EQ(pic.next(), "/a/pic1.bmp");
    EXPECT_EQ(pic.next(), "/a/pic2.bmp");
    NumberedNames run("run07.bmp");
    EXPECT_EQ(run.next(), "run08.bmp");
    EXPECT_EQ(run.next(), "run09.bmp");
    EXPECT_EQ(run.next(), "run10.bmp");
    // A short name stays within 8 characters by giving up letters of its base.
    NumberedNames shortName("picture9.bmp");
    EXPECT_EQ(shortName.next(), "pictur10.bmp");
    NumberedNames longName("a_long_name9.bmp");
    EXPECT_EQ(longName.next(), "a_long_name10.bmp");
}
