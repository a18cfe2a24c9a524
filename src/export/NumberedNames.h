#pragma once
// The names of further files when one export writes several (one bitmap per frame): the
// chosen name's trailing digits give the first number and its width, and each next name
// counts on from there.

#include <string>

namespace celvane {

class NumberedNames {
public:
    explicit NumberedNames(const std::string& chosenPath);
    // The next name: pic.bmp gives pic1.bmp, pic2.bmp, ...; run07.bmp gives run08.bmp, ...
    std::string next();

private:
    std::string folder_;
    std::string base_;
    std::string extension_;
    int number_ = 0;
    int width_ = 0;
    bool shortName_ = false;
};

} // namespace celvane
