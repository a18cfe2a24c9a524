#pragma once
// Frames on the clipboard: as a stamp file under "Celvane Stamps" for Celvane, and as a bitmap
// for every other program. Pasting takes the first of these that is there, in that order, and
// after them any picture another program offers (an image, PNG or JPEG), as a bitmap. Bitmaps
// may come with their file header or without it (a packed DIB).

#include <optional>

#include "base/ByteIO.h"

class QMimeData;

namespace celvane {

class Sprite;

namespace FrameClipboard {

// The private format's name, as other Celvane programs look for it.
constexpr const char* kStampsFormat = "application/x-celvane-stamps";

// The stamps and the bitmap of the first frame, as the clipboard and drags carry them.
QMimeData* mimeData(const Bytes& stamps, const Sprite& firstFrame);
// Replaces the clipboard's contents with them.
void put(const Bytes& stamps, const Sprite& firstFrame);
bool canPaste();

struct Contents {
    int fileType = 0; // a stamp file or a bitmap file
    Bytes data;
};
std::optional<Contents> take();
// What a drag brings, read as the clipboard is.
std::optional<Contents> contentsOf(const QMimeData* data);

} // namespace FrameClipboard
} // namespace celvane
