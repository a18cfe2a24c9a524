#include "platform/DrawingSurface.h"

#include <unordered_map>

#include "base/Errors.h"
#include "gfx/DibLayout.h"
#include "platform/QtDrawingContext.h"
#include "platform/SpriteImage.h"

namespace celvane {

// The painter, its image and what the image held when it last matched the sprite.
class SpriteSurface {
public:
    explicit SpriteSurface(Sprite& sprite) : sprite_(&sprite), context_(*this) {}
    ~SpriteSurface();
    SpriteSurface(const SpriteSurface&) = delete;
    SpriteSurface& operator=(const SpriteSurface&) = delete;

    void acquire();
    void release();
    void flush();
    void setFont(QFont font);
    // The sprite's pixels are going: drawing from now on goes nowhere.
    void detach() noexcept { sprite_ = nullptr; }

    QPainter& painter() { return painter_; }
    DrawingContext& context() { return context_; }

private:
    class Context : public QtDrawingContext {
    public:
        explicit Context(SpriteSurface& surface) : QtDrawingContext(surface.painter_), surface_(surface) {}
        void flush() override { surface_.flush(); }

    private:
        SpriteSurface& surface_;
    };

    Sprite* sprite_;
    QImage image_;
    QImage before_;
    QPainter painter_;
    Context context_;
    SpritePixelWriter writer_;
    int users_ = 0;
    bool smooth_ = false; // blended edges are fine: the sprite holds any colour
};

namespace {

struct SurfaceCache {
    std::unordered_map<const Sprite*, std::weak_ptr<SpriteSurface>> live;
    std::shared_ptr<SpriteSurface> cached; // holds one use of its surface
    const Sprite* cachedSprite = nullptr;
    int idleCountdown = 0;
};

void letGoOf(const Sprite& sprite) noexcept;

// Never destroyed: sprites with static lifetimes may still let go of it at exit.
SurfaceCache& cache()
{
    static SurfaceCache* instance = [] {
        Sprite::beforeStorageChange = &letGoOf;
        return new SurfaceCache;
    }();
    return *instance;
}

void letGoOf(const Sprite& sprite) noexcept
{
    SurfaceCache& c = cache();
    const auto it = c.live.find(&sprite);
    if (it == c.live.end())
        return;
    const std::shared_ptr<SpriteSurface> surface = it->second.lock();
    c.live.erase(it);
    if (surface)
        surface->detach();
    if (c.cachedSprite == &sprite) {
        c.cached.reset();
        c.cachedSprite = nullptr;
    }
}

} // namespace

SpriteSurface::~SpriteSurface()
{
    if (sprite_)
        cache().live.erase(sprite_);
}

// Only surfaces still on their sprite are handed out (drawingSurface finds them by sprite).
void SpriteSurface::acquire()
{
    if (users_++ > 0)
        return;
    // Plots may have changed the sprite since the last use.
    image_ = spriteToImage(*sprite_).convertToFormat(QImage::Format_RGB32);
    before_ = image_.copy();
    painter_.begin(&image_);
    if (sprite_->logicalWidth() != sprite_->width() || sprite_->logicalHeight() != sprite_->height())
        painter_.scale(double(sprite_->width()) / sprite_->logicalWidth(),
                       double(sprite_->height()) / sprite_->logicalHeight());
    smooth_ = !isPaletteDepth(sprite_->bitsPerPixel());
}

void SpriteSurface::setFont(QFont font)
{
    if (!smooth_)
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
    painter_.setFont(font);
}

void SpriteSurface::release()
{
    if (--users_ > 0)
        return;
    painter_.end();
    flush();
}

void SpriteSurface::flush()
{
    if (!sprite_)
        return;
    writer_.write(image_, *sprite_, &before_);
    before_ = image_.copy();
}

SurfaceLease::SurfaceLease(std::shared_ptr<SpriteSurface> surface) : surface_(std::move(surface))
{
    surface_->acquire();
}

SurfaceLease::~SurfaceLease()
{
    try {
        release();
    } catch (const std::exception&) {
        // Nothing to tell from a destructor; release() reports it to those who ask.
    }
}

QPainter& SurfaceLease::painter() const { return surface_->painter(); }
DrawingContext& SurfaceLease::context() const { return surface_->context(); }
void SurfaceLease::flush() const { surface_->flush(); }
void SurfaceLease::setFont(const QFont& font) const { surface_->setFont(font); }

void SurfaceLease::release()
{
    if (const std::shared_ptr<SpriteSurface> surface = std::move(surface_))
        surface->release();
}

SurfaceLease drawingSurface(Sprite& sprite)
{
    if (sprite.empty())
        throw NotSupportedError("drawing on an empty sprite");
    SurfaceCache& c = cache();
    std::weak_ptr<SpriteSurface>& slot = c.live[&sprite];
    std::shared_ptr<SpriteSurface> surface = slot.lock();
    if (!surface) {
        surface = std::make_shared<SpriteSurface>(sprite);
        slot = surface;
    }
    // The surface cached before goes if this was its last use.
    c.cached = surface;
    c.cachedSprite = &sprite;
    c.idleCountdown = kIdlePasses;
    return SurfaceLease(std::move(surface));
}

void releaseIdleSurface()
{
    SurfaceCache& c = cache();
    if (c.cached && --c.idleCountdown <= 0) {
        c.cached.reset();
        c.cachedSprite = nullptr;
    }
}

const Sprite* cachedSurfaceSprite() { return cache().cachedSprite; }

} // namespace celvane
