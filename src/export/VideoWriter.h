#pragma once
// Films as video files through FFmpeg: AVI with the Microsoft Video 1 coder (what older
// players in schools expect), and MP4 (H.264) for sharing on the web. Frames are shown for the
// film's frame period plus their pauses; a yo-yo film plays its return journey once.

#include <cstdint>
#include <string>
#include <vector>

#include "export/FlicWriter.h"
#include "sound/SoundTrack.h"

namespace celvane {

class Film;

enum class VideoKind { Avi, Mp4 };

// Writes the video of `frames` (every frame when none are given) at `path` (through a
// temporary file, so a failed or cancelled export leaves nothing under that name). FileError
// when FFmpeg refuses; UserCancel when progress cancels.
void writeVideo(const Film& film, const std::string& path, VideoKind kind, const std::vector<int>& frames = {},
                const ExportProgress& progress = {});

// The frames a video shows, with the time (ms) each starts at: the frames in order, then for
// the motions that travel back the second last down to the second again.
struct TimedFrame {
    int frame;
    int64_t startMs;
    int64_t durationMs;
};
std::vector<TimedFrame> videoTimeline(const Film& film, const std::vector<int>& frames);

// The frames' sounds on that time line, as playback plays them.
std::vector<SoundCue> soundCues(const Film& film, const std::vector<TimedFrame>& timeline);

} // namespace celvane
