#pragma once
// What palette fitting needs to know about the display. A display of 256 colours or fewer
// draws through one hardware palette whose first and last few entries the system reserves;
// palettes shown there are fitted so that those colours stay where the system keeps them.

#include <cstdint>
#include <vector>

namespace celvane {

struct DisplayDescription {
    int bitsPerPixel = 32;
    // The system keeps its static colours in the display palette; without them only black
    // (first) and white (last) are reserved.
    bool staticColours = false;
    // The display palette as RGB values (0x00BBGGRR), in hardware order.
    std::vector<uint32_t> entries;
    // How many entries at the two ends the system reserves, half at each end.
    int reservedCount = 0;

    bool paletteBased() const { return bitsPerPixel <= 8; }
};

// The display new default palettes are fitted to; a deep display unless the program says
// otherwise.
const DisplayDescription& currentDisplay();
void setCurrentDisplay(DisplayDescription display);

} // namespace celvane
