#pragma once
// RISC OS sprite files: every sprite of a depth the program has becomes a Sprite with its
// name, pixels, palette, mask and pixel aspect (as its logical size).

#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "gfx/Sprite.h"

namespace celvane {

struct SpriteFileContents {
    std::vector<Sprite> sprites;
    std::vector<std::string> names;
    // Sprites left out: of 4 colours (no such depth here), of a mode word naming no depth.
    int fourColour = 0;
    int unknownKind = 0;
    // The walk stopped at a sprite that does not fit the file.
    bool damaged = false;

    // What was left out, for the user; empty when nothing was.
    std::string leftOut() const;
};

// Reads every sprite; never reads outside `file`. NotSupportedError (message
// IDS_CANNOT_LOAD_TYPE) when the sprites would need more memory than a film could hold.
SpriteFileContents readSpriteFile(ByteSpan file);

} // namespace celvane
