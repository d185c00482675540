#pragma once
// Pictures written as JPEG files: encoded in memory first, then written so that a failure never
// leaves half a file behind nor destroys the file that was there before.

#include <QByteArray>
#include <QImage>
#include <QString>

// The JPEG bytes of a picture, or why there are none.
struct TJpegBytes {
    QByteArray Bytes;
    QString Error; // empty on success
};

// How the rows of a picture lie in memory: a frame read back from OpenGL has its bottom row
// first.
enum class TRowOrder { TopFirst, BottomFirst };

// A baseline colour JPEG (three components) of the picture, quality 1 .. 100. Errors of the
// encoder come back as the reason; they never end the program.
TJpegBytes EncodeJpeg(const QImage& picture, int quality, TRowOrder order = TRowOrder::TopFirst);

// Writes the bytes to a temporary file in the folder of fileName and renames it over fileName,
// replacing a file of that name. Empty on success; otherwise the system's reason.
QString WriteFileAtomically(const QString& fileName, const QByteArray& bytes);

// As WriteFileAtomically, without waiting until the file is on the disk: for long series of
// frames, where that wait would cost more than drawing. A file is still only ever replaced
// whole; after a crash of the machine the last few may be missing.
QString WriteFileReplacing(const QString& fileName, const QByteArray& bytes);

// Both of the above. Empty on success; otherwise why the file could not be written.
QString SaveJpeg(const QImage& picture, const QString& fileName, int quality);
