#include "import/SpriteFileGraphic.h"

#include <algorithm>

#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/FileType.h"

namespace celvane {

void SpriteFileGraphic::getSummary(GraphicSummary& summary) const
{
    summary.frameCount += int(contents_.sprites.size());
}

void SpriteFileGraphic::getFrameDescription(int frame, ImageInfo& info)
{
    if (valid(frame))
        info = ImageInfo::describing(contents_.sprites[size_t(frame)], contents_.names[size_t(frame)]);
}

void SpriteFileGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a sprite file needs its data", IDS_CANNOT_LOAD_TYPE);
    SpriteFileContents read = readSpriteFile(*data);
    const std::string leftOut = read.leftOut();
    // Said even when nothing is left to show, so that the refusal that follows has its reason.
    if (!leftOut.empty())
        Reporter::message(leftOut, MessageButtons::Ok, MessageIcon::Warning);
    if (read.sprites.empty())
        throw NotSupportedError(leftOut.empty() ? "the file holds no sprites" : leftOut, IDS_CANNOT_LOAD_TYPE);
    contents_ = std::move(read);
    selection_.reset(int(contents_.sprites.size()));
}

void SpriteFileGraphic::clear()
{
    contents_ = {};
    selection_.reset(0);
}

void SpriteFileGraphic::deleteFrames(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, int(contents_.sprites.size()) - 1);
    if (first > last)
        return;
    contents_.sprites.erase(contents_.sprites.begin() + first, contents_.sprites.begin() + last + 1);
    contents_.names.erase(contents_.names.begin() + first, contents_.names.begin() + last + 1);
    selection_.erase(first, last);
}

Sprite* SpriteFileGraphic::workingImage(int frame)
{
    return valid(frame) ? &contents_.sprites[size_t(frame)] : nullptr;
}

void SpriteFileGraphic::setFrameName(int frame, const std::string& name)
{
    if (valid(frame))
        contents_.names[size_t(frame)] = name;
}

bool SpriteFileGraphic::isOfFileType(int type) const { return type == FileType::RiscOsSprite; }

} // namespace celvane
