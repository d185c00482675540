#pragma once
// Pictures written as JPEG or PNG files: encoded in memory first, then written so that a failure
// never leaves half a file behind nor destroys the file that was there before.

#include "FileWriting.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The JPEG bytes of a picture, or why there are none.
struct TJpegBytes {
    QByteArray Bytes;
    QString Error; // empty on success
};

// The quality of every JPEG file the program writes: screen shots, the frames of a series and of
// rendering without a display.
constexpr int JpegQuality = 90;

// How the rows of a picture lie in memory: a frame read back from OpenGL has its bottom row
// first.
enum class TRowOrder { TopFirst, BottomFirst };

// A baseline colour JPEG (three components) of the picture, quality 1 .. 100. Errors of the
// encoder come back as the reason; they never end the program.
TJpegBytes EncodeJpeg(const QImage& picture, int quality, TRowOrder order = TRowOrder::TopFirst);

// Encodes the picture and writes it with WriteFileAtomically. Empty on success; otherwise why the
// file could not be written.
QString SaveJpeg(const QImage& picture, const QString& fileName, int quality);

// The file types of shots: JPEG at JpegQuality, or lossless PNG.
enum class TPictureFormat { Jpeg, Png };

// The file name's ending for the type, without the dot: "jpg" or "png".
const char* PictureSuffix(TPictureFormat format);

// Encodes the picture as the type says and writes it with WriteFileAtomically. Empty on success;
// otherwise why the file could not be written.
QString SavePicture(const QImage& picture, const QString& fileName, TPictureFormat format);
