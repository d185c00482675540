#include "JpegWriter.h"

#include "FileWriting.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <jpeglib.h>

namespace {

// libjpeg's own error exit ends the program; this one jumps back to the encoder's caller with
// the message instead. libjpeg sees only the first member.
struct TJpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Escape;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ReturnToCaller(j_common_ptr info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Escape, 1);
}

// Everything the encoder touches, outside the frame that catches its errors, so that a jump
// back finds it as libjpeg left it. The buffer is allocated by libjpeg with malloc.
struct TEncoder {
    TEncoder() = default;
    TEncoder(const TEncoder&) = delete;
    TEncoder& operator=(const TEncoder&) = delete;
    ~TEncoder() {
        jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }

    jpeg_compress_struct Info{};
    TJpegErrors Errors{};
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
};

// Rows handed to libjpeg per call: two rows of 4:2:0 blocks.
constexpr int RowsPerCall = 16;

void WriteRows(jpeg_compress_struct& info, const QImage& rgbx, TRowOrder order) {
    JSAMPROW rows[RowsPerCall];
    while (info.next_scanline < info.image_height) {
        const int first = static_cast<int>(info.next_scanline);
        const int count = std::min(RowsPerCall, rgbx.height() - first);
        for (int i = 0; i < count; ++i) {
            // libjpeg only reads the rows; its interface predates const.
            const int row = first + i;
            const int line = order == TRowOrder::TopFirst ? row : rgbx.height() - 1 - row;
            rows[i] = const_cast<JSAMPROW>(rgbx.constScanLine(line));
        }
        jpeg_write_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
}

// Runs libjpeg from start to end. Only plain data lives in this frame, so an error that jumps
// back into it skips no destructor; false means encoder.Errors.Message says why.
bool Encode(TEncoder& encoder, const QImage& rgbx, int quality, TRowOrder order) {
    jpeg_compress_struct& info = encoder.Info;
    info.err = jpeg_std_error(&encoder.Errors.Manager);
    encoder.Errors.Manager.error_exit = ReturnToCaller;
    if (setjmp(encoder.Errors.Escape) != 0) {
        return false;
    }
    jpeg_CreateCompress(&info, JPEG_LIB_VERSION, sizeof(info));
    jpeg_mem_dest(&info, &encoder.Buffer, &encoder.Size);
    info.image_width = static_cast<JDIMENSION>(rgbx.width());
    info.image_height = static_cast<JDIMENSION>(rgbx.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    WriteRows(info, rgbx, order);
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

TJpegBytes EncodeJpeg(const QImage& picture, int quality, TRowOrder order) {
    if (picture.isNull()) {
        return {{}, QStringLiteral("There is no picture to write.")};
    }
    // The frame of the view comes in this layout already; libjpeg drops the fourth byte.
    const QImage rgbx = picture.convertToFormat(QImage::Format_RGBX8888);
    if (rgbx.isNull()) {
        return {{}, QStringLiteral("Not enough memory to convert the picture.")};
    }
    TEncoder encoder;
    if (!Encode(encoder, rgbx, quality, order)) {
        return {{}, QString::fromLocal8Bit(encoder.Errors.Message)};
    }
    return {QByteArray(reinterpret_cast<const char*>(encoder.Buffer),
                       static_cast<qsizetype>(encoder.Size)),
            {}};
}

QString SaveJpeg(const QImage& picture, const QString& fileName, int quality) {
    const TJpegBytes jpeg = EncodeJpeg(picture, quality);
    if (!jpeg.Error.isEmpty()) {
        return jpeg.Error;
    }
    return WriteFileAtomically(fileName, jpeg.Bytes);
}

const char* PictureSuffix(TPictureFormat format) {
    return format == TPictureFormat::Png ? "png" : "jpg";
}

QString SavePicture(const QImage& picture, const QString& fileName, TPictureFormat format) {
    if (format == TPictureFormat::Jpeg) {
        return SaveJpeg(picture, fileName, JpegQuality);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) {
        return "The PNG picture could not be made: " + writer.errorString();
    }
    return WriteFileAtomically(fileName, png);
}
