#pragma once
// Colour work for plots between sprites of different palettes or depths.

#include <cstdint>
#include <vector>

namespace celvane {

class Sprite;

// Source pixel value -> destination pixel value for a palette-depth source drawn onto a
// destination of another palette or depth, by the nearest-colour rule; null when every index
// maps to itself. One table is kept for the process and rebuilt only when either palette's
// change stamp (or a depth) differs from the last call. User-interface thread only.
const std::vector<uint32_t>* translationTable(const Sprite& source, const Sprite& destination);

// 16-bit pixel value (bit 15 ignored) -> 32-bit pixel value.
const std::vector<uint32_t>& widened16();

// RGB value -> the destination's pixel value for it, remembered for the length of one plot:
// a direct-colour picture holds few distinct colours next to the cost of a nearest-colour
// search per pixel.
class NearestColours {
public:
    explicit NearestColours(const Sprite& destination);
    uint32_t valueFor(uint32_t rgbValue)
    {
        const uint32_t slot = (rgbValue * 2654435761u) >> (32 - kSlotBits);
        if (keys_[slot] != rgbValue + 1)
            fill(slot, rgbValue);
        return values_[slot];
    }

private:
    static constexpr int kSlotBits = 12;
    void fill(uint32_t slot, uint32_t rgbValue);

    const Sprite& destination_;
    std::vector<uint32_t> keys_; // RGB value + 1, so that 0 marks an empty slot
    std::vector<uint32_t> values_;
};

} // namespace celvane
