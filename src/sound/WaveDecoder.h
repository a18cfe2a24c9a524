#pragma once
// Wave files in encodings the sound model keeps as they came (ADPCM, mu-law, A-law, floating
// point, 24 and 32 bits, more than two channels, ...) decoded through FFmpeg into 16-bit PCM, so
// that they can be heard, mixed and drawn. The first two channels are kept.

#include "sound/Sound.h"

namespace celvane {

// The samples of a RIFF WAVE file as 16-bit mono or stereo PCM at the file's own rate; none when
// FFmpeg cannot decode it.
PcmSamples decodeWave(ByteSpan wave);

} // namespace celvane
