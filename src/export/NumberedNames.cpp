#include "export/NumberedNames.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace celvane {

NumberedNames::NumberedNames(const std::string& chosenPath)
{
    const std::filesystem::path path(chosenPath);
    folder_ = path.parent_path().string();
    extension_ = path.extension().string();
    std::string base = path.stem().string();
    shortName_ = base.size() <= 8;
    size_t digits = base.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(base[digits - 1])))
        --digits;
    const std::string number = base.substr(digits);
    base_ = base.substr(0, digits);
    // At most 8 digits count; more than that is a name, not a number.
    if (!number.empty() && number.size() <= 8) {
        number_ = std::stoi(number);
        width_ = int(number.size());
    } else {
        base_ = base;
    }
}

std::string NumberedNames::next()
{
    ++number_;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*d", width_, number_);
    const std::string number = std::string(digits).substr(0, 8);
    const size_t limit = shortName_ ? 8 : 256;
    std::string base = base_;
    if (base.size() + number.size() > limit)
        base.resize(limit > number.size() ? limit - number.size() : 0);
    const std::filesystem::path name = std::filesystem::path(folder_) / (base + number + extension_);
    return name.string();
}

} // namespace celvane
