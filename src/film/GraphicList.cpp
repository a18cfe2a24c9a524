#include "film/GraphicList.h"

#include <map>

#include "base/Chunks.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/BitmapGraphic.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {
std::map<int, GraphicFactory>& registeredKinds()
{
    static std::map<int, GraphicFactory> kinds;
    return kinds;
}

// A bitmap chunk holds its bitmap file and at most the padding to a word; more is damage. (A
// payload too short to say its size is refused by the bitmap reader.)
void checkBitmapChunk(ByteSpan payload)
{
    if (payload.size() >= 6 && size_t(loadLE32(&payload[2])) + 4 < payload.size())
        throw ArchiveError("bitmap chunk longer than its bitmap", IDS_FORMAT_NOT_UNDERSTOOD);
}
} // namespace

int Graphic::plotFrame(int frame, const PlotRequest& request)
{
    const Sprite* image = workingImage(frame);
    return image ? image->plot(request) : 0;
}

void registerGraphicKind(int fileType, GraphicFactory factory) { registeredKinds()[fileType] = factory; }

void GraphicItem::load(int type, const ImageInfo* description, const ByteSpan* data, int filmPeriod)
{
    std::unique_ptr<Graphic> made;
    switch (type) {
    case FileType::Film: made = std::make_unique<Film>(filmPeriod); break;
    case FileType::Bitmap:
    case FileType::TransparentBitmap:
    case FileType::MaskedBitmap: made = std::make_unique<BitmapGraphic>(); break;
    default:
        if (const auto kind = registeredKinds().find(type); kind != registeredKinds().end()) {
            made = kind->second();
            break;
        }
        throw NotSupportedError("no reader for file type " + std::to_string(type), IDS_CANNOT_LOAD_TYPE);
    }
    made->load(0, description, data, type);
    graphic = std::move(made);
    fileType = type;
}

int GraphicList::load(int fileType, ByteSpan data)
{
    const int first = itemCount();
    try {
        if (fileType == FileType::StampFile) {
            loadStampFile(data);
        } else {
            auto item = std::make_unique<GraphicItem>();
            item->load(fileType, nullptr, &data, filmPeriod_);
            items_.push_back(std::move(item));
        }
    } catch (const NotSupportedError& e) {
        // Kinds we cannot read at all are refused in the same words, whatever the inner cause.
        throw NotSupportedError(e.what(), IDS_CANNOT_LOAD_TYPE);
    } catch (const ArchiveError& e) {
        // Damage a reader found is a file it could not load; data that is not of its kind at
        // all keeps the words that say so.
        if (e.messageId() != 0)
            throw;
        throw ArchiveError(e.what(), IDS_CANNOT_LOAD_TYPE);
    }
    return first;
}

int GraphicList::loadNew(int fileType, const ImageInfo& description)
{
    auto item = std::make_unique<GraphicItem>();
    item->load(fileType, &description, nullptr, filmPeriod_);
    items_.push_back(std::move(item));
    return itemCount() - 1;
}

void GraphicList::loadStampFile(ByteSpan data)
{
    const int firstStamp = frameCount();
    const ChunkSequence chunks(data);
    ByteSpan names;
    bool warned = false;
    for (const Chunk& chunk : chunks.chunks()) {
        if (chunk.tag == makeTag("NAM1"))
            names = chunk.payload;
        const auto type = fileTypeOfTag(chunk.tag);
        if (!type)
            continue; // other four-letter chunks
        try {
            if (*type == FileType::Bitmap)
                checkBitmapChunk(chunk.payload);
            auto item = std::make_unique<GraphicItem>();
            item->load(*type, nullptr, &chunk.payload, filmPeriod_);
            items_.push_back(std::move(item));
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // The stamps that can be read are kept; the user hears once about the others.
            if (!warned)
                Reporter::message(IDS_STAMPS_OMITTED, MessageButtons::Ok, MessageIcon::Warning);
            warned = true;
        }
    }
    if (chunks.damaged() && !warned)
        Reporter::message(IDS_STAMPS_OMITTED, MessageButtons::Ok, MessageIcon::Warning);
    nameStamps(firstStamp, names);
}

void GraphicList::nameStamps(int first, ByteSpan names)
{
    if (names.empty())
        return;
    // The last byte is taken as a zero whatever it is, so that no name runs off the end.
    std::string block(names.begin(), names.end() - 1);
    block.push_back('\0');
    size_t at = 0;
    const int count = frameCount();
    for (int stamp = first; stamp < count && at < block.size(); ++stamp) {
        if (block[at] == 1) { // this stamp keeps its own name
            ++at;
            continue;
        }
        const size_t end = block.find('\0', at);
        Graphic* graphic;
        int local;
        if (locate(stamp, &graphic, &local))
            graphic->setFrameName(local, block.substr(at, end - at));
        at = end + 1;
    }
}

void GraphicList::deleteSelectedFrames()
{
    for (size_t i = items_.size(); i-- > 0;) {
        Graphic& g = *items_[i]->graphic;
        GraphicSummary s;
        g.getSummary(s);
        const int selected = g.countSelectedFrames();
        if (selected == 0)
            continue;
        if (selected >= s.frameCount) {
            items_.erase(items_.begin() + long(i));
            continue;
        }
        for (int f = s.frameCount; f-- > 0;)
            if (g.isFrameSelected(f))
                g.deleteFrames(f, f);
    }
}

size_t GraphicList::save(ByteWriter* out, int fileType, bool selectionOnly)
{
    if (fileType == FileType::Bitmap) {
        // A bitmap holds one picture: the first marked frame, or the first frame.
        const int frame = selectionOnly ? findNextSelected(0) : 0;
        Graphic* graphic;
        int local;
        if (frame < 0 || !locate(frame, &graphic, &local))
            return 0;
        Sprite* image = graphic->workingImage(local);
        if (!image)
            throw NotSupportedError("this picture has no bitmap", IDS_CANNOT_EXPORT_FORMAT);
        return image->write(out, SpriteWriteKind::Bitmap, true);
    }
    size_t total = 0;
    if (fileType == FileType::StampFile) {
        if (items_.empty())
            return 0;
        ByteWriter counter;
        ByteWriter& w = out ? *out : counter;
        Bytes names;
        ByteWriter n(&names);
        for (int f = 0; f < frameCount(); ++f) {
            if (selectionOnly && !isFrameSelected(f))
                continue;
            ImageInfo info;
            getFrameDescription(f, info);
            n.bytes(info.name.data(), info.name.size());
            n.u8(0);
        }
        n.padTo(4);
        writeChunkHeader(w, makeTag("NAM1"), uint32_t(names.size() + 8));
        w.bytes(names);
        total = w.written();
    }
    for (auto& item : items_)
        if (!selectionOnly || item->graphic->countSelectedFrames() > 0)
            total += item->graphic->save(out, fileType, selectionOnly);
    return total;
}

Film* GraphicList::film()
{
    return items_.size() == 1 ? dynamic_cast<Film*>(items_[0]->graphic.get()) : nullptr;
}

bool GraphicList::locate(int frame, Graphic** graphic, int* local) const
{
    if (frame < 0)
        return false;
    for (const auto& item : items_) {
        GraphicSummary s;
        item->graphic->getSummary(s);
        if (frame < s.frameCount) {
            *graphic = item->graphic.get();
            *local = frame;
            return true;
        }
        frame -= s.frameCount;
    }
    return false;
}

int GraphicList::frameCount() const
{
    GraphicSummary s;
    getSummary(s);
    return s.frameCount;
}

void GraphicList::getSummary(GraphicSummary& summary) const
{
    for (const auto& item : items_)
        item->graphic->getSummary(summary);
}

void GraphicList::getFrameDescription(int frame, ImageInfo& info)
{
    Graphic* g;
    int local;
    if (locate(frame, &g, &local))
        g->getFrameDescription(local, info);
}

int GraphicList::countSelectedFrames() const
{
    int n = 0;
    for (const auto& item : items_)
        n += item->graphic->countSelectedFrames();
    return n;
}

void GraphicList::setFrameSelected(int frame, bool on)
{
    Graphic* g;
    int local;
    if (locate(frame, &g, &local))
        g->setFrameSelected(local, on);
}

bool GraphicList::isFrameSelected(int frame) const
{
    Graphic* g;
    int local;
    return locate(frame, &g, &local) && g->isFrameSelected(local);
}

int GraphicList::findNextSelected(int frame) const
{
    const int count = frameCount();
    for (int i = std::max(frame, 0); i < count; ++i)
        if (isFrameSelected(i))
            return i;
    return -1;
}

int GraphicList::firstSelectedOrZero() const
{
    const int frame = findNextSelected(0);
    return frame < 0 ? 0 : frame;
}

FrameFade GraphicList::fade(int frame) const
{
    Graphic* g;
    int local;
    return locate(frame, &g, &local) ? g->fade(local) : FrameFade{};
}

void GraphicList::setFade(int frame, const FrameFade& fade, int fields)
{
    Graphic* g;
    int local;
    if (locate(frame, &g, &local))
        g->setFade(local, fade, fields);
}

bool GraphicList::isModified() const
{
    for (const auto& item : items_)
        if (item->graphic->isModified())
            return true;
    return false;
}

void GraphicList::setModified(bool on)
{
    for (auto& item : items_)
        item->graphic->setModified(on);
}

} // namespace celvane
