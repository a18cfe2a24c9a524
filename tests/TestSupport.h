#pragma once
// Small helpers shared by the tests: a scratch folder per test and file round trips.

#include <filesystem>
#include <string>

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

// Runs a command through the shell; returns its exit status and puts stdout into *output.
int runCommand(const std::string& command, std::string* output = nullptr);

} // namespace celvane::test
