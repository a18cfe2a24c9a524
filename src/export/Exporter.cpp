#include "export/Exporter.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "base/StringTable.h"
#include "export/GifWriter.h"
#include "export/NumberedNames.h"
#include "export/VideoWriter.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "gfx/Sprite.h"
#include "platform/ImageFiles.h"

namespace celvane {

namespace {

constexpr ExportKindInfo kKinds[] = {
    {ExportKind::Gif, "Animated GIF file", ".gif"},
    {ExportKind::Bitmaps, "Bitmap (bmp) files", ".bmp"},
    {ExportKind::Palette, "Palette (pal) file", ".pal"},
    {ExportKind::SoundLibrary, "SoundLib file", ".slb"},
    {ExportKind::Film, "Film", ".qfm"},
    {ExportKind::Avi, "Video for Windows (AVI) file", ".avi"},
    {ExportKind::Flic, "FLIC animation", ".flc"},
    {ExportKind::Mp4, "MP4 video (for the web)", ".mp4"},
    {ExportKind::Pngs, "PNG pictures", ".png"},
};

std::string lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Bytes bytesOf(const std::function<size_t(ByteWriter*)>& write)
{
    Bytes data;
    ByteWriter out(&data);
    write(&out);
    return data;
}

// An empty file is one that nothing can open: it is refused with the message `messageId`.
void writeUnlessEmpty(const std::string& path, const Bytes& data, const char* detail, int messageId)
{
    if (data.empty())
        throw NotSupportedError(detail, messageId);
    writeFileAtomically(path, data);
}

// One file per frame: the first under the chosen name, the rest numbered after it. Files
// already written go again if a later one fails or the user cancels.
void writeSeries(const Film& film, const std::string& path, const std::vector<int>& frames,
                 const ExportProgress& progress, const std::function<void(const Sprite&, const std::string&)>& writeOne)
{
    NumberedNames names(path);
    Sprite picture;
    std::vector<std::string> written;
    try {
        for (size_t k = 0; k < frames.size(); ++k) {
            const std::string name = k == 0 ? path : names.next();
            film.decodeFrameInto(frames[k], picture);
            writeOne(picture, name);
            written.push_back(name);
            if (progress && !progress(int(k + 1), int(frames.size())))
                throw UserCancel();
        }
    } catch (...) {
        for (const std::string& name : written) {
            std::error_code ignored;
            std::filesystem::remove(name, ignored);
        }
        throw;
    }
}

} // namespace

std::span<const ExportKindInfo> exportKinds() { return kKinds; }

std::optional<ExportKind> exportKindForPath(const std::string& path)
{
    const std::string ext = lower(std::filesystem::path(path).extension().string());
    if (ext == ".fli")
        return ExportKind::Flic;
    for (const ExportKindInfo& k : kKinds)
        if (ext == k.extension)
            return k.kind;
    return std::nullopt;
}

std::string exportFilm(CCelvaneDoc& doc, std::string path, ExportKind kind, bool selectionOnly,
                       const ExportProgress& progress)
{
    Film* film = doc.film();
    if (!film)
        throw NotSupportedError("nothing to export", IDS_CANNOT_EXPORT_FORMAT);
    const auto info = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) { return k.kind == kind; });
    if (std::filesystem::path(path).extension().empty())
        path += info->extension;
    if (selectionOnly && film->countSelectedFrames() == 0)
        selectionOnly = false;
    const std::vector<int> frames = film->framesToWrite(selectionOnly);

    switch (kind) {
    case ExportKind::Gif: {
        GifExportOptions options;
        options.frames = frames;
        options.progress = progress;
        writeFileAtomically(path, writeGif(*film, options));
        break;
    }
    case ExportKind::Bitmaps:
        writeSeries(*film, path, frames, progress, [](const Sprite& s, const std::string& name) {
            writeFileAtomically(name, bytesOf([&](ByteWriter* out) { return s.write(out, SpriteWriteKind::Bitmap, true); }));
        });
        break;
    case ExportKind::Pngs: writeSeries(*film, path, frames, progress, writePngFile); break;
    case ExportKind::Palette:
        // The palette of the first marked frame, or of the current one.
        writeUnlessEmpty(path, bytesOf([&](ByteWriter* out) { return film->palette()->writePalFile(out); }),
                         "this film has no palette to write", IDS_CANNOT_EXPORT_FORMAT);
        break;
    case ExportKind::SoundLibrary:
        writeUnlessEmpty(path,
                         bytesOf([&](ByteWriter* out) { return film->save(out, FileType::SoundLibrary, selectionOnly); }),
                         "the frames written have no sounds", IDS_NO_SOUNDS_TO_SAVE);
        break;
    case ExportKind::Film:
        writeFileAtomically(path, bytesOf([&](ByteWriter* out) { return film->save(out, FileType::Film, selectionOnly); }));
        break;
    // AVI files always hold the whole film.
    case ExportKind::Avi: writeVideo(*film, path, VideoKind::Avi, {}, progress); break;
    case ExportKind::Mp4: writeVideo(*film, path, VideoKind::Mp4, frames, progress); break;
    case ExportKind::Flic: writeFileAtomically(path, writeFlic(*film, selectionOnly, progress)); break;
    }
    return path;
}

} // namespace celvane
