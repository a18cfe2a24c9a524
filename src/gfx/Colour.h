#pragma once
// The three colour representations:
//  - RGB value 0x00BBGGRR (red in the low byte): colours chosen by the user, imports;
//  - colour word 0xBBGGRRii: palette entries, transparent colours, colours handed between
//    sprites; the low byte holds a palette index at palette depths and is 0 otherwise;
//  - pixel value: what a pixel stores (an index, or packed 16/32-bit colour), see Sprite.

#include <cstdint>

namespace celvane {

constexpr uint32_t rgb(int red, int green, int blue)
{
    return uint32_t(red & 0xFF) | (uint32_t(green & 0xFF) << 8) | (uint32_t(blue & 0xFF) << 16);
}

constexpr int redOf(uint32_t rgbValue) { return int(rgbValue & 0xFF); }
constexpr int greenOf(uint32_t rgbValue) { return int((rgbValue >> 8) & 0xFF); }
constexpr int blueOf(uint32_t rgbValue) { return int((rgbValue >> 16) & 0xFF); }

// The colour of a colour word as an RGB value, dropping the index byte.
constexpr uint32_t rgbOfWord(uint32_t colourWord) { return colourWord >> 8; }
// An RGB value as a colour word with index byte `index`.
constexpr uint32_t rgbToColourWord(uint32_t rgbValue, int index = 0)
{
    return ((rgbValue & 0xFFFFFF) << 8) | uint32_t(index & 0xFF);
}

// The palette index byte of a colour word.
constexpr int indexOfWord(uint32_t colourWord) { return int(colourWord & 0xFF); }

} // namespace celvane
