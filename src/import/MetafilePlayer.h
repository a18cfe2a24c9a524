#pragma once
// Plays a metafile's records onto a QPainter: our own player, since this platform has none.

#include <QImage>
#include <QPainter>
#include <QRectF>

#include "base/ByteIO.h"
#include "base/Errors.h"
#include "import/MetafileData.h"
#include "import/RecordFields.h"

namespace celvane {

struct MetafilePlayCount {
    int played = 0;
    // Records we do not draw, or too damaged to draw; never a reason to stop.
    int skipped = 0;

    // Plays one record: played when `play` says so, skipped when it says not or finds damage.
    template <class Play>
    void add(Play&& play)
    {
        try {
            ++(play() ? played : skipped);
        } catch (const Error&) {
            ++skipped;
        }
    }
};

// Plays the picture so that it fills `target` (the painter's coordinates). The painter's
// state is as it was afterwards.
MetafilePlayCount playMetafile(const MetafileData& metafile, QPainter& painter, const QRectF& target);

// --- for the two record players ---

// A DIB's picture, from its header and colour table and its pixels (bitmaps, JPEG or PNG); a
// null image when they do not make one.
QImage dibToImage(ByteSpan headerAndTable, ByteSpan bits);
// The same from a packed DIB (header, table and pixels in one block).
QImage packedDibToImage(ByteSpan dib);

MetafilePlayCount playEnhancedRecords(const MetafileData& metafile, QPainter& painter, const QRectF& target);
MetafilePlayCount playWindowsRecords(const MetafileData& metafile, QPainter& painter, const QRectF& target);

} // namespace celvane
