#include "FrameCaption.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

QImage CaptionPicture(const QString& text, int frameHeight) {
    QFont font;
    font.setPixelSize(std::max(11, frameHeight / 30));
    const QFontMetrics metrics(font);
    const int padding = std::max(4, metrics.height() / 3);
    QImage picture(metrics.horizontalAdvance(text) + 2 * padding, metrics.height() + 2 * padding,
                   QImage::Format_RGBA8888);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawRoundedRect(picture.rect(), padding, padding);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(padding, padding + metrics.ascent(), text);
    painter.end();
    return picture;
}
