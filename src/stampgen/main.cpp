// celvane-stamps FOLDER: draws the stamps the program ships, at build time, into the data
// folder: FOLDER/Stamps/data.stp (shapes) with a links file leading to a folder of stamps for
// each subject, each with its own data.stp, and an icons file showing each such link with the
// folder's first stamp.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "Drawings.h"
#include "base/Errors.h"
#include "film/FileType.h"
#include "gfx/Sprite.h"
#include "platform/SpriteImage.h"
#include "stamps/StampFolder.h"

using namespace celvane;

namespace {

// The drawing as a 32-bit sprite whose mask lets through what was drawn.
Sprite render(const StampDrawing& d)
{
    QImage image(d.width, d.height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        // Drawn whole or not at all, so that the mask has no grey edge to guess about.
        p.scale(d.width / 64.0, d.height / 64.0);
        d.draw(p);
    }
    Sprite sprite;
    sprite.create(d.width, d.height, 0, 0, 32);
    SpritePixelWriter().write(image.convertToFormat(QImage::Format_RGB32), sprite);
    Sprite& mask = sprite.ensureMask();
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x)
            mask.setPixelAt(x, y, qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0);
    return sprite;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: celvane-stamps FOLDER\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        const std::filesystem::path top = std::filesystem::path(argv[1]) / "Stamps";
        std::map<std::string, StampSet> folders;
        StampSet icons;
        for (const StampDrawing& d : stampDrawings()) {
            StampSet& set = folders[d.folder];
            Bytes chunk;
            ByteWriter out(&chunk);
            render(d).write(&out, SpriteWriteKind::FilmChunk, true);
            set.add(FileType::StampFile, chunk);
            set.rename(set.count() - 1, d.name);
            if (*d.folder && set.count() == 1) {
                icons.add(FileType::StampFile, chunk);
                icons.rename(icons.count() - 1, d.folder);
            }
        }
        std::ofstream links;
        std::filesystem::create_directories(top);
        links.open(top / "links");
        links << "# The folders of stamps, each with the name shown for it.\n";
        for (auto& [folder, set] : folders) {
            const std::filesystem::path path = folder.empty() ? top : top / folder;
            std::filesystem::create_directories(path);
            saveStampSet(set, path.string());
            // A target ends at the first space; the name shown may have more.
            if (!folder.empty())
                links << folder << ' ' << (folder == "Bubbles" ? "Speech bubbles" : folder) << '\n';
        }
        Bytes iconFile;
        ByteWriter out(&iconFile);
        icons.save(&out, false);
        writeFileAtomically((top / "icons.stp").string(), iconFile);
    } catch (const Error& e) {
        std::fprintf(stderr, "celvane-stamps: %s\n", e.what());
        return 1;
    }
    return 0;
}
