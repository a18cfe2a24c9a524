#include "cli/Commands.h"

#include <cstdio>
#include <optional>
#include <utility>
#include <sstream>

#include "base/Chunks.h"
#include "base/Settings.h"
#include "base/StringTable.h"
#include "export/Exporter.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Sprite.h"

namespace celvane::cli {

int toInt(const std::string& text, const char* what)
{
    try {
        size_t used = 0;
        const long value = std::stol(text, &used, 10);
        if (used == text.size() && value >= INT32_MIN && value <= INT32_MAX)
            return int(value);
    } catch (const std::exception&) {
    }
    throw UsageError(std::string("not a number for ") + what + ": " + text);
}

Film& filmOf(CCelvaneDoc& doc)
{
    Film* film = doc.film();
    if (!film)
        throw NotSupportedError("the file holds no film", IDS_CANNOT_LOAD_TYPE);
    return *film;
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

namespace {

// The tags of the file's chunks in file order (none for a bare film block).
std::vector<std::string> chunkTags(const std::string& path)
{
    const Bytes data = readFile(path);
    std::vector<std::string> tags;
    const ChunkSequence chunks(data);
    for (const Chunk& c : chunks.chunks())
        tags.push_back(tagText(c.tag));
    return tags;
}

// The film's description as one JSON object.
std::string infoJson(const Film& film, const std::vector<std::string>& tags)
{
    const PaletteRecord pal = film.paletteRecord();
    std::ostringstream o;
    o << "{\"width\":" << film.width() << ",\"height\":" << film.height() << ",\"depth\":" << film.bitsPerPixel()
      << ",\"frames\":" << film.frameCount() << ",\"period\":" << film.period() << ",\"motion\":" << film.motion()
      << ",\"compressed\":" << (film.compressed() ? "true" : "false") << ",\"name\":" << jsonString(film.name())
      << ",\"xshift\":" << film.xShift() << ",\"yshift\":" << film.yShift() << ",\"ink\":" << pal.inkNumber
      << ",\"paper\":" << pal.paperNumber << ",\"palette\":[";
    for (size_t i = 0; i < pal.words.size(); ++i)
        o << (i ? "," : "") << pal.words[i];
    o << "],\"fades\":[";
    for (int f = 0; f < film.frameCount(); ++f) {
        const FrameFade fade = film.fade(f);
        o << (f ? "," : "") << "[" << fade.kind << "," << fade.direction << "," << fade.pause << "]";
    }
    o << "],\"sounds\":" << soundsJson(film.soundLibrary()) << ",\"frameSounds\":" << frameSoundsJson(film);
    o << ",\"chunks\":[";
    for (size_t i = 0; i < tags.size(); ++i)
        o << (i ? "," : "") << jsonString(tags[i]);
    o << "]}\n";
    return o.str();
}

// The film's description as lines of text.
std::string infoText(const Film& film, const std::vector<std::string>& tags)
{
    const PaletteRecord pal = film.paletteRecord();
    std::ostringstream o;
    static const char* motions[] = {"loop", "yo-yo", "to end", "unknown"};
    o << "size: " << film.width() << " x " << film.height() << "\n"
      << "depth: " << film.bitsPerPixel() << " bits per pixel\n"
      << "frames: " << film.frameCount() << "\n"
      << "period: " << film.period() << " ms\n"
      << "motion: " << motions[film.motion() & 3] << "\n"
      << "compressed: " << (film.compressed() ? "yes" : "no") << "\n"
      << "name: " << film.name() << "\n"
      << "shift: " << film.xShift() << " " << film.yShift() << "\n"
      << "ink: " << pal.inkNumber << "  paper: " << pal.paperNumber << "\n"
      << "palette: " << pal.words.size() << " entries\n";
    for (size_t i = 0; i < pal.words.size(); ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08X", pal.words[i]);
        o << (i % 8 ? " " : "  ") << buf << ((i % 8 == 7 || i + 1 == pal.words.size()) ? "\n" : "");
    }
    o << "fades:";
    for (int f = 0; f < film.frameCount(); ++f) {
        const FrameFade fade = film.fade(f);
        if (!fade.isDefault())
            o << " " << f << ":[" << fade.kind << "," << fade.direction << "," << fade.pause << "]";
    }
    o << "\nsounds: " << film.soundLibrary().count();
    o << "\nchunks:";
    for (const std::string& t : tags)
        o << " " << t;
    o << "\n";
    return o.str();
}

} // namespace

int info(const std::vector<std::string>& args)
{
    bool json = false;
    std::string path;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (path.empty())
            path = a;
        else
            throw UsageError("info takes one file");
    }
    if (path.empty())
        throw UsageError("info needs a file");
    if (describeSounds(path, json))
        return 0;
    CCelvaneDoc doc(Settings::instance());
    doc.open(path);
    Film& film = filmOf(doc);
    const std::vector<std::string> tags = chunkTags(path);
    const std::string text = json ? infoJson(film, tags) : infoText(film, tags);
    std::fputs(text.c_str(), stdout);
    return 0;
}

int frame(const std::vector<std::string>& args)
{
    std::vector<std::string> rest;
    std::string output;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else
            rest.push_back(args[i]);
    }
    if (rest.size() != 2 || output.empty())
        throw UsageError("frame needs FILE N -o OUT.bmp");
    const int n = toInt(rest[1], "N");
    CCelvaneDoc doc(Settings::instance());
    doc.open(rest[0]);
    Film& film = filmOf(doc);
    if (n < 0 || n >= film.frameCount())
        throw UsageError("the film has frames 0 to " + std::to_string(film.frameCount() - 1));
    Sprite image;
    film.decodeFrameInto(n, image);
    Bytes data;
    ByteWriter out(&data);
    image.write(&out, SpriteWriteKind::Bitmap, true);
    writeFileAtomically(output, data);
    return 0;
}

int recode(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        throw UsageError("recode needs IN OUT");
    CCelvaneDoc doc(Settings::instance());
    doc.open(args[0]);
    Film& film = filmOf(doc);
    for (int i = 0; i < film.frameCount(); ++i) {
        film.makeCurrent(i);
        film.markCurrentModified();
    }
    doc.save(args[1]);
    return 0;
}

int newFilm(const std::vector<std::string>& args)
{
    int width = 0, height = 0, depth = 0, frames = 1, period = 0;
    std::string output;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--width" && hasValue)
            width = toInt(args[++i], "--width");
        else if (a == "--height" && hasValue)
            height = toInt(args[++i], "--height");
        else if (a == "--depth" && hasValue)
            depth = toInt(args[++i], "--depth");
        else if (a == "--frames" && hasValue)
            frames = toInt(args[++i], "--frames");
        else if (a == "--period" && hasValue)
            period = toInt(args[++i], "--period");
        else if (output.empty() && a.rfind("--", 0) != 0)
            output = a;
        else
            throw UsageError("unexpected argument: " + a);
    }
    if (output.empty() || width < 1 || height < 1 || frames < 1 || period < 0)
        throw UsageError("new needs --width, --height and --depth above 0, and OUT");
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 32)
        throw UsageError("--depth must be 1, 4, 8, 16 or 32");

    CCelvaneDoc doc(Settings::instance());
    doc.newDocument(ImageInfo::forFilm(width, height, depth));
    Film& film = filmOf(doc);
    for (int i = 1; i < frames; ++i)
        film.insertFrame(i, false);
    if (period > 0) {
        GraphicSummary summary;
        film.getSummary(summary);
        summary.period = period;
        film.setSummary(summary);
    }
    doc.save(output);
    return 0;
}

namespace {

// Exports of more frames than this say how far they have got.
constexpr int kProgressFrames = 50;

} // namespace

void markRange(Film& film, const std::string& range)
{
    const size_t dash = range.find('-');
    if (dash == std::string::npos)
        throw UsageError("--selection needs FIRST-LAST");
    const int first = toInt(range.substr(0, dash), "FIRST"), last = toInt(range.substr(dash + 1), "LAST");
    if (first < 0 || last >= film.frameCount() || first > last)
        throw UsageError("the film has frames 0 to " + std::to_string(film.frameCount() - 1));
    for (int f = 0; f < film.frameCount(); ++f)
        film.setFrameSelected(f, f >= first && f <= last);
}

int convert(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    std::optional<std::string> selection;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--selection" && i + 1 < args.size())
            selection = args[++i];
        else if (args[i].rfind("--", 0) != 0)
            paths.push_back(args[i]);
        else
            throw UsageError("unexpected argument: " + args[i]);
    }
    if (paths.size() != 2)
        throw UsageError("convert needs IN OUT");
    if (convertSounds(paths[0], paths[1]))
        return 0;
    const auto kind = exportKindForPath(paths[1]);
    if (!kind)
        throw NotSupportedError("cannot convert to " + paths[1], IDS_CANNOT_EXPORT_FORMAT);

    CCelvaneDoc doc(Settings::instance());
    doc.open(paths[0]);
    Film& film = filmOf(doc);
    if (selection)
        markRange(film, *selection);
    exportFilm(doc, paths[1], *kind, selection.has_value(), [](int done, int total) {
        if (total >= kProgressFrames) {
            std::fprintf(stderr, "\rExporting frame %d of %d", done, total);
            if (done == total)
                std::fputc('\n', stderr);
        }
        return true;
    });
    return 0;
}

} // namespace celvane::cli
