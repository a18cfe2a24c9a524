#pragma once
// The kinds of step the history keeps. A drawing step keeps only the rectangle of one frame that
// the change touched, coded with the frame codec; a step that changes the frames themselves
// (added, deleted, pasted, imported) keeps the film's file where it differs from the film's file
// on the step's other side; a change to the film's settings (speed, colours, transitions) keeps
// only those.

#include "base/ByteIO.h"
#include "film/Film.h"
#include "film/FilmDelta.h"
#include "film/UndoHistory.h"
#include "gfx/Rect.h"

namespace celvane {

class Sprite;

class FrameChangeStep : public UndoStep {
public:
    // Frame `frame` went from `before` to `after` (two pictures of one shape): keeps the part of
    // `before` inside the smallest rectangle holding every difference.
    FrameChangeStep(std::string name, int frame, const Sprite& before, const Sprite& after);

    int frame() const override { return frame_; }
    int swap(Film& film) override;
    size_t bytes() const override { return coded_.size(); }
    // Where the frame changed, in bytes of a row and rows; empty when it did not.
    const Rect& area() const { return area_; }

private:
    int frame_;
    Rect area_; // left and right in bytes of a row
    int rowBytes_, rows_, bitsPerPixel_;
    Bytes coded_;
};

class FilmChangeStep : public UndoStep {
public:
    // The film as it is, before a change to its frames.
    FilmChangeStep(std::string name, Film& film);
    // The change is made: of the film before it, only what the film no longer holds is kept.
    void changed(const Film& film);

    int frame() const override { return -1; }
    bool movesFrames() const override { return true; }
    int swap(Film& film) override;
    size_t bytes() const override { return before_.capacity() + other_.bytes(); }

private:
    bool blankFrameOnly_ = false; // a new film's blank frame, not yet a frame of its own (set first)
    // The film's file before the change, until it is made. A copy now costs no more than the
    // film's own copy of its frames, which a shared one would make it take as it changes them.
    Bytes before_;
    // The film's other state, told against its state now.
    FilmDelta other_;
    int shown_; // the frame that was current
};

class FilmSettingsStep : public UndoStep {
public:
    // The film's settings as they are, before a change to them.
    FilmSettingsStep(std::string name, const Film& film);

    int frame() const override { return -1; }
    int swap(Film& film) override;
    size_t bytes() const override;
    // The film's settings are still the ones the step keeps.
    bool unchanged(const Film& film) const { return film.settings() == settings_; }

private:
    FilmSettings settings_;
};

} // namespace celvane
