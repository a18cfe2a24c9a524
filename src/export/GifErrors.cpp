#include "export/GifErrors.h"

#include "base/StringTable.h"

namespace celvane {

std::string gifOutOfMemoryText(const char* step) { return std::string("Out of memory (") + step + ")"; }

void throwGifOutOfMemory(const char* step) { throw MemoryError(gifOutOfMemoryText(step)); }

void throwGifDataError(const std::string& text) { throw ArchiveError(text); }

void throwNotGif() { throw ArchiveError("File format not recognised", IDS_FORMAT_NOT_UNDERSTOOD); }

void throwGifNotSupported(const std::string& text) { throw NotSupportedError(text); }

} // namespace celvane
