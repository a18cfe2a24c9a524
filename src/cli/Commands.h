#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QGuiApplication;

namespace celvane {
class CCelvaneDoc;
class Film;
class SoundLibrary;
} // namespace celvane

namespace celvane::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Qt's graphics, which drawing pictures (metafiles, Drawfiles, PDF pages) needs; offscreen
// without a display. Null when an application exists already.
std::unique_ptr<QGuiApplication> startGraphics();

// Argument and film helpers the commands share.
int toInt(const std::string& text, const char* what);
Film& filmOf(CCelvaneDoc& doc);
std::string jsonString(const std::string& s);
// Marks the frames "FIRST-LAST" (counted from 0) and unmarks the others.
void markRange(Film& film, const std::string& range);

// Each returns the exit code; failures of the work itself are thrown as celvane errors.
int info(const std::vector<std::string>& args);
int frame(const std::vector<std::string>& args);
int recode(const std::vector<std::string>& args);
int newFilm(const std::vector<std::string>& args);
// convert IN OUT [--selection FIRST-LAST]: OUT is written as its extension says (.qfm .gif .bmp
// .png .pal .slb .avi .flc .mp4).
int convert(const std::vector<std::string>& args);
// print FILM OUT.pdf [--scale P | --frames-per-page N] [--flick-book] [--crop-marks]
//       [--paper A4|Letter|A3] [--landscape] [--selection FIRST-LAST]
int print(const std::vector<std::string>& args);
// sound FILM FRAME SOUND.wav -o OUT.qfm [--pitch N] [--volume L,R] [--loops N]: a sound added to
// a frame.
int sound(const std::vector<std::string>& args);

// Sounds: a library's sounds and each frame's sound entries as JSON; a wave file or sound library
// described, or converted to the other (false when the paths are not sound files).
std::string soundsJson(const SoundLibrary& library);
std::string frameSoundsJson(const Film& film);
bool describeSounds(const std::string& path, bool json);
bool convertSounds(const std::string& in, const std::string& out);

} // namespace celvane::cli
