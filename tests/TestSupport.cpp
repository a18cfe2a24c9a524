#include "TestSupport.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

#include "film/FileType.h"
#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "import/ImportKinds.h"
#include "stamps/StampSet.h"

namespace celvane::test {

namespace {

// Every test sees the kinds of file the program reads, as the program does from its start.
const bool kImportKindsRegistered = [] {
    registerImportKinds();
    return true;
}();

} // namespace

TempDir::TempDir()
{
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("celvane-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeBytes(const std::string& path, ByteSpan data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path corpusDir(const std::string& kind)
{
    return std::filesystem::path(CELVANE_CORPUS) / kind;
}

std::vector<CorpusFile> corpusFiles(const std::filesystem::path& folder)
{
    std::vector<CorpusFile> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back({entry.path().parent_path().filename().string() + "/" + entry.path().filename().string(),
                             entry.path()});
    return files;
}

int runCommand(const std::string& command, std::string* output)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) : oldSignal_(std::signal(SIGXFSZ, SIG_IGN))
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = oldLimit_;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal_);
}

Bytes blockStampFile(int width, int height, uint32_t rgb, const std::string& name)
{
    Sprite block;
    block.create(width, height, 0, 0, 32);
    block.fillColour(rgbToColourWord(rgb));
    Bytes chunk;
    ByteWriter c(&chunk);
    block.write(&c, SpriteWriteKind::FilmChunk, true);
    StampSet set;
    set.add(FileType::StampFile, chunk);
    set.rename(0, name);
    Bytes file;
    ByteWriter out(&file);
    set.save(&out, false);
    return file;
}

} // namespace celvane::test
