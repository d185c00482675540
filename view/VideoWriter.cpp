#include "VideoWriter.h"

#include "FileWriting.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QFile>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

QString AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

// The libraries and the encoder tell what they do at every start and end (some 18 lines); a
// failure comes back to us as an error code, which the caller reports, and the libraries add
// their own errors only.
void QuietLibraryLog() {
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
}

// The H.264 encoder Debian builds in: libx264 by name, else any that makes H.264.
const AVCodec* H264Encoder() {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    return codec != nullptr ? codec : avcodec_find_encoder(AV_CODEC_ID_H264);
}

} // namespace

struct TVideoWriter::TState {
    QString Target;
    QString Temporary;
    AVFormatContext* Format = nullptr;
    AVCodecContext* Encoder = nullptr;
    AVStream* Stream = nullptr;
    AVFrame* Frame = nullptr;
    AVPacket* Packet = nullptr;
    SwsContext* Scaler = nullptr;
    std::int64_t Frames = 0;
    bool HeaderWritten = false;

    ~TState() {
        sws_freeContext(Scaler);
        av_packet_free(&Packet);
        av_frame_free(&Frame);
        avcodec_free_context(&Encoder);
        if (Format != nullptr) {
            avio_closep(&Format->pb);
            avformat_free_context(Format);
        }
        if (!Temporary.isEmpty()) {
            ::unlink(QFile::encodeName(Temporary).constData());
        }
    }

    QString OpenEncoder(const TVideoSettings& settings) {
        const AVCodec* codec = H264Encoder();
        if (codec == nullptr) {
            return QStringLiteral("this system's FFmpeg has no H.264 encoder");
        }
        Encoder = avcodec_alloc_context3(codec);
        Encoder->width = settings.Width;
        Encoder->height = settings.Height;
        Encoder->time_base = {1, settings.FramesPerSecond};
        Encoder->framerate = {settings.FramesPerSecond, 1};
        Encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        Encoder->gop_size = 2 * settings.FramesPerSecond;
        if ((Format->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
            Encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        av_opt_set(Encoder->priv_data, "preset", "veryfast", 0);
        av_opt_set(Encoder->priv_data, "crf", std::to_string(settings.Crf).c_str(), 0);
        if (const int code = avcodec_open2(Encoder, codec, nullptr); code < 0) {
            return "the encoder cannot start: " + AvError(code);
        }
        Stream = avformat_new_stream(Format, nullptr);
        avcodec_parameters_from_context(Stream->codecpar, Encoder);
        Stream->time_base = Encoder->time_base;
        Frame = av_frame_alloc();
        Frame->format = AV_PIX_FMT_YUV420P;
        Frame->width = settings.Width;
        Frame->height = settings.Height;
        Packet = av_packet_alloc();
        if (const int code = av_frame_get_buffer(Frame, 0); code < 0) {
            return AvError(code);
        }
        // The same size: only the colours are converted, and the chroma of each 2 x 2 block taken
        // from one pixel, which the flat colours of a rendered deck do not show and which costs
        // a third of the bicubic filter's time.
        Scaler = sws_getContext(settings.Width, settings.Height, AV_PIX_FMT_RGB0, settings.Width,
                                settings.Height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr,
                                nullptr);
        return Scaler == nullptr ? QStringLiteral("no conversion to yuv420p") : QString();
    }

    // Every packet the encoder has ready, into the file.
    QString WritePackets() {
        for (;;) {
            const int code = avcodec_receive_packet(Encoder, Packet);
            if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) {
                return {};
            }
            if (code < 0) {
                return AvError(code);
            }
            // Each frame lasts one frame's time; without it the file's length would end at the
            // last frame's start, and players would drop that frame.
            if (Packet->duration == 0) {
                Packet->duration = 1;
            }
            av_packet_rescale_ts(Packet, Encoder->time_base, Stream->time_base);
            Packet->stream_index = Stream->index;
            if (const int written = av_interleaved_write_frame(Format, Packet); written < 0) {
                return AvError(written);
            }
        }
    }
};

TVideoWriter::TVideoWriter() = default;
TVideoWriter::~TVideoWriter() = default;

QString TVideoWriter::Open(const QString& fileName, const TVideoSettings& settings) {
    Cancel();
    if (settings.Width <= 0 || settings.Height <= 0 || settings.Width % 2 != 0 ||
        settings.Height % 2 != 0) {
        return QStringLiteral("a video's width and height must be even");
    }
    QuietLibraryLog();
    auto state = std::make_unique<TState>();
    state->Target = fileName;
    const QString temporary = TemporaryFileFor(fileName);
    const QByteArray path = QFile::encodeName(temporary);
    if (const int code =
            avformat_alloc_output_context2(&state->Format, nullptr, "mp4", path.constData());
        code < 0) {
        return AvError(code);
    }
    if (QString error = state->OpenEncoder(settings); !error.isEmpty()) {
        return error;
    }
    if (const int code = avio_open(&state->Format->pb, path.constData(), AVIO_FLAG_WRITE);
        code < 0) {
        return AvError(code);
    }
    state->Temporary = temporary;
    if (const int code = avformat_write_header(state->Format, nullptr); code < 0) {
        return AvError(code);
    }
    state->HeaderWritten = true;
    State = std::move(state);
    return {};
}

QString TVideoWriter::AddFrame(const QImage& bottomUp) {
    if (!State) {
        return QStringLiteral("no video is open");
    }
    TState& state = *State;
    if (bottomUp.width() != state.Encoder->width || bottomUp.height() != state.Encoder->height) {
        Cancel();
        return QStringLiteral("a frame of another size than the video");
    }
    if (const int code = av_frame_make_writable(state.Frame); code < 0) {
        Cancel();
        return AvError(code);
    }
    // The last row first: the canvas reads the picture from the bottom up.
    const uint8_t* rows[1] = {bottomUp.constBits() +
                              (bottomUp.height() - 1) * bottomUp.bytesPerLine()};
    const int strides[1] = {-static_cast<int>(bottomUp.bytesPerLine())};
    sws_scale(state.Scaler, rows, strides, 0, bottomUp.height(), state.Frame->data,
              state.Frame->linesize);
    state.Frame->pts = state.Frames++;
    QString error;
    if (const int code = avcodec_send_frame(state.Encoder, state.Frame); code < 0) {
        error = AvError(code);
    } else {
        error = state.WritePackets();
    }
    if (!error.isEmpty()) {
        Cancel();
    }
    return error;
}

QString TVideoWriter::Finish() {
    if (!State) {
        return QStringLiteral("no video is open");
    }
    TState& state = *State;
    QString error;
    if (const int code = avcodec_send_frame(state.Encoder, nullptr); code < 0) {
        error = AvError(code);
    }
    if (error.isEmpty()) {
        error = state.WritePackets();
    }
    if (error.isEmpty()) {
        if (const int code = av_write_trailer(state.Format); code < 0) {
            error = AvError(code);
        }
    }
    // The last bytes leave FFmpeg's buffer only now; a full disk shows here if not before.
    if (const int code = avio_closep(&state.Format->pb); code < 0 && error.isEmpty()) {
        error = AvError(code);
    }
    if (error.isEmpty()) {
        error = ReplaceByTemporary(state.Temporary, state.Target);
        state.Temporary.clear(); // replaced, or removed on failure
    }
    State.reset();
    return error;
}

void TVideoWriter::Cancel() {
    State.reset();
}

std::int64_t TVideoWriter::FramesWritten() const {
    return State ? State->Frames : 0;
}

struct TVideoPipeline::TQueue {
    static constexpr std::size_t MostWaiting = 2;

    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<QImage> Waiting;
    bool Busy = false;    // a frame is being encoded
    bool Closing = false; // no more frames come
    QString Error;        // the first failure; frames after it are dropped
    std::thread Encoder;

    void Run(TVideoWriter& writer) {
        std::unique_lock lock(Lock);
        for (;;) {
            Changed.wait(lock, [this] { return Closing || !Waiting.empty(); });
            if (Waiting.empty()) {
                return;
            }
            const QImage frame = std::move(Waiting.front());
            Waiting.pop_front();
            Busy = true;
            Changed.notify_all();
            if (Error.isEmpty()) {
                lock.unlock();
                QString error = writer.AddFrame(frame);
                lock.lock();
                Error = std::move(error);
            }
            Busy = false;
            Changed.notify_all();
        }
    }
};

TVideoPipeline::TVideoPipeline() = default;

TVideoPipeline::~TVideoPipeline() {
    Cancel();
}

QString TVideoPipeline::Open(const QString& fileName, const TVideoSettings& settings) {
    Cancel();
    if (QString error = Writer.Open(fileName, settings); !error.isEmpty()) {
        return error;
    }
    Queue = std::make_unique<TQueue>();
    Queue->Encoder = std::thread([this] { Queue->Run(Writer); });
    return {};
}

QString TVideoPipeline::AddFrame(const QImage& bottomUp) {
    if (!Queue) {
        return QStringLiteral("no video is open");
    }
    std::unique_lock lock(Queue->Lock);
    Queue->Changed.wait(lock, [this] {
        return Queue->Waiting.size() < TQueue::MostWaiting || !Queue->Error.isEmpty();
    });
    if (!Queue->Error.isEmpty()) {
        const QString error = Queue->Error;
        lock.unlock();
        Cancel();
        return error;
    }
    Queue->Waiting.push_back(bottomUp);
    Queue->Changed.notify_all();
    return {};
}

QString TVideoPipeline::Drain() {
    {
        const std::lock_guard lock(Queue->Lock);
        Queue->Closing = true;
        Queue->Changed.notify_all();
    }
    Queue->Encoder.join();
    QString error = Queue->Error;
    Queue.reset();
    return error;
}

QString TVideoPipeline::Finish() {
    if (!Queue) {
        return QStringLiteral("no video is open");
    }
    if (QString error = Drain(); !error.isEmpty()) {
        Writer.Cancel();
        return error;
    }
    return Writer.Finish();
}

void TVideoPipeline::Cancel() {
    if (Queue) {
        {
            const std::lock_guard lock(Queue->Lock);
            Queue->Waiting.clear();
            Queue->Error = QStringLiteral("cancelled");
        }
        Drain();
    }
    Writer.Cancel();
}
