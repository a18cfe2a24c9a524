#include "film/Film.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/FrameCodec.h"
#include "film/FrameSound.h"
#include "sound/SoundPlayer.h"

namespace celvane {

namespace {

// Beyond this a film could not be shown or coded sensibly; a header claiming more is damaged.
constexpr int kMaxSide = 32767;
constexpr uint64_t kMaxFrameBytes = uint64_t(256) << 20;

bool isFilmDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 32; }

[[noreturn]] void notUnderstood(const std::string& why) { throw ArchiveError(why, IDS_FORMAT_NOT_UNDERSTOOD); }

} // namespace

Film::Film(int period) : period_(period) {}

// ---- loading and creating ----

void Film::load(int insertAt, const ImageInfo* description, const ByteSpan* data, int)
{
    if (data) {
        loadFile(*data);
    } else if (bitsPerPixel_ != 0) {
        insertFrame(insertAt, false);
    } else {
        createNew(description ? *description : ImageInfo{});
    }
}

void Film::loadFile(ByteSpan data)
{
    const FilmFileParts parts = splitFilmFile(data);
    block_.assign(parts.block);
    ++frameListVersion_;

    PaletteRecord record;
    if (parts.palette) {
        record = *parts.palette;
    } else {
        // A bare block carries no palette: the depth comes from the mode word, the colours
        // from the default palette.
        record.bitsPerPixel = depthOfModeWord(block_.headerWord(FilmBlock::Mode));
        record.xShift = record.yShift = 1;
    }
    if (!isFilmDepth(record.bitsPerPixel))
        notUnderstood("unsupported film depth " + std::to_string(record.bitsPerPixel));
    const uint32_t width = block_.headerWord(FilmBlock::Width) >> record.xShift;
    const uint32_t height = block_.headerWord(FilmBlock::Height) >> record.yShift;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide
        || uint64_t(width) * height * uint64_t(record.bitsPerPixel) / 8 > kMaxFrameBytes)
        notUnderstood("film size out of range");

    bitsPerPixel_ = record.bitsPerPixel;
    xShift_ = record.xShift;
    yShift_ = record.yShift;
    width_ = int(width);
    height_ = int(height);
    if (parts.palette) {
        applyPaletteRecord(record);
    } else {
        useBlackOnWhite(PaletteRef());
    }
    if (parts.period)
        period_ = *parts.period;

    const int frames = block_.frameCount();
    if (parts.soundRecords) {
        sounds_.assign(*parts.soundRecords, frames);
        sounds_.loadLibrary(*parts.soundLibrary);
    } else {
        sounds_.clear();
        sounds_.insertEmpty(0, frames);
    }
    fades_ = parts.fades ? readFades(*parts.fades, std::max(frames, 1)) : std::vector<FrameFade>(size_t(std::max(frames, 1)));

    headerFlags_ = block_.headerWord(FilmBlock::Flags);
    // Bits 0-1 name how the frames are coded, and only our codec (0) is known here. A film coded
    // otherwise could show none of its frames; one with no frames yet takes our codec, so that
    // the frames it gains are saved under the method they are coded by.
    if (headerFlags_ & 3) {
        if (frames > 0)
            notUnderstood("frames coded by an unknown method");
        headerFlags_ &= ~3u;
        block_.setHeaderWord(FilmBlock::Flags, headerFlags_);
    }
    empty_ = frames == 0; // a block with no frames shows one blank one, like a new film
    virtualSelected_ = false;
    currentModified_ = false;
    storedSinceCurrent_ = false;
    changed_ = false;
    current_ = -1;
    prepareWorkingImage();
    if (empty_) {
        clearToPaper();
        current_ = 0;
    }
    // What could be read opens; the user hears that the rest is missing before saving over it.
    if (parts.damaged)
        Reporter::message(IDS_FILM_END_DAMAGED, MessageButtons::Ok, MessageIcon::Warning);
}

void Film::applyPaletteRecord(const PaletteRecord& record)
{
    const int n = int(record.words.size());
    palette_ = PaletteRef::make();
    palette_->setCount(n);
    std::vector<bool> seen(static_cast<size_t>(n), false);
    bool distinct = true, remapped = false;
    for (int i = 0; i < n; ++i) {
        const uint32_t word = record.words[size_t(i)];
        palette_->setEntry(i, word & 0xFFFFFF00u);
        const int logical = int(word & 0xFF);
        if (logical >= n || seen[size_t(logical)])
            distinct = false;
        else
            seen[size_t(logical)] = true;
        remapped = remapped || logical != i;
    }
    // The logical numbers count only when they form a true permutation of the entries.
    if (distinct && remapped && bitsPerPixel_ <= 8) {
        std::vector<uint8_t> logicalToStored(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            logicalToStored[record.words[size_t(i)] & 0xFF] = uint8_t(i);
        palette_->setIndexMap(std::move(logicalToStored));
    }
    prepareWorkingImage();
    inkNumber_ = std::clamp(record.inkNumber, 0, n - 1);
    paperNumber_ = std::clamp(record.paperNumber, 0, n - 1);
    ink_ = colourOfNumber(inkNumber_);
    paper_ = colourOfNumber(paperNumber_);
}

uint32_t Film::colourOfNumber(int number) const
{
    const int n = palette_->count();
    int stored = number;
    if (!palette_->indexMap().empty() && number >= 0 && number < n)
        stored = palette_->indexMap()[size_t(number)];
    if (stored < 0 || stored >= n)
        stored = 0;
    const uint32_t colour = palette_->entry(stored);
    return bitsPerPixel_ <= 8 ? colour | uint32_t(number & 0xFF) : colour;
}

void Film::createNew(const ImageInfo& description)
{
    const int bits = description.has(ImageInfo::HasDepth) ? description.bitsPerPixel : 8;
    if (!isFilmDepth(bits))
        throw NotSupportedError("a film cannot have " + std::to_string(bits) + " bits per pixel");
    const int width = description.has(ImageInfo::HasSize) ? std::max(description.width, 1) : 1;
    const int height = description.has(ImageInfo::HasSize) ? std::max(description.height, 1) : 1;
    if (width > kMaxSide || height > kMaxSide)
        throw MemoryError("film too large");
    const bool compressed = !description.has(ImageInfo::HasCompressed) || description.compressed != 0;
    block_.createEmpty(uint32_t(width) * 2, uint32_t(height) * 2, modeWordForDepth(bits), compressed);
    ++frameListVersion_;
    bitsPerPixel_ = bits;
    xShift_ = yShift_ = 1;
    width_ = width;
    height_ = height;
    headerFlags_ = 0;
    useBlackOnWhite(description.has(ImageInfo::HasPalette) ? description.palette : PaletteRef());
    sounds_.clear();
    fades_.assign(1, FrameFade{});
    empty_ = true;
    virtualSelected_ = false;
    currentModified_ = false;
    storedSinceCurrent_ = false;
    changed_ = false;
    clearToPaper();
    current_ = 0;
}

void Film::useBlackOnWhite(PaletteRef palette)
{
    const int entries = 1 << std::min(bitsPerPixel_, 8);
    // A deep picture's palette says nothing about its colours: deep films keep the default.
    if (palette && bitsPerPixel_ <= 8) {
        palette_ = std::move(palette);
        const int given = palette_->count();
        if (given < entries) {
            // A picture may use fewer colours than its depth holds. Every cell stays usable with
            // the default's colours after the picture's; the palette grows in place, so the
            // picture still plots into the film byte for byte.
            const PaletteRef defaults = PaletteRef::make();
            defaults->setDefault(bitsPerPixel_);
            palette_->setCount(entries);
            for (int i = given; i < entries; ++i)
                palette_->setEntry(i, defaults->entry(i));
        }
    } else {
        palette_ = PaletteRef::make();
        palette_->setDefault(bitsPerPixel_);
    }
    prepareWorkingImage();
    ink_ = working_.nearestColourWord(0x000000);
    paper_ = working_.nearestColourWord(0xFFFFFF);
    inkNumber_ = paletteNumberOf(ink_);
    paperNumber_ = paletteNumberOf(paper_);
}

int Film::paletteNumberOf(uint32_t colourWord) const
{
    if (bitsPerPixel_ <= 8)
        return int(colourWord & 0xFF);
    return palette_->nearestIndex(colourWord >> 8);
}

void Film::prepareWorkingImage() { shapeLikeFilm(working_); }

void Film::shapeLikeFilm(Sprite& image) const
{
    if (!image.empty() && image.width() == width_ && image.height() == height_ && image.bitsPerPixel() == bitsPerPixel_
        && image.palette().get() == palette_.get())
        return;
    const int deviceWidth = xShift_ > 1 ? width_ * 2 : width_;
    const int deviceHeight = yShift_ > 1 ? height_ * 2 : height_;
    image.create(width_, height_, deviceWidth, deviceHeight, bitsPerPixel_, palette_);
}

void Film::clearToPaper() { working_.fillColour(paper_); }

// ---- the current frame ----

void Film::makeCurrent(int frame)
{
    if (frame == current_ || !validFrame(frame))
        return;
    if (empty_) {
        clearToPaper();
        current_ = 0;
        return;
    }
    if (current_ >= 0 && currentModified_)
        storeCurrentFrame();
    prepareWorkingImage();
    try {
        decodeRecord(frame, working_);
    } catch (...) {
        // The working image may hold a picture that belongs to no frame.
        current_ = -1;
        currentModified_ = false;
        throw;
    }
    current_ = frame;
    currentModified_ = false;
    storedSinceCurrent_ = false;
}

void Film::decodeRecord(int frame, Sprite& into) const
{
    decodeFrame(block_.record(frame), MutableFrameRows{into.rowAddress(0), -ptrdiff_t(into.stride()),
                                                       size_t(into.usedBytesPerRow()), into.height(), bitsPerPixel_});
}

void Film::decodeFrameInto(int frame, Sprite& into) const
{
    if (!validFrame(frame))
        throw NotSupportedError("no frame " + std::to_string(frame));
    shapeLikeFilm(into);
    if (frame == current_ || empty_)
        into.copyPixelsFrom(working_);
    else
        decodeRecord(frame, into);
}

Bytes Film::encodeWorkingImage() const
{
    Bytes record;
    encodeFrame(FrameRows{working_.rowAddress(0), -ptrdiff_t(working_.stride()), size_t(working_.usedBytesPerRow()),
                          working_.height(), bitsPerPixel_},
                record);
    return record;
}

void Film::storeCurrentFrame()
{
    // Storing a picture as it was made current (a new film's blank frame, before a copy or a
    // save) changes nothing the user could see.
    const bool edited = currentModified_;
    if (empty_) {
        block_.insertRecord(0, encodeWorkingImage());
        empty_ = false;
        current_ = 0;
        sounds_.insertEmpty(0);
        if (virtualSelected_)
            block_.setSelected(0, true);
        virtualSelected_ = false;
    } else if (current_ >= 0) {
        block_.replaceRecord(current_, encodeWorkingImage());
    }
    currentModified_ = false;
    storedSinceCurrent_ = storedSinceCurrent_ || edited;
    changed_ = changed_ || edited;
}

Sprite* Film::workingImage(int frame)
{
    makeCurrent(frame);
    return &working_;
}

void Film::discardEdits()
{
    if (empty_) {
        clearToPaper();
        currentModified_ = false;
        storedSinceCurrent_ = false;
        return;
    }
    const int frame = current_;
    current_ = -1;
    currentModified_ = false;
    if (frame >= 0)
        makeCurrent(frame);
}

// ---- adding and removing frames ----

void Film::insertFrame(int at, bool duplicate) { insertFrameDrawnBy(at, duplicate, {}); }

void Film::insertFrameDrawnBy(int at, bool duplicate, const std::function<void(Sprite&)>& draw)
{
    if (currentModified_ || empty_)
        storeCurrentFrame();
    at = std::clamp(at, 0, block_.frameCount());
    prepareWorkingImage();
    if (!duplicate)
        clearToPaper();
    if (draw)
        draw(working_);
    block_.insertRecord(at, encodeWorkingImage());
    ++frameListVersion_;
    current_ = at;
    currentModified_ = false;
    storedSinceCurrent_ = false;
    changed_ = true;
    sounds_.insertEmpty(at);
    const FrameFade previous = (duplicate && at > 0) ? fades_[size_t(at - 1)] : FrameFade{};
    fades_.insert(fades_.begin() + at, previous);
}

void Film::deleteFrames(int first, int last)
{
    if (empty_) {
        clearToPaper();
        virtualSelected_ = false;
        return;
    }
    first = std::max(first, 0);
    last = std::min(last, block_.frameCount() - 1);
    if (first > last)
        return;
    const int n = last - first + 1;
    block_.removeRecords(first, last);
    ++frameListVersion_;
    sounds_.remove(first, last);
    fades_.erase(fades_.begin() + first, fades_.begin() + last + 1);
    if (current_ > last) {
        current_ -= n;
    } else if (current_ >= first) {
        current_ = -1;
        currentModified_ = false;
    }
    if (block_.frameCount() == 0)
        becomeEmpty();
    changed_ = true;
}

void Film::becomeEmpty()
{
    empty_ = true;
    virtualSelected_ = false;
    currentModified_ = false;
    storedSinceCurrent_ = false;
    fades_.assign(1, FrameFade{});
    clearToPaper();
    current_ = 0;
}

void Film::clear()
{
    if (!empty_)
        deleteFrames(0, block_.frameCount() - 1);
}

void Film::reserveGap(int beforeFrame, size_t bytes)
{
    if (!empty_)
        block_.reserveGap(std::clamp(beforeFrame, 0, block_.frameCount()), bytes);
}

// ---- selection, names, summary, fades, sounds ----

int Film::countSelectedFrames() const { return empty_ ? (virtualSelected_ ? 1 : 0) : block_.countSelected(); }

void Film::setFrameSelected(int frame, bool selected)
{
    if (!validFrame(frame))
        return;
    if (empty_)
        virtualSelected_ = selected;
    else
        block_.setSelected(frame, selected);
}

bool Film::isFrameSelected(int frame) const
{
    if (!validFrame(frame))
        return false;
    return empty_ ? virtualSelected_ : block_.isSelected(frame);
}

std::string Film::frameName(int frame) const
{
    std::string film = name();
    if (film.empty())
        film = loadString(IDS_UNTITLED);
    return film + std::to_string(frame + 1);
}

void Film::setName(const std::string& name)
{
    size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1])))
        --end;
    block_.setName(name.substr(0, std::min<size_t>(end, FilmBlock::kNameLength)));
    changed_ = true;
}

void Film::getFrameDescription(int frame, ImageInfo& info)
{
    info.mask = ImageInfo::HasPalette | ImageInfo::HasName | ImageInfo::HasSize | ImageInfo::HasDepth
        | ImageInfo::HasDeviceSize | ImageInfo::HasCompressed;
    info.reserved = 0;
    info.compressed = compressed() ? 1 : 0;
    info.bitsPerPixel = bitsPerPixel_;
    info.name = frame >= 0 ? frameName(frame) : std::string();
    info.width = width_;
    info.height = height_;
    info.deviceWidth = xShift_ > 1 ? width_ * 2 : width_;
    info.deviceHeight = yShift_ > 1 ? height_ * 2 : height_;
    info.palette = palette_;
}

void Film::getSummary(GraphicSummary& summary) const
{
    summary.frameCount += frameCount();
    summary.ink = ink_;
    summary.paper = paper_;
    summary.period = period_;
    summary.motion = motion();
}

void Film::setSummary(const GraphicSummary& summary)
{
    if (summary.ink != ink_)
        inkNumber_ = paletteNumberOf(summary.ink);
    if (summary.paper != paper_)
        paperNumber_ = paletteNumberOf(summary.paper);
    ink_ = summary.ink;
    paper_ = summary.paper;
    period_ = std::max(summary.period, 1);
    headerFlags_ = (headerFlags_ & ~0xCu) | (uint32_t(summary.motion & 3) << 2);
    block_.setHeaderWord(FilmBlock::Flags, headerFlags_);
    changed_ = true;
}

FrameFade Film::fade(int frame) const
{
    return validFrame(frame) ? fades_[size_t(frame)] : FrameFade{};
}

void Film::setFade(int frame, const FrameFade& fade, int fields)
{
    if (!validFrame(frame))
        return;
    FrameFade& f = fades_[size_t(frame)];
    if (fields & FrameFade::KindField)
        f.kind = fade.kind;
    if (fields & FrameFade::DirectionField)
        f.direction = fade.direction;
    if (fields & FrameFade::PauseField)
        f.pause = fade.pause;
    changed_ = true;
}

FilmSettings Film::settings() const
{
    FilmSettings s{period_, motion(), {}, fades_};
    if (bitsPerPixel_ <= 8) {
        s.colours.reserve(size_t(palette_->count()));
        for (int i = 0; i < palette_->count(); ++i)
            s.colours.push_back(palette_->entry(i));
    }
    return s;
}

void Film::setSettings(const FilmSettings& s)
{
    if (s.colours.size() != (bitsPerPixel_ <= 8 ? size_t(palette_->count()) : 0) || s.fades.size() != fades_.size())
        throw NotSupportedError("the film no longer has the colours or frames its settings were taken from");
    for (size_t i = 0; i < s.colours.size(); ++i)
        if (palette_->entry(int(i)) != s.colours[i])
            palette_->setEntry(int(i), s.colours[i]);
    period_ = s.period;
    // The header is shared with any snapshot taken: only a changed word is worth a copy.
    if (const uint32_t flags = (headerFlags_ & ~0xCu) | (uint32_t(s.motion & 3) << 2); flags != headerFlags_) {
        headerFlags_ = flags;
        block_.setHeaderWord(FilmBlock::Flags, headerFlags_);
    }
    fades_ = s.fades;
    changed_ = true;
}

PaintingChoice Film::paintingChoice() const
{
    const int n = palette_ ? palette_->count() : 0;
    const auto entry = [&](int number) { return bitsPerPixel_ > 8 && number < n ? palette_->entry(number) : 0u; };
    return {ink_, paper_, inkNumber_, paperNumber_, entry(inkNumber_), entry(paperNumber_)};
}

void Film::setPaintingChoice(const PaintingChoice& choice)
{
    const PaintingChoice before = paintingChoice();
    const int n = palette_ ? palette_->count() : 0;
    if (n == 0)
        return; // a film with nothing read into it yet
    inkNumber_ = std::clamp(choice.inkNumber, 0, n - 1);
    paperNumber_ = std::clamp(choice.paperNumber, 0, n - 1);
    if (bitsPerPixel_ <= 8) {
        ink_ = colourOfNumber(inkNumber_);
        paper_ = colourOfNumber(paperNumber_);
    } else {
        ink_ = choice.ink;
        paper_ = choice.paper;
        palette_->setEntry(inkNumber_, choice.inkEntry);
        palette_->setEntry(paperNumber_, choice.paperEntry);
    }
    changed_ = changed_ || paintingChoice() != before;
}

void Film::markSaved()
{
    if (currentModified_ && !empty_)
        storeCurrentFrame();
    currentModified_ = false;
    changed_ = false;
}

bool Film::soundEntry(int frame, int k, FrameSoundEntry& entry) const
{
    if (empty_ || frame < 0 || frame >= sounds_.recordCount() || k < 0 || k >= sounds_.entryCount(frame))
        return false;
    entry = sounds_.entry(frame, k);
    return true;
}

std::vector<Film::PlayedSound> Film::playedSounds(int frame) const
{
    std::vector<PlayedSound> played;
    FrameSoundEntry entry;
    for (int k = 0; soundEntry(frame, k, entry); ++k) {
        const int number = int(entry.words[0] & FilmSoundTable::kSoundNumber);
        if (!FilmSoundTable::namesASound(entry) || number >= sounds_.library().count())
            continue;
        const Sound* sound = sounds_.library().sound(number);
        FrameSound settings;
        if (FrameSound::read(entry, sound->rate(), settings))
            played.push_back({sound, settings});
    }
    return played;
}

void Film::playSounds(int frame)
{
    SoundPlayer* player = SoundPlayer::current();
    if (!player || !SoundSwitches::filmSounds)
        return;
    for (const PlayedSound& p : playedSounds(frame))
        player->play(*p.sound, p.settings.pan, p.settings.volume, p.settings.pitch, p.settings.duration);
}

void Film::hearSound(int frame) const
{
    SoundPlayer* player = SoundPlayer::current();
    const std::vector<PlayedSound> played = playedSounds(frame);
    if (player && !played.empty())
        player->play(*played[0].sound, played[0].settings.pan, played[0].settings.volume, played[0].settings.pitch,
                     played[0].settings.duration);
}

void Film::setSoundEntry(int frame, int k, const FrameSoundEntry& entry)
{
    if (!validFrame(frame) || k < 0)
        return;
    if (empty_)
        storeCurrentFrame();
    sounds_.setEntry(frame, std::min(k, sounds_.entryCount(frame)), entry);
    changed_ = true;
}

void Film::addFrameSound(int frame, Sound* pooled, const std::string& name, FrameSound settings)
{
    if (!validFrame(frame))
        return;
    settings.sound = sounds_.library().hold(pooled, name);
    constexpr int kAfterTheOthers = std::numeric_limits<int>::max();
    setSoundEntry(frame, kAfterTheOthers, settings.stored(pooled->rate()));
}

void Film::removeSoundEntry(int frame, int k)
{
    if (!validFrame(frame) || empty_ || frame >= sounds_.recordCount())
        return;
    sounds_.removeEntry(frame, k);
    changed_ = true;
}

std::string Film::soundName(int frame, int k) const
{
    FrameSoundEntry entry;
    if (!soundEntry(frame, k, entry) || !FilmSoundTable::namesASound(entry))
        return {};
    const int number = int(entry.words[0] & FilmSoundTable::kSoundNumber);
    return number < sounds_.library().count() ? sounds_.library().name(number) : std::string();
}

std::vector<int> Film::framesToWrite(bool selectionOnly) const
{
    std::vector<int> frames;
    for (int i = 0; i < frameCount(); ++i)
        if (!selectionOnly || isFrameSelected(i))
            frames.push_back(i);
    return frames;
}

std::vector<int> Film::playedOnce(std::vector<int> frames) const
{
    if (motion() == YoYo)
        for (size_t k = frames.size(); k-- > 2;)
            frames.push_back(frames[k - 1]);
    return frames;
}

bool Film::isOfFileType(int type) const { return type == FileType::Film; }

// ---- saving ----

PaletteRecord Film::paletteRecord() const
{
    PaletteRecord record;
    record.inkNumber = inkNumber_;
    record.paperNumber = paperNumber_;
    record.bitsPerPixel = bitsPerPixel_;
    record.xShift = xShift_;
    record.yShift = yShift_;
    const int n = 1 << std::min(bitsPerPixel_, 8);
    const auto& inverse = palette_->inverseMap();
    record.words.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        const uint32_t colour = i < palette_->count() ? palette_->entry(i) & 0xFFFFFF00u : 0;
        const uint32_t logical = inverse.empty() ? uint32_t(i) : inverse[size_t(i)];
        record.words[size_t(i)] = colour | (logical & 0xFF);
    }
    return record;
}

size_t Film::writeFilmFile(ByteWriter* out, bool selectionOnly) const
{
    ByteWriter counter;
    ByteWriter& w = out ? *out : counter;
    const size_t start = w.written();
    block_.writeChunk(w, selectionOnly);
    writeAfterBlock(w, selectionOnly);
    return w.written() - start;
}

void Film::writeAfterBlock(ByteWriter& w, bool selectionOnly) const
{
    writeRate(w, period_);
    writePalette(w, paletteRecord());

    // A film with no frame stored yet has no sound records.
    const std::vector<int> frames = framesToWrite(selectionOnly);
    if (std::any_of(frames.begin(), frames.end(),
                    [&](int i) { return i < sounds_.recordCount() && sounds_.entryCount(i) > 0; })) {
        const FilmSoundTable::Saved saved = sounds_.forSaving(frames);
        writeChunk(w, FilmChunk::SoundRecords, saved.records);
        const size_t at = w.written();
        writeChunkHeader(w, FilmChunk::SoundLibrary, 0);
        w.patchU32(at + 4, uint32_t(8 + sounds_.library().writeChunkSet(&w, saved.used)));
    }
    if (std::any_of(frames.begin(), frames.end(), [&](int i) { return !fades_[size_t(i)].isDefault(); })) {
        std::vector<FrameFade> chosen;
        for (int i : frames)
            chosen.push_back(fades_[size_t(i)]);
        writeFades(w, chosen);
    }
}

FilmSnapshot Film::snapshot() const
{
    FilmSnapshot s;
    s.block_ = block_;
    // What storing the current frame before a save would store.
    if ((currentModified_ || empty_) && (empty_ || current_ >= 0)) {
        s.frame_ = empty_ ? 0 : current_;
        s.firstOfEmptyFilm_ = empty_;
        s.stride_ = size_t(working_.stride());
        s.rowBytes_ = size_t(working_.usedBytesPerRow());
        s.rows_ = working_.height();
        s.bitsPerPixel_ = bitsPerPixel_;
        s.pixels_.assign(working_.pixels(), working_.pixels() + s.stride_ * size_t(s.rows_));
    }
    ByteWriter rest(&s.rest_);
    writeAfterBlock(rest, false);
    return s;
}

size_t Film::save(ByteWriter* out, int fileType, bool selectionOnly)
{
    if (fileType != FileType::Film && fileType != FileType::StampFile && fileType != FileType::BareFilmBlock
        && fileType != FileType::SoundLibrary)
        throw NotSupportedError("films cannot be saved as type " + std::to_string(fileType), IDS_CANNOT_EXPORT_FORMAT);
    if (currentModified_ || empty_)
        storeCurrentFrame();
    block_.closeGap();

    ByteWriter counter;
    ByteWriter& w = out ? *out : counter;
    const size_t start = w.written();
    switch (fileType) {
    case FileType::BareFilmBlock: block_.write(w, selectionOnly); break;
    case FileType::SoundLibrary:
        sounds_.library().writeChunkSet(&w, sounds_.forSaving(framesToWrite(selectionOnly)).used);
        break;
    case FileType::StampFile:
        writeChunkHeader(w, tagForFileType(FileType::Film), uint32_t(writeFilmFile(nullptr, selectionOnly) + 8));
        writeFilmFile(&w, selectionOnly);
        break;
    default: writeFilmFile(&w, selectionOnly); break;
    }
    return w.written() - start;
}

} // namespace celvane
