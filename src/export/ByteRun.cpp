#include "export/ByteRun.h"

namespace celvane {

namespace {
constexpr int kMaxPacket = 127;

// The packet being built: undecided (one byte), a run, or a literal.
struct Packet {
    enum Kind { Undecided, Run, Literal } kind = Undecided;
    size_t start = 0; // in the line
    int length = 0;
};
} // namespace

void encodeByteRunLine(const uint8_t* line, size_t width, Bytes& out)
{
    const size_t countAt = out.size();
    out.push_back(0);
    if (width == 0)
        return;
    int packets = 0;
    const auto flush = [&](const Packet& p) {
        ++packets;
        if (p.kind == Packet::Literal) {
            out.push_back(uint8_t(-p.length));
            out.insert(out.end(), line + p.start, line + p.start + size_t(p.length));
        } else {
            out.push_back(uint8_t(p.length)); // an undecided packet is a run of 1
            out.push_back(line[p.start]);
        }
    };
    Packet open{Packet::Undecided, 0, 1};
    for (size_t i = 1; i < width; ++i) {
        const uint8_t p = line[i];
        const uint8_t last = line[i - 1];
        switch (open.kind) {
        case Packet::Undecided:
            open.kind = p == last ? Packet::Run : Packet::Literal;
            open.length = 2;
            break;
        case Packet::Run:
            if (p == last && open.length < kMaxPacket) {
                ++open.length;
            } else {
                flush(open);
                open = {Packet::Undecided, i, 1};
            }
            break;
        case Packet::Literal:
            if (p == last) {
                // The literal's last byte starts a run of two with this one.
                --open.length;
                flush(open);
                open = {Packet::Run, i - 1, 2};
            } else if (open.length == kMaxPacket) {
                flush(open);
                open = {Packet::Undecided, i, 1};
            } else {
                ++open.length;
            }
            break;
        }
    }
    flush(open);
    out[countAt] = uint8_t(packets);
}

} // namespace celvane
