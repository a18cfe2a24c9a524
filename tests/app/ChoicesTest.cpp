#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QHelpEvent>
#include <QLabel>
#include <QAudioDevice>
#include <QMediaDevices>

#include "DrawingProgram.h"
#include "QtTestSupport.h"
#include "app/CChoices.h"
#include "app/CTools.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "film/UpdateHint.h"
#include "sound/SoundPlayer.h"
#include "view/CCelvaneView.h"
#include "base/Settings.h"

using namespace celvane;

namespace {

const ScreenInfo kScreen{1280, 1024, 32};

// A button of the sheet by its text, as a person finds it.
QAbstractButton* button(QWidget& sheet, const QString& text)
{
    for (QAbstractButton* b : sheet.findChildren<QAbstractButton*>())
        if (b->text() == text)
            return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

template <typename T> T* field(QWidget& sheet, const char* name)
{
    T* w = sheet.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

struct SheetOnFile {
    test::TempDir dir;
    Settings settings{dir.path() / "celvane.ini"};
    test::RecordingSink sink;
    SheetOnFile() { test::ensureApplication(); }
    std::unique_ptr<CChoices> open() { return std::make_unique<CChoices>(settings, kScreen, "/opt/celvane"); }
};

} // namespace

TEST(Choices, AcceptingWithNoSettingsWritesEveryDefault)
{
    SheetOnFile f;
    auto sheet = f.open();
    ASSERT_EQ(sheet->pages()->count(), 4);
    const char* titles[] = {"General", "Tools", "Default Film", "Options"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(sheet->pages()->tabText(i).toStdString(), titles[i]);
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);

    // Read back from a second reader of the file, as the next start would.
    const Settings s(f.dir.path() / "celvane.ini");
    const std::vector<std::tuple<const char*, const char*, int>> ints = {
        {"Settings", "Splash", 1},         {"Settings", "ShowOverRun", 1},   {"Settings", "SingleDoc", 1},
        {"ToolBox", "PinOnInitialMove", 1}, {"ToolBox", "BigButtons", 1},     {"ToolBox", "Group", 0},
        {"Settings", "ToolTips", 1},       {"Settings", "StatusBar", 0},     {"Settings", "BlackWhite", 0},
        {"Grid", "Show", 0},               {"Grid", "Lock", 0},              {"Grid", "XSpacing", 64},
        {"Grid", "YSpacing", 64},          {"Grid", "XSubDivs", 4},          {"Grid", "YSubDivs", 4},
        {"Preview", "Ghosting", 1},        {"Preview", "InBetweening", 0},   {"Settings", "UserDefaultFilm", 0},
        {"Settings", "LimitDepth", 1},     {"Default", "Width", 640},        {"Default", "Height", 512},
        {"Default", "Depth", 8},           {"Default", "Compressed", 1},     {"Settings", "ActionSoundsOn", 1},
        {"Settings", "Fast2", 1},          {"Settings", "Fast16", 1},        {"Settings", "Fast256", 1},
        {"Settings", "AutosaveMinutes", 1}, {"Settings", "UndoSteps", 100},  {"Settings", "UndoMemory", 64},
        {"Preview", "WhilePlaying", 0}};
    for (const auto& [section, name, value] : ints)
        EXPECT_EQ(s.getInt(section, name, -1, -1000, 100000), value) << section << "/" << name;
    EXPECT_EQ(s.getString("Stamp Picker", "Dir", ""), "/opt/celvane/Stamps");
    EXPECT_EQ(s.getString("Sound Picker", "Dir", ""), "/opt/celvane/Sounds");
    EXPECT_EQ(s.getString("Settings", "ActionSoundsDir", ""), "/opt/celvane/Sounds/Actions");
}

TEST(Choices, StoredValuesComeBackUnchangedAndYDivisionsHaveTheirOwnName)
{
    SheetOnFile f;
    const std::vector<std::tuple<const char*, const char*, int>> stored = {
        {"Settings", "Splash", 0},        {"Settings", "ShowOverRun", 0}, {"Settings", "SingleDoc", 0},
        {"ToolBox", "PinOnInitialMove", 0}, {"ToolBox", "BigButtons", 0}, {"ToolBox", "Group", 1},
        {"Settings", "ToolTips", 0},      {"Settings", "StatusBar", 1},   {"Settings", "BlackWhite", 1},
        {"Grid", "Show", 1},              {"Grid", "Lock", 1},            {"Grid", "XSpacing", 2},
        {"Grid", "YSpacing", 200},        {"Grid", "XSubDivs", 7},        {"Preview", "Ghosting", 2},
        {"Preview", "InBetweening", 1},   {"Settings", "UserDefaultFilm", 1}, {"Settings", "LimitDepth", 0},
        {"Default", "Width", 300},        {"Default", "Height", 200},     {"Default", "Depth", 1},
        {"Default", "Compressed", 0},     {"Settings", "ActionSoundsOn", 0}, {"Settings", "Fast2", 0},
        {"Settings", "Fast16", 0},        {"Settings", "Fast256", 0},     {"Settings", "AutosaveMinutes", 0},
        {"Settings", "UndoSteps", 1},     {"Settings", "UndoMemory", 8},  {"Preview", "WhilePlaying", 1}};
    for (const auto& [section, name, value] : stored)
        f.settings.writeInt(section, name, value);
    f.settings.writeString("Stamp Picker", "Dir", "/gone/stamps"); // missing, but left as it was
    auto sheet = f.open();
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    const Settings s(f.dir.path() / "celvane.ini");
    for (const auto& [section, name, value] : stored)
        EXPECT_EQ(s.getInt(section, name, -1, -1000, 100000), value) << section << "/" << name;
    // Files from before "YSubDivs" give the one count to both directions.
    EXPECT_EQ(s.getInt("Grid", "YSubDivs", -1, -1, 100), 7);
    EXPECT_EQ(s.getString("Stamp Picker", "Dir", ""), "/gone/stamps");
}

TEST(Choices, RangesAndEnableRules)
{
    SheetOnFile f;
    auto sheet = f.open();
    auto* xSpacing = field<QSpinBox>(*sheet, "xSpacing");
    ASSERT_TRUE(xSpacing);
    EXPECT_EQ(xSpacing->minimum(), 2);
    EXPECT_EQ(xSpacing->maximum(), 200);
    // The Default Film page's sizes go up to the screen's.
    EXPECT_EQ(field<QSpinBox>(*sheet, "width")->maximum(), 1280);
    EXPECT_EQ(field<QSpinBox>(*sheet, "height")->maximum(), 1024);

    // Default Film: with "User Defined Default Film" clear only the colour limit can change.
    QAbstractButton* own = button(*sheet, "&User Defined Default Film");
    QAbstractButton* limit = button(*sheet, "&Limit default film to no more than 256 colours");
    ASSERT_TRUE(own && limit);
    EXPECT_FALSE(field<QSpinBox>(*sheet, "width")->isEnabled());
    EXPECT_FALSE(button(*sheet, "&Full")->isEnabled());
    EXPECT_TRUE(limit->isEnabled());
    own->click();
    EXPECT_TRUE(field<QSpinBox>(*sheet, "width")->isEnabled());
    EXPECT_FALSE(limit->isEnabled());
    button(*sheet, "&Full")->click();
    EXPECT_EQ(field<QSpinBox>(*sheet, "width")->value(), 1280);
    button(*sheet, "1/&4")->click();
    EXPECT_EQ(field<QSpinBox>(*sheet, "height")->value(), 512);

    // Tools: the custom panel only while "Custom..." is chosen.
    QAbstractButton* shown = button(*sheet, "Tool Shown");
    ASSERT_TRUE(shown);
    EXPECT_FALSE(shown->isEnabledTo(sheet.get()));
    button(*sheet, "Custom...")->click();
    EXPECT_TRUE(shown->isEnabledTo(sheet.get()));
    button(*sheet, "Junior")->click();
    EXPECT_FALSE(shown->isEnabledTo(sheet.get()));

    // Options: the activity sounds folder follows its box at once.
    auto* actionDir = field<QLineEdit>(*sheet, "actionSoundsDir");
    EXPECT_TRUE(actionDir->isEnabledTo(sheet.get()));
    button(*sheet, "&Enable activity sounds")->click();
    EXPECT_FALSE(actionDir->isEnabledTo(sheet.get()));
}

TEST(Choices, AChangedFolderThatDoesNotExistIsRefused)
{
    SheetOnFile f;
    auto sheet = f.open();
    field<QLineEdit>(*sheet, "soundsDir")->setText(QString::fromStdString(f.dir.file("nowhere")));
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    ASSERT_EQ(f.sink.shown.size(), 1u);
    EXPECT_NE(f.sink.shown[0].find("nowhere"), std::string::npos);
    EXPECT_EQ(sheet->pages()->currentIndex(), 3);
    EXPECT_EQ(f.settings.getString("Sound Picker", "Dir", "none"), "none"); // nothing written

    // "Browse..." fills the field with the folder chosen.
    test::ScriptedChooser chooser;
    chooser.paths.push_back(f.dir.path().string());
    QAbstractButton* browse = nullptr;
    for (QAbstractButton* b : sheet->findChildren<QAbstractButton*>())
        if (b->text() == "Browse...")
            browse = b; // the last: activity sounds
    ASSERT_TRUE(browse);
    field<QLineEdit>(*sheet, "soundsDir")->setText(QString::fromStdString(f.dir.path().string()));
    browse->click();
    EXPECT_EQ(field<QLineEdit>(*sheet, "actionSoundsDir")->text().toStdString(), f.dir.path().string());
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(f.settings.getString("Sound Picker", "Dir", ""), f.dir.path().string());
}

TEST(ChoicesScenario, ANewFilmHasTheDefaultSizeAndTheToolboxChangesAtOnce)
{
    test::StartedProgram p;
    CTools& toolbox = *p.frame().toolbox();
    ASSERT_EQ(toolbox.buttonCount(), 12);
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CChoices*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        button(*sheet, "&User Defined Default Film")->click();
        field<QSpinBox>(*sheet, "width")->setValue(300);
        field<QSpinBox>(*sheet, "height")->setValue(200);
        button(*sheet, "Custom...")->click();
        button(*sheet, "Small Buttons")->click();
        // The custom toolbox keeps only its first three tools.
        int n = 0;
        for (QAbstractButton* b : sheet->findChildren<QAbstractButton*>())
            if (b->text() == "Tool Shown" && n++ >= 3)
                b->setChecked(false);
        sheet->accept();
        answered = true;
    });
    p.frame().runCommand(ID_VIEW_CHOICES);
    ASSERT_TRUE(answered);

    EXPECT_EQ(toolbox.buttonCount(), 3);
    ASSERT_TRUE(toolbox.button(0));
    EXPECT_EQ(toolbox.button(0)->size(), QSize(24, 22));
    EXPECT_FALSE(toolbox.button(3));

    p.frame().runCommand(ID_FILE_NEW);
    Film* film = p.view().film();
    ASSERT_TRUE(film);
    EXPECT_EQ(film->width(), 300);
    EXPECT_EQ(film->height(), 200);
}

TEST(ChoicesScenario, ToolTipsOffSilencesEveryToolBarAtOnce)
{
    test::StartedProgram p;
    p.frame().show();
    QToolBar* standard = p.frame().findChild<QToolBar*>("Standard");
    ASSERT_TRUE(standard);
    QToolButton* b = standard->findChildren<QToolButton*>().value(1);
    ASSERT_TRUE(b);
    const auto tipShown = [&] {
        QToolTip::hideText();
        EXPECT_TRUE(test::waitUntil([] { return !QToolTip::isVisible(); }));
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), b->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(b, &tip);
        return QToolTip::isVisible();
    };
    ASSERT_TRUE(tipShown());
    Settings::instance().writeInt("Settings", "ToolTips", 0);
    p.frame().settingsChanged(Hint::SettingsChanged);
    EXPECT_FALSE(tipShown());
}

// Activity sounds switched on in the sheet are heard at once, and off again at once; the one
// choice that waits for the next start says so.
TEST(ChoicesScenario, ActivitySoundsFollowTheSheetAtOnce)
{
    test::ProgramOptions options;
    options.settings = [](Settings& s) { s.writeInt("Settings", "ActionSoundsOn", 0); };
    test::StartedProgram p(options);
    if (QMediaDevices::defaultAudioOutput().isNull())
        GTEST_SKIP() << "no sound server";
    const auto zoomIsHeard = [&] {
        SoundPlayer::current()->stop(true);
        p.frame().runCommand(ID_ZOOM_IN);
        return SoundPlayer::current()->playing() != nullptr;
    };
    ASSERT_FALSE(zoomIsHeard());
    const auto choose = [&](bool on) {
        QTimer::singleShot(0, [&, on] {
            auto* sheet = qobject_cast<CChoices*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            auto* note = sheet->findChild<QLabel*>("restartNote");
            ASSERT_NE(note, nullptr);
            EXPECT_TRUE(note->text().contains("next start"));
            button(*sheet, "&Enable activity sounds")->setChecked(on);
            sheet->accept();
        });
        p.frame().runCommand(ID_VIEW_CHOICES);
    };
    choose(true);
    EXPECT_TRUE(zoomIsHeard());
    EXPECT_TRUE(p.sink.shown.empty());
    choose(false);
    EXPECT_FALSE(zoomIsHeard());
}

// A played film with ghosting on shows clean frames, not trails; the ghosts are back when it
// stops, and the sheet's box keeps them while it plays.
TEST(ChoicesScenario, GhostsWaitWhileTheFilmPlaysUnlessTheSheetAsksForThem)
{
    test::DrawingProgram p;
    p.frame().runCommand(ID_MOTION_LOOP); // each frame has the other behind it
    p.drawLine({20, 20}, {60, 20});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 60}, {60, 60});
    p.frame().runCommand(ID_GHOSTING);
    constexpr uint32_t kWhite = 0xFFFFFF;
    // What the window shows of the line of the frame that is not current, over some steps.
    const auto otherLines = [&] {
        std::vector<uint32_t> seen;
        for (int step = 0; step < 4; ++step) {
            const uint32_t first = p.shown({40, 20});
            const uint32_t second = p.shown({40, 60});
            seen.push_back(p.view().currentFrame() == 0 ? second : first);
            QTest::qWait(60);
        }
        return seen;
    };
    ASSERT_NE(otherLines()[0], kWhite);

    p.frame().runCommand(ID_PLAY_FORWARDS);
    ASSERT_TRUE(p.frame().commandState(ID_PLAY_FORWARDS).checked);
    for (uint32_t shown : otherLines())
        EXPECT_EQ(shown, kWhite);
    EXPECT_TRUE(p.frame().commandState(ID_GHOSTING).checked);
    p.frame().runCommand(ID_PLAY_STOP);
    for (uint32_t shown : otherLines())
        EXPECT_NE(shown, kWhite);

    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CChoices*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        button(*sheet, "Show ghosts while &playing")->click();
        sheet->accept();
    });
    p.frame().runCommand(ID_VIEW_CHOICES);
    p.frame().runCommand(ID_PLAY_FORWARDS);
    for (uint32_t shown : otherLines())
        EXPECT_NE(shown, kWhite);
    p.frame().runCommand(ID_PLAY_STOP);
}
