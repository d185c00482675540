#pragma once
// What an MP4 file holds, read back with FFmpeg's own demuxer and decoder: its video stream's
// codec and size, how many frames it has, and one of them as RGB.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QImage>

#include <string>

struct TVideoFacts {
    bool Opened = false;
    AVCodecID Codec = AV_CODEC_ID_NONE;
    AVPixelFormat PixelFormat = AV_PIX_FMT_NONE;
    int Width = 0;
    int Height = 0;
    int Frames = 0;
    QImage Picked; // the frame asked for, top row first
};

inline TVideoFacts ReadVideo(const std::string& file, int pick) {
    TVideoFacts facts;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) {
        return facts;
    }
    avformat_find_stream_info(format, nullptr);
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) {
        avformat_close_input(&format);
        return facts;
    }
    const AVCodecParameters* parameters = format->streams[stream]->codecpar;
    facts.Opened = true;
    facts.Codec = parameters->codec_id;
    facts.PixelFormat = static_cast<AVPixelFormat>(parameters->format);
    facts.Width = parameters->width;
    facts.Height = parameters->height;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, parameters);
    avcodec_open2(decoder, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            if (facts.Frames++ == pick) {
                facts.Picked = QImage(frame->width, frame->height, QImage::Format_RGB888);
                SwsContext* toRgb = sws_getContext(frame->width, frame->height,
                                                   static_cast<AVPixelFormat>(frame->format),
                                                   frame->width, frame->height, AV_PIX_FMT_RGB24,
                                                   SWS_BICUBIC, nullptr, nullptr, nullptr);
                uint8_t* rows[1] = {facts.Picked.bits()};
                const int strides[1] = {static_cast<int>(facts.Picked.bytesPerLine())};
                sws_scale(toRgb, frame->data, frame->linesize, 0, frame->height, rows, strides);
                sws_freeContext(toRgb);
            }
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream) {
            avcodec_send_packet(decoder, packet);
            receive();
        }
        av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return facts;
}
