// The sound picker as a child and a teacher use it: the shipped sounds are there, a click picks
// one and it goes into the frame, sounds are cut and pasted, saved as a library and as wave
// files (never losing a sound or a file already there), a library or a wave file opened from the
// File menu fills the picker, and the frame keeps its sound through saving and opening again.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "PickerSteps.h"
#include "QtTestSupport.h"
#include "app/ExportDialog.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CSoundPicker.h"
#include "film/CelvaneDoc.h"
#include "base/Chunks.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "platform/DataFolder.h"
#include "sound/SoundFiles.h"
#include "sound/WaveFile.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {

// What the Save Sounds dialog offered when it came up.
struct SaveOffer {
    bool selectionEnabled = false;
    bool selectionTicked = true;
};

// Answers the Save Sounds dialog the next command opens as a person does: a type chosen from
// the list, then a name typed, and "Current Selection" ticked or left as it was.
void answerSave(const std::string& name, int kind, bool tick, SaveOffer& offer)
{
    QTimer::singleShot(0, [name, kind, tick, &offer] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* selection = dialog->findChild<QCheckBox*>();
        offer = {selection->isEnabled(), selection->isChecked()};
        dialog->findChild<QComboBox*>()->setCurrentIndex(kind);
        dialog->setPath(name);
        if (tick)
            selection->setChecked(true);
        dialog->accept();
    });
}

constexpr int kLibrary = 0, kWaves = 1;

} // namespace

TEST(SoundPicker, PickedSoundsGoIntoFramesAndOutToFiles)
{
    // The picker's own folder, so that its default library may be written.
    test::ensureApplication();
    test::TempDir sounds;
    std::filesystem::copy_file(dataFolder() / "Sounds" / "data.slb", sounds.file("data.slb"));
    test::ProgramOptions options;
    options.settings = [&](Settings& s) { s.writeString("Sound Picker", "Dir", sounds.path().string()); };
    test::StartedProgram p(options);
    CSoundPicker& picker = p.frame().soundPicker();
    CPickerWindow& window = picker.window();
    const int shipped = picker.itemCount();
    ASSERT_GE(shipped, 30);
    window.showPicker();
    ASSERT_TRUE(window.isVisible());
    // At its first size every button of its tool bar is in reach, none behind an overflow arrow.
    auto* tools = window.findChild<QToolBar*>("SoundPickerTools");
    ASSERT_NE(tools, nullptr);
    QApplication::processEvents();
    for (QAction* a : tools->actions())
        if (!a->isSeparator())
            EXPECT_TRUE(tools->widgetForAction(a) && tools->widgetForAction(a)->isVisible()) << a->text().toStdString();
    for (QToolButton* b : tools->findChildren<QToolButton*>("qt_toolbar_ext_button"))
        EXPECT_FALSE(b->isVisible()) << tools->width() << " of " << tools->sizeHint().width();

    // A click picks the third sound; the picker stays; it goes into the frame.
    QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, test::iconCentre(window, 2));
    ASSERT_TRUE(picker.describe(2).selected);
    EXPECT_TRUE(window.isVisible());
    const std::string third = picker.describe(2).name;
    picker.putInFrame();
    EXPECT_EQ(p.view().film()->soundName(0, 0), third);

    // Dragged onto the film window: the second frame gets it too.
    p.view().film()->insertFrame(1, false);
    p.view().goToFrame(1);
    std::unique_ptr<QMimeData> dragged(picker.dragData());
    ASSERT_NE(dragged, nullptr);
    EXPECT_TRUE(CSoundPicker::dropInto(p.view(), *dragged));
    EXPECT_EQ(p.view().film()->soundName(1, 0), third);

    // Cut and pasted back: the same sound, last in the picker.
    picker.cut();
    EXPECT_EQ(picker.itemCount(), shipped - 1);
    picker.paste();
    ASSERT_EQ(picker.itemCount(), shipped);
    EXPECT_EQ(picker.describe(shipped - 1).name, third);

    // A click to hear the first sound selects it; saved over a library, every sound is still
    // written unless "Current Selection" is ticked, once the user agrees to replace the file.
    const std::string all = p.dir.file("all.slb");
    test::writeBytes(all, Bytes{1, 2, 3});
    QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, test::iconCentre(window, 0));
    ASSERT_TRUE(picker.describe(0).selected);
    SaveOffer offer;
    answerSave(all, kLibrary, false, offer);
    picker.save();
    EXPECT_TRUE(offer.selectionEnabled);
    EXPECT_FALSE(offer.selectionTicked);
    EXPECT_EQ(p.sink.shown, std::vector<std::string>{"all.slb already exists.\nDo you want to replace it?"});
    SoundLibrary saved;
    loadSoundFile(saved, all);
    EXPECT_EQ(saved.count(), shipped);

    // The selection as wave files, "Wave file" chosen and a name typed without an extension: the
    // first selected sound goes to first.wav, the other beside it under a name of its own, and a
    // file of that name already there stays as it was.
    picker.select(PickerSelect::Select, shipped - 1);
    const std::string besides = p.dir.file(third.substr(0, 8));
    test::writeBytes(besides + ".wav", Bytes{7});
    answerSave(p.dir.file("first"), kWaves, true, offer);
    picker.save();
    ASSERT_TRUE(std::filesystem::exists(p.dir.file("first.wav")));
    EXPECT_EQ(readWaveFile(p.dir.file("first.wav"))->sampleCount(), saved.sound(0)->sampleCount());
    EXPECT_EQ(readFile(besides + ".wav"), Bytes{7});
    EXPECT_GT(readWaveFile(besides + " 2.wav")->sampleCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(p.dir.file("first.slb")));

    // With nothing in the picker, Save As Default says so and keeps the default library.
    const Bytes library = readFile(sounds.file("data.slb"));
    picker.select(PickerSelect::All, 0);
    picker.deleteSelected();
    EXPECT_EQ(picker.itemCount(), 0);
    const size_t told = p.sink.shown.size();
    picker.saveAsDefault();
    ASSERT_EQ(p.sink.shown.size(), told + 1);
    EXPECT_EQ(p.sink.shown.back(), "There are no sounds to save.");
    EXPECT_EQ(readFile(sounds.file("data.slb")), library);

    // A wave file and a library opened from File, Open fill the picker and open no film.
    EXPECT_EQ(p.app.openDocument(p.dir.file("first.wav")), nullptr);
    ASSERT_EQ(picker.itemCount(), 1);
    EXPECT_EQ(picker.describe(0).name, "first");
    EXPECT_EQ(p.app.openDocument(all), nullptr);
    EXPECT_EQ(picker.itemCount(), shipped);
    EXPECT_EQ(p.frame().views().size(), 1u);
    EXPECT_EQ(p.sink.shown.size(), told + 1);
    picker.saveAsDefault();
    SoundLibrary byDefault;
    loadSoundFile(byDefault, sounds.file("data.slb"));
    EXPECT_EQ(byDefault.count(), shipped);

    // The film keeps its frames' sounds.
    const std::string film = p.dir.file("sounds.qfm");
    p.chooser.paths.push_back(film);
    p.frame().runCommand(ID_FILE_SAVE);
    CCelvaneDoc reopened;
    reopened.open(film);
    EXPECT_EQ(reopened.film()->soundName(0, 0), third);
    EXPECT_EQ(reopened.film()->soundName(1, 0), third);
}

TEST(SoundPicker, AWaveFasterThanSoundFilesKeepIsRefusedWithItsName)
{
    test::StartedProgram p;
    CSoundPicker& picker = p.frame().soundPicker();
    const int shipped = picker.itemCount();
    auto sound = Sound::create(Sound::Pcm8Mono);
    sound->setData(Sound::Pcm8Mono, 8000, Bytes(100, 128), 100);
    Bytes wave;
    ByteWriter out(&wave);
    sound->writeWave(&out);
    ASSERT_EQ(loadLE32(&wave[12]), makeTag("fmt "));
    const auto waveAt = [&](uint32_t rate) {
        storeLE32(&wave[24], rate); // samples and bytes a second, one byte a sample
        storeLE32(&wave[28], rate);
        const std::string path = p.dir.file(std::to_string(rate) + ".wav");
        test::writeBytes(path, wave);
        return path;
    };

    picker.loadFile(waveAt(kMaxSoundRate + 1));
    EXPECT_EQ(picker.itemCount(), shipped);
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_NE(p.sink.shown[0].find(std::to_string(kMaxSoundRate + 1) + ".wav"), std::string::npos);

    picker.loadFile(waveAt(kMaxSoundRate));
    EXPECT_EQ(picker.itemCount(), shipped + 1);
    EXPECT_EQ(p.sink.shown.size(), 1u);
}

TEST(SoundPicker, AFolderWithoutSoundsWarnsAndKeepsWhatItHas)
{
    test::StartedProgram p;
    CSoundPicker& picker = p.frame().soundPicker();
    const int shipped = picker.itemCount();
    EXPECT_FALSE(picker.openFolder(p.dir.path().string()));
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_EQ(p.sink.shown[0], "Warning: the sounds could not be found in " + p.dir.path().string());
    EXPECT_EQ(picker.itemCount(), shipped);
    // Nothing to save says so.
    picker.select(PickerSelect::All, 0);
    picker.deleteSelected();
    picker.save();
    EXPECT_EQ(p.sink.shown.back(), "There are no sounds to save.");
}
