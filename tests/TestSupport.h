#pragma once
// Small helpers shared by the tests: a scratch folder per test and file round trips.

#include <filesystem>
#include <string>
#include <vector>

#include "base/ByteIO.h"

namespace celvane::test {

// A fresh empty folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void writeBytes(const std::string& path, ByteSpan data);
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);

// A stamp file of one named stamp: a block of one colour (RGB, red in the low byte).
Bytes blockStampFile(int width, int height, uint32_t rgb, const std::string& name);

// A folder of the shared sample files made by other programs (bmp, gif, pal, ...). Tests
// that need it skip when the samples are not beside the checkout.
std::filesystem::path corpusDir(const std::string& kind);
// Every file below a folder of samples, named by its own folder and its file name
// ("libwmf/2doorvan.wmf").
struct CorpusFile {
    std::string name;
    std::filesystem::path path;
};
std::vector<CorpusFile> corpusFiles(const std::filesystem::path& folder);
#define CELVANE_REQUIRE_CORPUS(dir)                                                                \
    if (!std::filesystem::is_directory(dir))                                                       \
    GTEST_SKIP() << "no sample files at " << (dir)

// While it lives, no file this process writes may grow past `bytes`, as on a full disk: writes past
// it fail with "File too large" instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long oldLimit_;
    void (*oldSignal_)(int);
};

// Runs a command through the shell; returns its exit status and puts stdout into *output.
int runCommand(const std::string& command, std::string* output = nullptr);

} // namespace celvane::test
