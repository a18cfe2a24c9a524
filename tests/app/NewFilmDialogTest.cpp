#include <gtest/gtest.h>

#include <QApplication>
#include <QSpinBox>
#include <QTimer>

#include "QtTestSupport.h"
#include "app/NewFilmDialog.h"

using namespace celvane;

TEST(NewFilmDialog, ChoiceRules)
{
    const ScreenInfo screen{1600, 1000, 32};
    NewFilmChoice c = NewFilmChoice::from(ImageInfo::forFilm(5000, 1, 2));
    EXPECT_EQ(c.width, 1998);
    EXPECT_EQ(c.height, 2);
    EXPECT_EQ(c.bitsPerPixel, 4); // a 2-bit depth shows as 16 colours
    c.setQuarter(screen);
    EXPECT_EQ(c.width, 800);
    EXPECT_EQ(c.height, 500);
    const auto box = c.preview(screen, {160, 100});
    EXPECT_EQ(box.width, 80);
    EXPECT_EQ(box.height, 50);
    c.setFull({4000, 3000, 32});
    EXPECT_EQ(c.width, 1998); // never beyond what a film may be
    EXPECT_FALSE(NewFilmChoice::validSide(1));
    EXPECT_FALSE(NewFilmChoice::validSide(1999));
    EXPECT_TRUE(NewFilmChoice::validSide(2));
}

TEST(NewFilmDialog, RefusesSidesOutOfRange)
{
    test::ensureApplication();
    test::RecordingSink sink;
    NewFilmDialog dialog(ImageInfo::forFilm(640, 480, 8), ScreenInfo{1280, 960, 32});
    auto spins = dialog.findChildren<QSpinBox*>();
    ASSERT_EQ(spins.size(), 2);
    spins[0]->setValue(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(sink.shown.back(), "Please enter an integer between 2 and 1998.");
    spins[0]->setValue(1998);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ImageInfo d = dialog.choice().description();
    EXPECT_EQ(d.width, 1998);
    EXPECT_EQ(d.height, 480);
    EXPECT_EQ(d.bitsPerPixel, 8);
}
