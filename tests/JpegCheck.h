#pragma once
// Reading back JPEG files the program wrote: what their headers say, and how far two pictures
// differ.

#include "PixelCheck.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdint>
#include <cstdlib>

// The mean difference of two pictures of one size, over all pixels and the three channels.
inline double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const TRgb p = PixelAt(a, {x, y});
            const TRgb q = PixelAt(b, {x, y});
            sum += std::abs(p.R - q.R) + std::abs(p.G - q.G) + std::abs(p.B - q.B);
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// What the headers of a JPEG file say: the frame marker (0xC0 for baseline), the number of
// colour components, and the first and last entry of the first quantisation table.
struct TJpegHeader {
    int FrameMarker = 0;
    int Components = 0;
    int QuantFirst = 0;
    int QuantLast = 0;
};

inline TJpegHeader HeaderOf(const QByteArray& file) {
    TJpegHeader header;
    const auto byte = [&](qsizetype i) { return i < file.size() ? std::uint8_t(file[i]) : 0; };
    qsizetype i = 2;                                 // past the start of image marker
    while (byte(i) == 0xFF && byte(i + 1) != 0xDA) { // up to the start of scan
        const int marker = byte(i + 1);
        if (marker == 0xDB && header.QuantFirst == 0) {
            header.QuantFirst = byte(i + 5);
            header.QuantLast = byte(i + 5 + 63);
        } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC) {
            header.FrameMarker = marker;
            header.Components = byte(i + 9);
        }
        i += 2 + (byte(i + 2) << 8 | byte(i + 3));
    }
    return header;
}

inline QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
