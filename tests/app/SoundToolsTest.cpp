// The sound tool as a child uses it: choosing it brings the Sound bar and the Sounds menu; the
// bar's name button opens the Sound Effect dialog, whose settings the saved film keeps; the
// sound comes off the frame again; choosing the pencil puts the bar and menu away. Film sounds
// and sound effects are switched off and on from the bar and the menu, which show how they
// stand. A sound recorded for a frame is in the sound picker at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QToolButton>

#include "QtTestSupport.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CRecordDialog.h"
#include "app/sound/CSoundEffectDialog.h"
#include "app/sound/CSoundPicker.h"
#include "app/sound/CSoundTools.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "sound/SoundPlayer.h"
#include "platform/SoundRecorder.h"
#include "sound/SoundPool.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {

Sound* pooledBeep()
{
    Bytes data(11025);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i % 20 < 10 ? 40 : 216);
    auto s = Sound::create(Sound::Pcm8Mono);
    s->setData(Sound::Pcm8Mono, 11025, data, int(data.size()));
    s->checkPlayability();
    return SoundPool::shared().add(std::move(s));
}

bool menuBarHas(CMainFrame& frame, const QString& title)
{
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == title)
            return true;
    return false;
}

} // namespace

TEST(SoundTools, TheSoundToolEditsAFrameSoundThatTheSavedFilmKeeps)
{
    test::StartedProgram p;
    CSoundTools& bar = *p.frame().soundTools();
    EXPECT_TRUE(bar.isHidden());
    p.view().film()->addFrameSound(0, pooledBeep(), "Beep");
    p.view().document().updateAllViews(nullptr, Hint::CurrentFrame);

    p.frame().runCommand(ID_TOOL_SOUND);
    EXPECT_FALSE(bar.isHidden());
    EXPECT_TRUE(menuBarHas(p.frame(), "&Sounds"));
    EXPECT_EQ(p.frame().commandState(ID_VIEW_PALETTE).text, "S&ound");
    auto* name = bar.findChild<QToolButton*>("soundName");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text().toStdString(), "Beep");
    // Record is greyed out and its tip says why.
    const bool microphone = !SoundRecorder::deviceNames().empty();
    QAction* record = bar.menu()->actions().value(1);
    ASSERT_EQ(record->text().toStdString(), "Record");
    EXPECT_FALSE(record->isEnabled());
    EXPECT_EQ(bar.widgetForAction(record)->toolTip().toStdString(),
              microphone ? "This frame has a sound already: delete it to record another"
                         : "No suitable sound-recording device is installed.");

    // Ten frames at a higher pitch, through the dialog the name button opens.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSoundEffectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "Sound Effect");
        dialog->findChild<QSpinBox*>("pitch")->setValue(12);
        auto* frames = dialog->findChild<QLineEdit*>("frames");
        frames->setText("10");
        emit frames->textEdited("10");
        dialog->accept();
    });
    name->click();
    const int period = p.view().film()->period();
    std::vector<Film::PlayedSound> played = p.view().film()->playedSounds(0);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].settings.pitch, 12);
    EXPECT_EQ(played[0].settings.duration, int(period * 10 * 0.02 + 0.5));
    EXPECT_TRUE(p.view().document().isModified());

    const std::string path = p.dir.file("beep.qfm");
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_SAVE);
    CCelvaneDoc reopened;
    reopened.open(path);
    EXPECT_EQ(reopened.film()->soundName(0, 0), "Beep");
    played = reopened.film()->playedSounds(0);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].settings.pitch, 12);
    EXPECT_EQ(played[0].settings.duration, int(period * 10 * 0.02 + 0.5));

    // Off the frame: the bar offers to record instead.
    bar.deleteSound();
    EXPECT_TRUE(p.view().film()->playedSounds(0).empty());
    EXPECT_EQ(name->text().toStdString(), "(no sound)");
    EXPECT_EQ(record->isEnabled(), microphone);

    // The two switches, on the bar as pressed buttons and in the menu with their check marks.
    for (const auto& [id, on] : {std::pair{ID_FILM_SOUNDS, &SoundSwitches::filmSounds},
                                 std::pair{ID_ACTION_SOUNDS, &SoundSwitches::soundEffects}}) {
        QAction* toggle = nullptr;
        for (QAction* a : bar.menu()->actions())
            if (a->statusTip() == QString(id == ID_FILM_SOUNDS ? "Turn film sounds on/off" : "Turn sound effects on/off"))
                toggle = a;
        ASSERT_NE(toggle, nullptr) << id;
        auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(toggle));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_TRUE(toggle->isCheckable());
        EXPECT_TRUE(button->isChecked());
        toggle->trigger();
        EXPECT_FALSE(*on);
        EXPECT_FALSE(button->isChecked());
        // However it is switched, both show it.
        p.frame().runCommand(id);
        EXPECT_TRUE(*on);
        EXPECT_TRUE(toggle->isChecked());
        EXPECT_TRUE(button->isChecked());
    }

    p.frame().runCommand(ID_TOOL_PENCIL);
    EXPECT_TRUE(bar.isHidden());
    EXPECT_FALSE(menuBarHas(p.frame(), "&Sounds"));
    EXPECT_EQ(p.frame().commandState(ID_VIEW_PALETTE).text, "P&alette");
}

TEST(SoundTools, ASoundRecordedForAFrameIsInThePickerAtOnce)
{
    test::StartedProgram p;
    if (SoundRecorder::deviceNames().empty())
        GTEST_SKIP() << "nothing to record from";
    CSoundPicker& picker = p.frame().soundPicker();
    picker.window().showPicker();
    const int entries = picker.window().grid().entryCount();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CRecordDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // No time at all is no recording: a tenth of a second is the least.
        auto* seconds = dialog->findChild<QDoubleSpinBox*>();
        seconds->setValue(0);
        EXPECT_DOUBLE_EQ(seconds->value(), 0.1);
        const bool recorded = dialog->record() && test::waitUntil([&] { return !dialog->recording(); }, 4000);
        EXPECT_TRUE(recorded);
        recorded ? dialog->accept() : dialog->done(QDialog::Rejected);
    });
    p.frame().soundTools()->record();
    const std::string name = p.view().film()->soundName(0, 0);
    EXPECT_EQ(name.rfind("Sound", 0), 0u);
    EXPECT_EQ(picker.window().grid().entryCount(), entries + 1);
    EXPECT_EQ(picker.describe(picker.itemCount() - 1).name, name);
    EXPECT_TRUE(p.sink.shown.empty());
}
