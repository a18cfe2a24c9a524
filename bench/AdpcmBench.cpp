// ADPCM decoding: AdpcmDecode/celvane decodes 4 MB of IMA ADPCM with our decoder;
// AdpcmDecode/reference gives the same bytes to FFmpeg's IMA ADPCM (WAV) decoder in 1024-byte
// blocks, which is the same work but for a four-byte header a block and the nibble order.
// Goal: ours at least as fast.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "sound/SoundCodecs.h"

namespace {

using namespace celvane;

constexpr size_t kBytes = 4 << 20;
constexpr int kBlock = 1024;

const Bytes& adpcmBytes()
{
    static const Bytes bytes = [] {
        Bytes b(kBytes);
        std::mt19937 random(7);
        for (uint8_t& v : b)
            v = uint8_t(random());
        // Every block starts with a header the reference reads: predictor 0, step index 0.
        for (size_t at = 0; at + 4 <= b.size(); at += kBlock)
            b[at] = b[at + 1] = b[at + 2] = b[at + 3] = 0;
        return b;
    }();
    return bytes;
}

void AdpcmDecode_celvane(benchmark::State& state)
{
    const Bytes& bytes = adpcmBytes();
    std::vector<int16_t> out(bytes.size() * 2);
    for (auto _ : state) {
        decodeImaAdpcm(bytes, out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(AdpcmDecode_celvane)->Name("AdpcmDecode/celvane")->Unit(benchmark::kMillisecond);

void AdpcmDecode_reference(benchmark::State& state)
{
    const Bytes& bytes = adpcmBytes();
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_ADPCM_IMA_WAV);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->sample_rate = 22050;
    av_channel_layout_default(&context->ch_layout, 1);
    context->block_align = kBlock;
    context->bits_per_coded_sample = 4;
    if (!codec || avcodec_open2(context, codec, nullptr) < 0) {
        state.SkipWithError("no IMA ADPCM decoder");
        avcodec_free_context(&context);
        return;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    for (auto _ : state) {
        for (size_t at = 0; at + kBlock <= bytes.size(); at += kBlock) {
            packet->data = const_cast<uint8_t*>(bytes.data() + at);
            packet->size = kBlock;
            avcodec_send_packet(context, packet);
            while (avcodec_receive_frame(context, frame) == 0)
                benchmark::DoNotOptimize(frame->data[0]);
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
}
BENCHMARK(AdpcmDecode_reference)->Name("AdpcmDecode/reference")->Unit(benchmark::kMillisecond);

} // namespace
