#pragma once
// The graphics a document (or a set of stamps) holds, presented as one sequence of frames:
// global frame n belongs to the first item whose running frame count passes n.

#include <memory>
#include <string>
#include <vector>

#include "film/FileType.h"
#include "film/Graphic.h"

namespace celvane {

class Film;

// Makes an empty graphic of a kind that a library above film/ provides (GIF, ...).
using GraphicFactory = std::unique_ptr<Graphic> (*)();
// Lets GraphicItem::load make graphics of `fileType` with `factory`; registering a type again
// replaces its factory. Called at start-up, before any file is loaded.
void registerGraphicKind(int fileType, GraphicFactory factory);

struct GraphicItem {
    std::unique_ptr<Graphic> graphic;
    int fileType = FileType::None;

    // Makes the graphic for a file type and loads it (a film plays at `filmPeriod` until its
    // file says otherwise); throws NotSupportedError for kinds that cannot be loaded.
    void load(int fileType, const ImageInfo* description, const ByteSpan* data, int filmPeriod);
};

class GraphicList {
public:
    // Films it makes play at `filmPeriod` ms a frame until their file says otherwise.
    explicit GraphicList(int filmPeriod = kStandardFilmPeriod) : filmPeriod_(filmPeriod) {}

    // Loads data of a file type as new items, returns the number of the first new item.
    // A stamp file adds one item per graphic chunk.
    int load(int fileType, ByteSpan data);
    // A new item made from a description only (a new film).
    int loadNew(int fileType, const ImageInfo& description);

    // Writes every item (or only the selected frames) in a file type; returns the byte count.
    size_t save(ByteWriter* out, int fileType, bool selectionOnly);

    int itemCount() const { return int(items_.size()); }
    Graphic& item(int i) { return *items_[size_t(i)]->graphic; }
    // The film of a film document (its only item), or null.
    Film* film();

    int frameCount() const;
    void getSummary(GraphicSummary& summary) const;
    void getFrameDescription(int frame, ImageInfo& info);
    int countSelectedFrames() const;
    void setFrameSelected(int frame, bool on);
    bool isFrameSelected(int frame) const;
    // The next selected frame from `frame` on, or -1.
    int findNextSelected(int frame) const;
    int firstSelectedOrZero() const;
    FrameFade fade(int frame) const;
    void setFade(int frame, const FrameFade& fade, int fields);
    bool isModified() const;
    void setModified(bool on);

    // Removes the selected frames; an item whose frames are all selected goes as a whole.
    void deleteSelectedFrames();

    // Maps a global frame number to its item and local number; false past the end.
    bool locate(int frame, Graphic** graphic, int* local) const;

private:
    void loadStampFile(ByteSpan data);
    // Names stamps `first` on from a names chunk.
    void nameStamps(int first, ByteSpan names);

    int filmPeriod_;
    std::vector<std::unique_ptr<GraphicItem>> items_;
};

} // namespace celvane
