#include "VersionText.h"

#include <QStringList>

#include <algorithm>
#include <cstddef>

std::optional<TFileVersion> CompiledFileVersion() {
#ifdef AMBLA_VERSION_MAJOR
    return TFileVersion{AMBLA_VERSION_MAJOR, AMBLA_VERSION_MINOR, AMBLA_VERSION_PATCH,
                        AMBLA_VERSION_TWEAK};
#else
    return std::nullopt;
#endif
}

QString FileVersionText(const std::optional<TFileVersion>& version, int parts) {
    if (!version) {
        return QStringLiteral("No file information available.");
    }
    const auto count = static_cast<std::size_t>(std::clamp(parts, 2, 4));
    QStringList numbers;
    for (std::size_t i = 0; i < count; ++i) {
        numbers << QString::number((*version)[i]);
    }
    return numbers.join(QLatin1Char('.'));
}

QString FileVersionText(int parts) {
    return FileVersionText(CompiledFileVersion(), parts);
}
