#include "gfx/DibRle.h"

#include "gfx/DibLayout.h"

namespace celvane {

namespace {

class RlePen {
public:
    RlePen(int bits, int width, int height, uint8_t* rows)
        : bits_(bits), width_(width), height_(height), stride_(size_t(rowStride(bits, width))), rows_(rows)
    {
    }

    bool inside() const { return y_ < height_; }
    void put(uint8_t index)
    {
        if (x_ >= width_ || y_ >= height_)
            throw ArchiveError("bitmap runs past the picture");
        uint8_t* row = rows_ + stride_ * size_t(y_);
        if (bits_ == 8)
            row[x_] = index;
        else
            row[x_ / 2] |= uint8_t(x_ % 2 ? index & 0x0F : index << 4);
        ++x_;
    }
    void endRow()
    {
        x_ = 0;
        ++y_;
    }
    void move(int dx, int dy)
    {
        x_ += dx;
        y_ += dy;
        if (x_ > width_ || y_ > height_)
            throw ArchiveError("bitmap moves past the picture");
    }

private:
    int bits_;
    int width_;
    int height_;
    size_t stride_;
    uint8_t* rows_;
    int x_ = 0;
    int y_ = 0;
};

} // namespace

void decodeDibRle(ByteSpan codes, int bits, int width, int height, uint8_t* rows)
{
    ByteReader in(codes);
    RlePen pen(bits, width, height, rows);
    // At 4 bits a byte holds two indices, used in turn.
    auto index = [bits](uint8_t byte, int i) { return bits == 8 ? byte : uint8_t(i % 2 ? byte & 0x0F : byte >> 4); };
    while (pen.inside()) {
        const int count = in.u8();
        const uint8_t value = in.u8();
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                pen.put(index(value, i));
            continue;
        }
        switch (value) {
        case 0: pen.endRow(); break;
        case 1: return;
        case 2: {
            const int dx = in.u8();
            pen.move(dx, in.u8());
            break;
        }
        default: {
            // A literal stretch, padded to a whole 16-bit word.
            const ByteSpan literal = in.bytes(bits == 8 ? value : (value + 1) / 2);
            for (int i = 0; i < value; ++i)
                pen.put(index(literal[size_t(bits == 8 ? i : i / 2)], i));
            if (literal.size() % 2)
                in.skip(1);
        }
        }
    }
}

} // namespace celvane
