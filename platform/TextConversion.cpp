#include "TextConversion.h"

#include <QByteArrayView>
#include <QStringDecoder>

QString FromFileText(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    // Stateless: a sequence cut off at the end counts as an error instead of waiting for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(bytes);
}
