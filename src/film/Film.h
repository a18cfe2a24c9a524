#pragma once
// An animation: equally sized frames sharing one depth and palette, kept coded in one film
// block, with one frame at a time decoded into the working image for drawing and display.
// Every change to a film's frames goes through here so that the block, the frame index, the
// sound records and the fade records stay in step.

#include <functional>
#include <string>
#include <vector>

#include "film/FilmBlock.h"
#include "film/FilmFile.h"
#include "film/FilmSnapshot.h"
#include "film/FilmSoundTable.h"
#include "film/FrameSound.h"
#include "film/Graphic.h"
#include "gfx/Sprite.h"
#include "print/PrintLayout.h"

namespace celvane {

// What a film keeps besides its frames and sounds: speed and motion, a palette film's colours
// and each frame's transition, as one value for taking back a change.
struct FilmSettings {
    int period = 0, motion = 0;
    std::vector<uint32_t> colours; // empty for a deep film, whose pixels need no palette
    std::vector<FrameFade> fades;
    bool operator==(const FilmSettings&) const = default;
};

// The painting and paper colours as chosen: a choice, which taking back a change leaves alone.
struct PaintingChoice {
    uint32_t ink = 0, paper = 0;
    int inkNumber = 0, paperNumber = 0;
    // A deep film keeps the chosen colours in these entries of its colour table too.
    uint32_t inkEntry = 0, paperEntry = 0;
    bool operator==(const PaintingChoice&) const = default;
};

class Film : public Graphic {
public:
    enum Motion : int { Loop = 0, YoYo = 1, ToEnd = 2 };

    // Plays at `period` ms a frame until its file says otherwise.
    explicit Film(int period = kStandardFilmPeriod);

    // Graphic
    int needsMaskFlags() const override { return 0; }
    void getSummary(GraphicSummary& summary) const override;
    void getFrameDescription(int frame, ImageInfo& info) override;
    int countSelectedFrames() const override;
    void setFrameSelected(int frame, bool selected) override;
    bool isFrameSelected(int frame) const override;
    bool isModified() const override { return currentModified_ || changed_; }
    void setModified(bool on) override { changed_ = on; }
    // With data: reads a film file or a bare film block. With only a description: a new film
    // of one blank frame. Into a film that already has frames: a blank frame at `insertAt`.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    void clear() override;
    void deleteFrames(int first, int last) override;
    size_t save(ByteWriter* out, int fileType, bool selectionOnly) override;
    void insertFrame(int at, bool duplicate) override;
    // Inserts a frame drawn by `draw` onto blank paper (or onto a copy of the current frame),
    // coding it once: a film gaining many pictures in a row codes each of them once.
    void insertFrameDrawnBy(int at, bool duplicate, const std::function<void(Sprite&)>& draw);
    void discardEdits() override;
    void reserveGap(int beforeFrame, size_t bytes) override;
    size_t gapSize() const override { return block_.gapSize(); }
    void closeGap() override { block_.closeGap(); }
    void setSummary(const GraphicSummary& summary) override;
    // Makes the frame current: for drawing on it. Readers use decodeFrameInto.
    Sprite* workingImage(int frame) override;
    bool soundEntry(int frame, int k, FrameSoundEntry& entry) const override;
    // Plays the frame's sounds in turn (each stops the one before) while film sounds are on.
    void playSounds(int frame) override;
    // Plays the frame's first sound, film sounds on or off: a child asked to hear it.
    void hearSound(int frame) const;
    // The frame's sound entries that are played, in order, with the sounds they name.
    struct PlayedSound {
        const Sound* sound;
        FrameSound settings;
    };
    std::vector<PlayedSound> playedSounds(int frame) const;
    void setSoundEntry(int frame, int k, const FrameSoundEntry& entry) override;
    // Puts a pooled sound on a frame after its other sounds, played as `settings` say.
    void addFrameSound(int frame, Sound* pooled, const std::string& name, FrameSound settings = {});
    void removeSoundEntry(int frame, int k);
    // The name of the library sound that entry k of a frame plays, or "" when there is none.
    std::string soundName(int frame, int k) const;
    void setName(const std::string& name) override;
    FrameFade fade(int frame) const override;
    void setFade(int frame, const FrameFade& fade, int fields) override;
    bool isOfFileType(int type) const override;

    FilmSettings settings() const;
    // Puts back settings taken from this film; NotSupportedError, changing nothing, when its
    // palette or its frames are no longer counted as they were then.
    void setSettings(const FilmSettings& settings);
    PaintingChoice paintingChoice() const;
    // Chooses again after the film was read anew or its colours were put back: a palette film's
    // colours are those its palette now has at the chosen numbers.
    void setPaintingChoice(const PaintingChoice& choice);
    // The film holds what its file holds again (its changes were taken back to where it was
    // saved): the current frame is stored and nothing is left to save.
    void markSaved();

    // Frames, including the one blank virtual frame of an empty film.
    int frameCount() const { return empty_ ? 1 : block_.frameCount(); }
    bool isEmpty() const { return empty_; }
    int currentFrame() const { return current_; }
    // Decodes a frame into the working image (storing an edited current frame first).
    void makeCurrent(int frame);
    // The frames a write takes: the marked ones with `selectionOnly`, else every one.
    std::vector<int> framesToWrite(bool selectionOnly) const;
    // Frames in the order one pass of the motion shows them: a yo-yo film comes back from the
    // second last to the second.
    std::vector<int> playedOnce(std::vector<int> frames) const;
    // A frame's picture as it is now (the working image's for the current frame), in a sprite
    // shaped like the working image, made so when it is not. The film does not move.
    void decodeFrameInto(int frame, Sprite& into) const;
    // Codes the working image back into the block.
    void storeCurrentFrame();
    // The film as saving it now would write it, to be written out on another thread.
    FilmSnapshot snapshot() const;
    // Says the working image was drawn on.
    void markCurrentModified() { currentModified_ = true; }
    // Says the working image holds again what it had when the frame became current: it still
    // differs from the stored copy when the frame was stored since.
    void currentRestored() { currentModified_ = storedSinceCurrent_; }
    bool currentModified() const { return currentModified_; }
    // Counts the changes to the list of frames (frames added or deleted, a film read in), so that
    // whatever remembers frames by number can tell whether they have moved since.
    uint64_t frameListVersion() const { return frameListVersion_; }

    std::string name() const { return block_.name(); }
    std::string frameName(int frame) const;
    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    int xShift() const { return xShift_; }
    int yShift() const { return yShift_; }
    bool compressed() const { return block_.headerWord(FilmBlock::Compressed) != 2; }
    // The bytes the frames take as coded (the current frame as last stored).
    size_t storedFrameBytes() const { return block_.frameDataSize(); }
    int period() const { return period_; }
    int motion() const { return int(headerFlags_ >> 2) & 3; }
    uint32_t ink() const { return ink_; }
    uint32_t paper() const { return paper_; }
    const PaletteRef& palette() const { return palette_; }
    // The PALE record this film writes: entries with their logical numbers, ink and paper.
    PaletteRecord paletteRecord() const;
    // The sounds the frames' sound entries name by number.
    SoundLibrary& soundLibrary() { return sounds_.library(); }
    const SoundLibrary& soundLibrary() const { return sounds_.library(); }
    // How the film was last laid out on paper; kept while it is open, never saved.
    const PrintLayout& printChoices() const { return printChoices_; }
    void setPrintChoices(const PrintLayout& layout) { printChoices_ = layout; }

private:
    void loadFile(ByteSpan data);
    void createNew(const ImageInfo& description);
    void applyPaletteRecord(const PaletteRecord& record);
    // Takes the palette (the depth's default when none) with black ink on white paper.
    void useBlackOnWhite(PaletteRef palette);
    void prepareWorkingImage();
    // Makes `image` a sprite of the film's size, depth and palette, unless it is one.
    void shapeLikeFilm(Sprite& image) const;
    void decodeRecord(int frame, Sprite& into) const;
    void clearToPaper();
    Bytes encodeWorkingImage() const;
    void becomeEmpty();
    size_t writeFilmFile(ByteWriter* out, bool selectionOnly) const;
    // Rate, palette, sounds and fades: the chunks after the film block.
    void writeAfterBlock(ByteWriter& out, bool selectionOnly) const;
    bool validFrame(int frame) const { return frame >= 0 && frame < frameCount(); }
    int paletteNumberOf(uint32_t colourWord) const;
    // The colour word for palette number `number`, as the film's painting colours hold it.
    uint32_t colourOfNumber(int number) const;

    FilmBlock block_;
    bool changed_ = false;
    bool currentModified_ = false;
    // The current frame's stored copy is no longer what it had when it became current.
    bool storedSinceCurrent_ = false;
    bool empty_ = false;
    bool virtualSelected_ = false;
    int xShift_ = 1;
    int yShift_ = 1;
    int bitsPerPixel_ = 0;
    int width_ = 0;
    int height_ = 0;
    uint32_t ink_ = 0;
    uint32_t paper_ = 0;
    // The palette numbers written for ink and paper; kept as read so that a deep film whose
    // palette repeats a colour saves the same numbers back.
    int inkNumber_ = 0;
    int paperNumber_ = 0;
    int current_ = -1;
    uint64_t frameListVersion_ = 0;
    int period_;
    uint32_t headerFlags_ = 0;
    PaletteRef palette_;
    Sprite working_;
    FilmSoundTable sounds_;
    std::vector<FrameFade> fades_;
    PrintLayout printChoices_;
};

} // namespace celvane
