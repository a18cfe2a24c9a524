#include "export/VideoWriter.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "base/Errors.h"
#include "film/Film.h"
#include "film/FrameSound.h"
#include "gfx/PlotRequest.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

std::string ffmpegError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void check(int code, const char* what)
{
    if (code < 0) {
        // The file is named by the writer, which knows which one the user asked for.
        FileError e(std::string(what) + ": " + ffmpegError(code));
        e.setFile({}, ffmpegError(code));
        throw e;
    }
}

struct FormatCloser {
    void operator()(AVFormatContext* f) const
    {
        if (f && f->pb)
            avio_closep(&f->pb);
        avformat_free_context(f);
    }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleCloser {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

// The picture of a frame as 32-bit RGB (our 32-bit layout is R, G, B, 0 in memory), at the
// frame's own size in the top-left corner of a picture the coder accepts, the rest paper.
class RgbFrames {
public:
    RgbFrames(const Film& film, int width, int height) : film_(film)
    {
        work_.create(width, height, width, height, 32);
        work_.fillColour(film.paper() & 0xFFFFFF00u);
    }
    const Sprite& frame(int index)
    {
        film_.decodeFrameInto(index, picture_);
        PlotRequest request;
        request.destinationSprite = &work_;
        request.destination = Rect{0, 0, film_.width(), film_.height()};
        picture_.plot(request);
        return work_;
    }

private:
    const Film& film_;
    Sprite picture_;
    Sprite work_;
};

// Sizes the coder accepts: Microsoft Video 1 wants multiples of 4, H.264 in 4:2:0 even sizes.
int fitSide(int v, VideoKind kind) { return kind == VideoKind::Avi ? std::max(4, (v + 3) / 4 * 4) : std::max(2, (v + 1) / 2 * 2); }

// The sound track: stereo at this rate, AAC in an MP4 and plain 16-bit PCM beside Microsoft
// Video 1 in an AVI, which is what the players that want that coder understand.
constexpr int kSoundRate = 44100;

class Encoder {
public:
    Encoder(const std::string& path, VideoKind kind, int width, int height, bool withSound)
    {
        // Failures come back as errors; the library's own chatter would only reach a terminal.
        av_log_set_level(AV_LOG_ERROR);
        AVFormatContext* raw = nullptr;
        check(avformat_alloc_output_context2(&raw, nullptr, kind == VideoKind::Avi ? "avi" : "mp4", path.c_str()),
              "cannot start the video file");
        format_.reset(raw);
        const AVCodec* codec = avcodec_find_encoder_by_name(kind == VideoKind::Avi ? "msvideo1" : "libx264");
        if (!codec && kind == VideoKind::Mp4)
            codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        if (!codec)
            throw NotSupportedError("no video coder for this kind of file");
        stream_ = avformat_new_stream(format_.get(), nullptr);
        codec_.reset(avcodec_alloc_context3(codec));
        if (!stream_ || !codec_)
            throw MemoryError("video coder");
        codec_->width = width;
        codec_->height = height;
        codec_->time_base = AVRational{1, 1000}; // one unit a millisecond
        codec_->framerate = AVRational{0, 1};
        codec_->pix_fmt = kind == VideoKind::Avi ? AV_PIX_FMT_RGB555LE : AV_PIX_FMT_YUV420P;
        codec_->gop_size = 7; // a key frame every 7 frames
        codec_->max_b_frames = 0; // frames in the order shown: every player copes
        if (format_->oformat->flags & AVFMT_GLOBALHEADER)
            codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (kind == VideoKind::Mp4)
            av_opt_set(codec_->priv_data, "preset", "veryfast", 0);
        check(avcodec_open2(codec_.get(), codec, nullptr), "cannot open the video coder");
        check(avcodec_parameters_from_context(stream_->codecpar, codec_.get()), "video coder parameters");
        stream_->time_base = codec_->time_base;
        if (withSound)
            openSound(kind);
        check(avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE), "cannot create the video file");
        check(avformat_write_header(format_.get(), nullptr), "cannot write the video header");

        frame_.reset(av_frame_alloc());
        packet_.reset(av_packet_alloc());
        if (!frame_ || !packet_)
            throw MemoryError("video frame");
        frame_->format = codec_->pix_fmt;
        frame_->width = width;
        frame_->height = height;
        check(av_frame_get_buffer(frame_.get(), 0), "video frame");
        scale_.reset(sws_getContext(width, height, AV_PIX_FMT_RGB0, width, height, codec_->pix_fmt, SWS_POINT,
                                    nullptr, nullptr, nullptr));
        if (!scale_)
            throw MemoryError("video conversion");
    }

    void add(const Sprite& picture, int64_t timeMs, int64_t durationMs)
    {
        // Containers that trim to the frames' durations (MP4) would drop a last frame without one.
        durations_[timeMs] = durationMs;
        check(av_frame_make_writable(frame_.get()), "video frame");
        // Rows top-down: start at the top row and step backwards through the sprite's memory.
        const uint8_t* source[1] = {picture.rowAddress(0)};
        const int stride[1] = {-picture.stride()};
        sws_scale(scale_.get(), source, stride, 0, picture.height(), frame_->data, frame_->linesize);
        frame_->pts = timeMs;
        send(frame_.get());
    }

    // The whole sound track, 16-bit stereo samples at kSoundRate.
    void addSound(const std::vector<int16_t>& track)
    {
        const size_t frames = track.size() / 2;
        const size_t chunk = size_t(soundFrame_->nb_samples);
        for (size_t at = 0; at < frames; at += chunk) {
            const size_t n = std::min(chunk, frames - at);
            soundFrame_->nb_samples = int(n);
            check(av_frame_make_writable(soundFrame_.get()), "sound frame");
            if (sound_->sample_fmt == AV_SAMPLE_FMT_S16) {
                std::copy_n(track.data() + 2 * at, 2 * n, reinterpret_cast<int16_t*>(soundFrame_->data[0]));
            } else {
                auto* left = reinterpret_cast<float*>(soundFrame_->data[0]);
                auto* right = reinterpret_cast<float*>(soundFrame_->data[1]);
                for (size_t i = 0; i < n; ++i) {
                    left[i] = track[2 * (at + i)] / 32768.0f;
                    right[i] = track[2 * (at + i) + 1] / 32768.0f;
                }
            }
            soundFrame_->pts = int64_t(at);
            send(sound_.get(), soundStream_, soundFrame_.get());
        }
    }

    void finish()
    {
        send(codec_.get(), stream_, nullptr);
        if (sound_)
            send(sound_.get(), soundStream_, nullptr);
        check(av_write_trailer(format_.get()), "cannot finish the video file");
    }

private:
    void openSound(VideoKind kind)
    {
        const AVCodec* codec = avcodec_find_encoder(kind == VideoKind::Avi ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_AAC);
        if (!codec)
            throw NotSupportedError("no sound coder for this kind of file");
        soundStream_ = avformat_new_stream(format_.get(), nullptr);
        sound_.reset(avcodec_alloc_context3(codec));
        if (!soundStream_ || !sound_)
            throw MemoryError("sound coder");
        sound_->sample_rate = kSoundRate;
        av_channel_layout_default(&sound_->ch_layout, 2);
        sound_->sample_fmt = kind == VideoKind::Avi ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
        if (kind == VideoKind::Mp4)
            sound_->bit_rate = 128000;
        sound_->time_base = AVRational{1, kSoundRate};
        if (format_->oformat->flags & AVFMT_GLOBALHEADER)
            sound_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        check(avcodec_open2(sound_.get(), codec, nullptr), "cannot open the sound coder");
        check(avcodec_parameters_from_context(soundStream_->codecpar, sound_.get()), "sound coder parameters");
        soundStream_->time_base = sound_->time_base;
        soundFrame_.reset(av_frame_alloc());
        if (!soundFrame_)
            throw MemoryError("sound frame");
        soundFrame_->format = sound_->sample_fmt;
        soundFrame_->sample_rate = kSoundRate;
        // PCM takes any count; a tenth of a second keeps the AVI's chunks few.
        soundFrame_->nb_samples = sound_->frame_size > 0 ? sound_->frame_size : kSoundRate / 10;
        check(av_channel_layout_copy(&soundFrame_->ch_layout, &sound_->ch_layout), "sound frame");
        check(av_frame_get_buffer(soundFrame_.get(), 0), "sound frame");
    }

    void send(AVFrame* frame) { send(codec_.get(), stream_, frame); }

    void send(AVCodecContext* coder, AVStream* stream, AVFrame* frame)
    {
        check(avcodec_send_frame(coder, frame), "cannot code a frame");
        for (;;) {
            const int got = avcodec_receive_packet(coder, packet_.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return;
            check(got, "cannot code a frame");
            if (stream == stream_)
                if (auto it = durations_.find(packet_->pts); it != durations_.end())
                    packet_->duration = it->second;
            av_packet_rescale_ts(packet_.get(), coder->time_base, stream->time_base);
            packet_->stream_index = stream->index;
            check(av_interleaved_write_frame(format_.get(), packet_.get()), "cannot write a frame");
        }
    }

    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecCloser> codec_;
    std::unique_ptr<AVFrame, FrameCloser> frame_;
    std::unique_ptr<AVPacket, PacketCloser> packet_;
    std::unique_ptr<SwsContext, ScaleCloser> scale_;
    AVStream* stream_ = nullptr;
    std::unique_ptr<AVCodecContext, CodecCloser> sound_;
    std::unique_ptr<AVFrame, FrameCloser> soundFrame_;
    AVStream* soundStream_ = nullptr;
    std::map<int64_t, int64_t> durations_;
};

} // namespace

std::vector<SoundCue> soundCues(const Film& film, const std::vector<TimedFrame>& timeline)
{
    std::vector<SoundCue> cues;
    for (const TimedFrame& shown : timeline)
        for (const Film::PlayedSound& p : film.playedSounds(shown.frame))
            cues.push_back({shown.startMs, p.sound, p.settings.pan, p.settings.volume, p.settings.pitch,
                            p.settings.duration});
    return cues;
}

std::vector<TimedFrame> videoTimeline(const Film& film, const std::vector<int>& frames)
{
    const std::vector<int> order = film.playedOnce(frames);
    std::vector<TimedFrame> timeline;
    int64_t t = 0;
    for (int frame : order) {
        const int pause = film.fade(frame).pause;
        const int64_t duration = film.period() + (pause > 0 ? int64_t(pause) * 10 : 0);
        timeline.push_back({frame, t, duration});
        t += duration;
    }
    return timeline;
}

void writeVideo(const Film& film, const std::string& path, VideoKind kind, const std::vector<int>& frames,
                const ExportProgress& progress)
{
    namespace fs = std::filesystem;
    // The temporary name keeps the extension, which tells FFmpeg nothing but tells people what it is.
    const fs::path temp = fs::path(path).parent_path() / (".celvane-" + fs::path(path).filename().string());
    try {
        const int width = fitSide(film.width(), kind), height = fitSide(film.height(), kind);
        const std::vector<TimedFrame> timeline = videoTimeline(film, frames.empty() ? film.framesToWrite(false) : frames);
        // The video plays the frames' sounds as the film does.
        const std::vector<SoundCue> cues = soundCues(film, timeline);
        Encoder encoder(temp.string(), kind, width, height, !cues.empty());
        RgbFrames pictures(film, width, height);
        for (size_t k = 0; k < timeline.size(); ++k) {
            encoder.add(pictures.frame(timeline[k].frame), timeline[k].startMs, timeline[k].durationMs);
            if (progress && !progress(int(k + 1), int(timeline.size())))
                throw UserCancel();
        }
        if (!cues.empty())
            encoder.addSound(renderSoundTrack(cues, timeline.back().startMs + timeline.back().durationMs, kSoundRate));
        encoder.finish();
    } catch (Error& e) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        if (e.file().empty() && !e.reason().empty())
            e.setFile(path, e.reason());
        throw;
    } catch (...) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError::system(path, ec.value());
    }
}

} // namespace celvane
