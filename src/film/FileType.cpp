#include "film/FileType.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/ByteIO.h"
#include "base/Chunks.h"
#include "base/Settings.h"

namespace celvane {

namespace {

struct Known {
    const char* ext;
    int type;
};
constexpr Known kExtensions[] = {
    {"ACE", FileType::Film},     {"QFM", FileType::Film},         {"STP", FileType::StampFile},
    {"SLB", FileType::SoundLibrary}, {"FF9", FileType::RiscOsSprite}, {"WAV", FileType::Wave},
    {"AFF", FileType::Drawfile}, {"WMF", FileType::Metafile},     {"EMF", FileType::EnhancedMetafile},
    {"BMP", FileType::Bitmap},   {"DIB", FileType::Bitmap},       {"TXT", FileType::Text},
    {"PAL", FileType::PaletteFile}, {"FLI", FileType::Flic},      {"AVI", FileType::Avi},
    {"GIF", FileType::Gif},
    // Pictures schools meet everywhere.
    {"PNG", FileType::Png},     {"JPG", FileType::Jpeg},         {"JPE", FileType::Jpeg},
};

// Files on this system keep the case they were given; the lists name extensions in capitals.
std::string lowerCase(const char* text)
{
    std::string s(text);
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isHexDigit(uint8_t c) { return std::isxdigit(c) != 0; }

int typeFromContent(const std::string& path, int defaultType)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return defaultType;
    std::ifstream in(path, std::ios::binary);
    uint8_t head[12] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    if (in.gcount() < 4)
        return defaultType;
    const bool haveWords = in.gcount() == 12;
    const uint64_t length = size;
    const uint32_t w1 = loadLE32(head + 4), w2 = loadLE32(head + 8);
    const bool lengthFits = haveWords && w1 > 7 && w1 <= length;

    if (std::memcmp(head, "Draw", 4) == 0)
        return FileType::Drawfile;
    for (const char* tag : {"ACEF", "PALE", "SOUN", "DIR1", "RATE", "FULL", "FADE"})
        if (std::memcmp(head, tag, 4) == 0 && lengthFits)
            return FileType::Film;
    if (haveWords && w1 == 16 && uint64_t(w2) == length + 4)
        return FileType::RiscOsSprite;
    for (const char* tag : {"WAV1", "WAV2", "WAV3"})
        if (std::memcmp(head, tag, 4) == 0 && lengthFits)
            return FileType::SoundLibrary;
    if (isHexDigit(head[0]) && isHexDigit(head[1]) && isHexDigit(head[2]) && head[3] == 0 && lengthFits)
        return FileType::StampFile;
    return defaultType;
}

} // namespace

int fileTypeOfPath(const std::string& path, int defaultType, const Settings& settings)
{
    if (path.empty())
        return defaultType;
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.rfind('.');
    const bool startsWithDot = dot == 0;
    if (dot != std::string::npos) {
        const std::string ext = name.substr(dot + 1);
        constexpr int kUnset = INT_MIN;
        const int forced = settings.getInt("File Types", "Extension_" + ext, kUnset, 0, INT_MAX);
        if (forced != kUnset)
            return forced;
        std::string key = ext.substr(0, 3);
        for (char& c : key)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        for (const Known& k : kExtensions)
            if (key == k.ext)
                return k.type;
    }
    if (startsWithDot)
        return defaultType;
    return typeFromContent(path, defaultType);
}

std::optional<FoundFile> findFileWithDefaultExtensions(const std::string& base, int type, const Settings& settings)
{
    static const std::vector<const char*> soundLibrary = {".SLB", "", ".WAV"};
    static const std::vector<const char*> text = {".TXT", ""};
    static const std::vector<const char*> spriteFile = {".FF9", "", ".STP", ".QFM", ".EMF", ".AFF", ".BMP", ".DIB"};
    static const std::vector<const char*> other = {".STP", "", ".FF9", ".QFM", ".EMF", ".AFF", ".BMP", ".DIB"};
    const auto& extensions = type == FileType::SoundLibrary ? soundLibrary
        : type == FileType::Text                           ? text
        : type == FileType::RiscOsSprite                   ? spriteFile
                                                           : other;
    for (const char* ext : extensions) {
        for (const std::string& candidate : {base + ext, base + lowerCase(ext)}) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(candidate, ec))
                return FoundFile{candidate, fileTypeOfPath(candidate, type, settings)};
        }
    }
    return std::nullopt;
}

} // namespace celvane
