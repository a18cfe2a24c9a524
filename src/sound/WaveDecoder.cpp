#include "sound/WaveDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace celvane {

namespace {

// What a decoded sound may grow to: the most sample frames a sound can count.
constexpr size_t kMostFrames = 0x7FFFFFFF;
constexpr int kReadBlock = 4096;

// FFmpeg's objects, each freed by the function that takes the address of its pointer.
template <auto release>
struct Freed {
    template <typename T>
    void operator()(T* p) const
    {
        release(&p);
    }
};
void closeInput(AVFormatContext** f)
{
    // Our own reader's buffer and context go with it.
    AVIOContext* io = *f ? (*f)->pb : nullptr;
    avformat_close_input(f);
    if (io)
        av_freep(&io->buffer);
    avio_context_free(&io);
}

// The file in memory, as FFmpeg reads it.
struct MemoryFile {
    ByteSpan data;
    size_t at = 0;

    static int read(void* opaque, uint8_t* to, int size)
    {
        auto& f = *static_cast<MemoryFile*>(opaque);
        const size_t n = std::min(size_t(std::max(size, 0)), f.data.size() - f.at);
        if (n == 0)
            return AVERROR_EOF;
        std::memcpy(to, f.data.data() + f.at, n);
        f.at += n;
        return int(n);
    }
    static int64_t seek(void* opaque, int64_t offset, int whence)
    {
        auto& f = *static_cast<MemoryFile*>(opaque);
        const int64_t size = int64_t(f.data.size());
        if (whence & AVSEEK_SIZE)
            return size;
        const int64_t base = (whence & 3) == SEEK_CUR ? int64_t(f.at) : (whence & 3) == SEEK_END ? size : 0;
        if (offset > size - base || base + offset < 0)
            return -1;
        f.at = size_t(base + offset);
        return int64_t(f.at);
    }
};

// Sample `index` of `channel` in a decoded frame, as 16 bits.
int16_t sampleOf(const AVFrame& frame, int channel, int index)
{
    const auto format = AVSampleFormat(frame.format);
    const int size = av_get_bytes_per_sample(format);
    const uint8_t* p = av_sample_fmt_is_planar(format)
                           ? frame.extended_data[channel] + size_t(index) * size
                           : frame.extended_data[0] + (size_t(index) * frame.ch_layout.nb_channels + channel) * size;
    const auto real = [](double v) { return int16_t(std::clamp(std::lround(v * 32768), -32768L, 32767L)); };
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: return int16_t((p[0] - 128) * 256);
    case AV_SAMPLE_FMT_S16: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case AV_SAMPLE_FMT_S32: { int32_t v; std::memcpy(&v, p, 4); return int16_t(v >> 16); }
    case AV_SAMPLE_FMT_S64: { int64_t v; std::memcpy(&v, p, 8); return int16_t(v >> 48); }
    case AV_SAMPLE_FMT_FLT: { float v; std::memcpy(&v, p, 4); return std::isfinite(v) ? real(v) : 0; }
    case AV_SAMPLE_FMT_DBL: { double v; std::memcpy(&v, p, 8); return std::isfinite(v) ? real(v) : 0; }
    default: return 0;
    }
}

} // namespace

PcmSamples decodeWave(ByteSpan wave)
{
    // Failures come back as no samples; the library's own chatter would only reach a terminal.
    av_log_set_level(AV_LOG_ERROR);
    MemoryFile file{wave};
    auto* buffer = static_cast<uint8_t*>(av_malloc(kReadBlock));
    AVIOContext* io = buffer ? avio_alloc_context(buffer, kReadBlock, 0, &file, MemoryFile::read, nullptr, MemoryFile::seek)
                             : nullptr;
    AVFormatContext* opened = io ? avformat_alloc_context() : nullptr;
    if (!opened) {
        if (io)
            av_freep(&io->buffer);
        else
            av_free(buffer);
        avio_context_free(&io);
        return {};
    }
    opened->pb = io;
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&opened, nullptr, av_find_input_format("wav"), nullptr) < 0) {
        // A failed open frees the format context but leaves our reader.
        av_freep(&io->buffer);
        avio_context_free(&io);
        return {};
    }
    const std::unique_ptr<AVFormatContext, Freed<closeInput>> input(opened);
    if (input->nb_streams < 1 || input->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
        return {};
    const AVCodecParameters& parameters = *input->streams[0]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
    const std::unique_ptr<AVCodecContext, Freed<avcodec_free_context>> decoder(avcodec_alloc_context3(codec));
    if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), &parameters) < 0
        || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return {};
    const std::unique_ptr<AVPacket, Freed<av_packet_free>> packet(av_packet_alloc());
    const std::unique_ptr<AVFrame, Freed<av_frame_free>> frame(av_frame_alloc());
    if (!packet || !frame)
        return {};

    const int channels = std::min(parameters.ch_layout.nb_channels, 2);
    if (channels < 1)
        return {};
    Bytes out;
    const auto take = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            const int have = std::min(frame->ch_layout.nb_channels, channels);
            if (have < 1 || out.size() / (2 * size_t(channels)) + size_t(frame->nb_samples) > kMostFrames)
                return false;
            size_t at = out.size();
            out.resize(at + size_t(frame->nb_samples) * size_t(channels) * 2);
            for (int i = 0; i < frame->nb_samples; ++i)
                for (int c = 0; c < channels; ++c, at += 2)
                    storeLE16(&out[at], uint16_t(sampleOf(*frame, std::min(c, have - 1), i)));
        }
        return true;
    };
    bool going = true;
    while (going && av_read_frame(input.get(), packet.get()) >= 0) {
        // A packet the decoder refuses is skipped, as players do with damaged parts of a file.
        if (packet->stream_index == 0)
            avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        going = take();
    }
    if (going && avcodec_send_packet(decoder.get(), nullptr) >= 0)
        take();
    if (out.empty())
        return {};
    return {channels == 2 ? Sound::Pcm16Stereo : Sound::Pcm16Mono, std::make_shared<const Bytes>(std::move(out))};
}

} // namespace celvane
