// The sound picker as a child and a teacher use it: the shipped sounds are there, a click picks
// one and it goes into the frame, sounds are cut and pasted, saved as a library and as wave
// files, a library opened from the File menu fills the picker, and the frame keeps its sound
// through saving and opening again.

#include <gtest/gtest.h>

#include <QMimeData>
#include <QTest>

#include "PickerSteps.h"
#include "QtTestSupport.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CSoundPicker.h"
#include "film/CelvaneDoc.h"
#include "base/Chunks.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "sound/SoundFiles.h"
#include "sound/WaveFile.h"
#include "view/CCelvaneView.h"

using namespace celvane;

TEST(SoundPicker, PickedSoundsGoIntoFramesAndOutToFiles)
{
    test::StartedProgram p;
    CSoundPicker& picker = p.frame().soundPicker();
    CPickerWindow& window = picker.window();
    const int shipped = picker.itemCount();
    ASSERT_GE(shipped, 30);
    window.showPicker();
    ASSERT_TRUE(window.isVisible());

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

    // Saved as waves: the first selected into the file named, the others beside it.
    picker.select(PickerSelect::Select, 0);
    picker.select(PickerSelect::Select, shipped - 1);
    const std::string wave = p.dir.file("first.wav");
    p.chooser.paths.push_back(wave);
    picker.save();
    ASSERT_TRUE(std::filesystem::exists(wave));
    EXPECT_GT(readWaveFile(wave)->sampleCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(p.dir.file(picker.describe(shipped - 1).name.substr(0, 8) + ".wav")));

    // Saved as a library with no extension given: ".slb"; opened again from File, Open, it fills
    // the picker and opens no film.
    picker.select(PickerSelect::None, 0);
    p.chooser.paths.push_back(p.dir.file("all"));
    picker.save();
    SoundLibrary saved;
    loadSoundFile(saved, p.dir.file("all.slb"));
    EXPECT_EQ(saved.count(), shipped);
    picker.select(PickerSelect::All, 0);
    picker.deleteSelected();
    EXPECT_EQ(picker.itemCount(), 0);
    EXPECT_EQ(p.app.openDocument(p.dir.file("all.slb")), nullptr);
    EXPECT_EQ(picker.itemCount(), shipped);
    EXPECT_EQ(p.frame().views().size(), 1u);
    EXPECT_TRUE(p.sink.shown.empty());

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
