// Writes a small file of every kind the fuzz targets read, made by our own writers, into
// <folder>/<target>/: seeds that a checkout has even without sample files from elsewhere.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "FuzzSupport.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "export/GifWriter.h"
#include "gfx/Palette.h"
#include "gfx/Sprite.h"
#include "import/DrawfileGraphic.h"
#include "import/MetafileGraphic.h"
#include "sound/SoundClipboard.h"
#include "sound/SoundLibrary.h"
#include "sound/SoundPool.h"
#include "stamps/StampSet.h"
#include "stamps/TextDrawfile.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

fs::path g_folder;

void put(const std::string& target, const std::string& name, ByteSpan bytes)
{
    const fs::path dir = g_folder / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes written(const std::function<void(ByteWriter&)>& write)
{
    Bytes bytes;
    ByteWriter out(&bytes);
    write(out);
    return bytes;
}

Bytes withPrefix(uint8_t first, ByteSpan rest)
{
    Bytes bytes{first};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

Sound* pooledSound(int code, int rate, int samples, uint8_t step)
{
    auto sound = Sound::create(code);
    const size_t bytes = code <= Sound::Pcm16Stereo ? size_t(samples) * frameBytesOf(code) : size_t(samples);
    Bytes data(bytes);
    for (size_t i = 0; i < bytes; ++i)
        data[i] = uint8_t(i * step);
    sound->setData(code, rate, data, samples);
    return SoundPool::shared().add(std::move(sound));
}

void fillSounds(SoundLibrary& library)
{
    library.add(pooledSound(Sound::Pcm8Mono, 11025, 64, 5), "Beep");
    library.add(pooledSound(Sound::Pcm16Stereo, 22050, 32, 3), "Stereo");
    library.add(pooledSound(Sound::Logarithmic, 8000, 48, 7), "Old");
}

// A film of three patterned frames, a sound on the second and a wipe into the third.
std::unique_ptr<Film> makeFilm(int depth, bool compressed = true)
{
    auto made = std::make_unique<Film>();
    Film& film = *made;
    const ImageInfo description = ImageInfo::forFilm(24, 16, depth, compressed);
    film.load(0, &description, nullptr, FileType::Film);
    film.insertFrame(1, false);
    film.insertFrame(2, false);
    for (int frame = 0; frame < 3; ++frame) {
        Sprite* image = film.workingImage(frame);
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->usedBytesPerRow(); ++x)
                image->rowAddress(y)[x] = uint8_t(x * (frame + 1) + y * 3);
        if (depth == 16) // the top bit of a 16-bit pixel is unused
            for (int y = 0; y < image->height(); ++y)
                for (int x = 1; x < image->usedBytesPerRow(); x += 2)
                    image->rowAddress(y)[x] &= 0x7F;
        film.markCurrentModified();
    }
    film.storeCurrentFrame();
    film.addFrameSound(1, pooledSound(Sound::Pcm8Mono, 11025, 64, 5), "Beep");
    film.setFade(2, FrameFade{FrameFade::Wipe, FrameFade::FromLeft, 50}, FrameFade::AllFields);
    return made;
}

Bytes filmFile(Film& film)
{
    return written([&](ByteWriter& out) { film.save(&out, FileType::Film, false); });
}

Bytes bitmap(int depth, bool withFileHeader)
{
    Sprite sprite;
    sprite.create(13, 7, 0, 0, depth);
    for (int y = 0; y < sprite.height(); ++y)
        for (int x = 0; x < sprite.usedBytesPerRow(); ++x)
            sprite.rowAddress(y)[x] = uint8_t(x * 11 + y);
    return written([&](ByteWriter& out) { sprite.write(&out, SpriteWriteKind::Bitmap, withFileHeader); });
}

// Two sprites as a RISC OS sprite file holds them: 8 bits with a palette, 32 bits with a mask.
Bytes spriteFile()
{
    return written([](ByteWriter& w) {
        w.u32(2);
        w.u32(16);
        w.u32(0); // the free space, patched below
        const auto header = [&](const char* name, int rowWords, int rows, int lastBit, uint32_t imageAt,
                                uint32_t maskAt, uint32_t mode, uint32_t next) {
            w.u32(next);
            char padded[12] = {};
            std::snprintf(padded, sizeof padded, "%s", name);
            w.bytes(padded, 12);
            w.u32(uint32_t(rowWords - 1));
            w.u32(uint32_t(rows - 1));
            w.u32(0);
            w.u32(uint32_t(lastBit));
            w.u32(imageAt);
            w.u32(maskAt);
            w.u32(mode);
        };
        // 6 x 4 pixels of 8 bits in mode 28, a palette of 256 pairs.
        const uint32_t first = 44 + 256 * 8;
        header("eight", 2, 4, 15, first, first, 28, first + 2 * 4 * 4);
        for (uint32_t i = 0; i < 256; ++i) {
            w.u32(i * 0x01010100u);
            w.u32(i * 0x01010100u);
        }
        for (int i = 0; i < 2 * 4 * 4; ++i)
            w.u8(uint8_t(i * 9));
        // 3 x 2 pixels of 32 bits in a new-format mode word (90 dpi), a 1-bit mask after them.
        const uint32_t image = 44, mask = image + 3 * 2 * 4;
        header("deep", 3, 2, 31, image, mask, 6u << 27 | 90u << 14 | 90u << 1 | 1, mask + 2 * 4);
        for (int i = 0; i < 3 * 2; ++i)
            w.u32(0x00FF8040u + uint32_t(i) * 0x10);
        w.u32(0x5);
        w.u32(0x2);
        w.patchU32(8, uint32_t(w.written() + 4));
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    g_folder = argv[1];
    fuzz::startQt();

    for (int depth : {1, 4, 8, 16, 32}) {
        put("film", "depth" + std::to_string(depth) + ".qfm", filmFile(*makeFilm(depth)));
    }
    put("film", "uncompressed.qfm", filmFile(*makeFilm(8, false)));
    const auto film = makeFilm(8);
    const Bytes filmBytes = filmFile(*film);
    put("gif", "film.gif", writeGif(*film));

    for (int depth : {1, 4, 8, 16, 32})
        put("bmp", "depth" + std::to_string(depth) + ".bmp", bitmap(depth, true));
    put("sprite", "two.ff9", spriteFile());

    TextStampSpec text{"Hello\nthere", "Font", 7680, true, 0x0000FF, 0x808080};
    const Bytes drawfile = buildTextDrawfile(text);
    put("drawfile", "text.aff", drawfile);
    DrawfileGraphic drawing;
    const ByteSpan drawfileSpan = drawfile;
    drawing.load(0, nullptr, &drawfileSpan, FileType::Drawfile);
    const Bytes emf = drawing.recorded(MetafileKind::Enhanced);
    put("emf", "text.emf", emf);
    MetafileGraphic wmf;
    const Bytes recordedWmf = drawing.recorded(MetafileKind::Windows);
    const ByteSpan wmfSpan = recordedWmf;
    wmf.load(0, nullptr, &wmfSpan, FileType::Metafile);
    put("wmf", "text.wmf", written([&](ByteWriter& out) { wmf.save(&out, FileType::Metafile, false); }));

    StampSet stamps;
    stamps.add(FileType::Bitmap, bitmap(8, true));
    stamps.add(FileType::Drawfile, drawfile);
    stamps.add(FileType::EnhancedMetafile, emf);
    stamps.rename(0, "Square");
    stamps.combine(1, PlotTransform{2, 1, 90});
    const Bytes stampFile = written([&](ByteWriter& out) { stamps.save(&out, false); });
    put("stamps", "four.stp", stampFile);

    Bytes onClipboard = withPrefix(0, stampFile);
    onClipboard.insert(onClipboard.end(), 4, 0xFF);
    put("clip-frames", "stamps", onClipboard);
    const Bytes bmp = bitmap(8, true);
    put("clip-frames", "bitmap", withPrefix(1, bmp));
    put("clip-frames", "dib", withPrefix(1, ByteSpan(bmp).subspan(14)));

    SoundLibrary library;
    fillSounds(library);
    put("sounds", "three.slb", written([&](ByteWriter& out) { library.writeChunkSet(&out, false); }));
    put("sounds", "film.qfm", filmBytes);
    library.selectAll(true);
    put("clip-sounds", "three", copySounds(library));
    for (int i = 0; i < library.count(); ++i) {
        const Bytes wave = written([&](ByteWriter& out) { library.sound(i)->writeWave(&out); });
        put("wav", library.name(i) + ".wav", wave);
        if (i == 0)
            put("sounds", "beep.wav", wave);
    }

    for (int depth : {4, 8}) {
        PaletteRef palette = Palette::make();
        palette->setDefault(depth);
        put("palette", "depth" + std::to_string(depth) + ".pal",
            written([&](ByteWriter& out) { palette->writePalFile(&out); }));
    }

    const std::string ini = "; made by hand\n[Choices]\nUndoSteps = 12\nFilmSounds=1\n\n[File Types]\nQFM = \"3114\"\n"
                            "[windows]\nDragMinDist=4\n";
    put("settings", "celvane.ini", ByteSpan(reinterpret_cast<const uint8_t*>(ini.data()), ini.size()));
    return 0;
}
