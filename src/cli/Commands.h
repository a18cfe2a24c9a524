#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace celvane::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Each returns the exit code; failures of the work itself are thrown as celvane errors.
int info(const std::vector<std::string>& args);
int frame(const std::vector<std::string>& args);
int recode(const std::vector<std::string>& args);
int newFilm(const std::vector<std::string>& args);
// convert IN OUT [--selection FIRST-LAST]: OUT is written as its extension says (.qfm .gif .bmp
// .png .pal .slb .avi .flc .mp4).
int convert(const std::vector<std::string>& args);

} // namespace celvane::cli
