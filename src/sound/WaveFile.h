#pragma once
// RIFF WAVE files in: the first "fmt " and "data" chunks of the WAVE form, in any order. PCM of 8
// or 16 bits in one or two channels (in a plain or an extensible description) becomes a sound of
// that code; any other encoding is kept, with its format description, as it came.

#include <memory>
#include <string>

#include "base/ByteIO.h"
#include "sound/Sound.h"

namespace celvane {

// Throws FileError when the data is not a usable wave file (with the reason).
std::unique_ptr<Sound> readWave(ByteSpan data);
std::unique_ptr<Sound> readWaveFile(const std::string& path);

} // namespace celvane
