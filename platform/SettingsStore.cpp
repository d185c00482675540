#include "SettingsStore.h"

#include "FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLockFile>
#include <QStandardPaths>

#include <cmath>
#include <limits>

namespace {

// A write holds the lock for a few milliseconds. A lock whose owner has died on this machine is
// taken over at once; one still held after this long belongs to a copy that hangs.
constexpr std::chrono::milliseconds StaleLockTime{10'000};
// More than a lock file holds: the process number, the program's and the machine's names.
constexpr qsizetype LockFileBytes = 512;

const QString ExpandMember = QStringLiteral("expand");

struct TLoadedStore {
    enum { Missing, Loaded, Corrupt, Unreadable } State = Missing;
    QJsonObject Root;
    QString Error;
};

TLoadedStore LoadStore(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) {
            return {};
        }
        return {TLoadedStore::Unreadable, {}, file.errorString()};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return {TLoadedStore::Unreadable, {}, file.errorString()};
    }
    // An empty file holds nothing worth keeping.
    if (bytes.trimmed().isEmpty()) {
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        return {TLoadedStore::Corrupt, {}, {}};
    }
    return {TLoadedStore::Loaded, document.object(), {}};
}

// Copies a file that cannot be parsed beside it before it is replaced, without overwriting an
// earlier copy, so a hand edit gone wrong can still be mended.
bool KeepAside(const QString& path, QString& copyPath) {
    for (int n = 0;; ++n) {
        copyPath = path + QStringLiteral(".corrupt");
        if (n > 0) {
            copyPath += QLatin1Char('.') + QString::number(n);
        }
        if (QFile::exists(copyPath)) {
            continue;
        }
        return QFile::copy(path, copyPath);
    }
}

std::optional<QJsonValue> LookUp(const QString& path, const QString& keyPath, const QString& name) {
    const QJsonValue key = LoadStore(path).Root.value(keyPath);
    if (!key.isObject()) {
        return std::nullopt;
    }
    const QJsonObject values = key.toObject();
    const auto found = values.constFind(name);
    if (found == values.constEnd()) {
        return std::nullopt;
    }
    return found.value();
}

std::optional<QString> AsExpandable(const QJsonValue& value) {
    if (!value.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    if (object.size() != 1 || !object.value(ExpandMember).isString()) {
        return std::nullopt;
    }
    return object.value(ExpandMember).toString();
}

QString LockErrorText(QLockFile::LockError error, const QString& path) {
    switch (error) {
    case QLockFile::LockFailedError:
        return QStringLiteral("The settings file %1 is being written by another program.")
            .arg(path);
    case QLockFile::PermissionError:
        return QStringLiteral("Cannot create the lock file for the settings file %1.").arg(path);
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    // The lock file gives no reason of its own; a file of its size written beside it does.
    const QString probe = path + QStringLiteral(".probe");
    const QString reason = WriteFileReplacing(probe, QByteArray(LockFileBytes, '\n'));
    QFile::remove(probe);
    if (!reason.isEmpty()) {
        return QStringLiteral("Cannot lock the settings file %1: %2").arg(path, reason);
    }
    return QStringLiteral("Cannot lock the settings file %1.").arg(path);
}

} // namespace

TSettingsStore::TSettingsStore() {
    const QString configDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!configDir.isEmpty()) {
        Path = configDir + QStringLiteral("/Morvane/registry.json");
    }
}

bool TSettingsStore::CreateKey(const QString& keyPath) {
    // Most of the time the key is there already; then the file is not touched.
    if (LoadStore(Path).Root.value(keyPath).isObject()) {
        return true;
    }
    return Store(keyPath, {});
}

std::optional<qint32> TSettingsStore::ReadInteger(const QString& keyPath,
                                                  const QString& name) const {
    const std::optional<QJsonValue> value = LookUp(Path, keyPath, name);
    if (!value || !value->isDouble()) {
        return std::nullopt;
    }
    const double number = value->toDouble();
    if (number != std::trunc(number) ||
        number < static_cast<double>(std::numeric_limits<qint32>::min()) ||
        number > static_cast<double>(std::numeric_limits<qint32>::max())) {
        return std::nullopt;
    }
    return static_cast<qint32>(number);
}

std::optional<QString> TSettingsStore::ReadString(const QString& keyPath,
                                                  const QString& name) const {
    const std::optional<QJsonValue> value = LookUp(Path, keyPath, name);
    if (!value || !value->isString()) {
        return std::nullopt;
    }
    return value->toString();
}

std::optional<QString> TSettingsStore::ReadStringOrExpandable(const QString& keyPath,
                                                              const QString& name) const {
    const std::optional<QJsonValue> value = LookUp(Path, keyPath, name);
    if (!value) {
        return std::nullopt;
    }
    if (value->isString()) {
        return value->toString();
    }
    return AsExpandable(*value);
}

bool TSettingsStore::HasValue(const QString& keyPath, const QString& name) const {
    return LookUp(Path, keyPath, name).has_value();
}

bool TSettingsStore::WriteInteger(const QString& keyPath, const QString& name, qint32 value) {
    return Store(keyPath, QJsonObject{{name, value}});
}

bool TSettingsStore::WriteString(const QString& keyPath, const QString& name,
                                 const QString& value) {
    return Store(keyPath, QJsonObject{{name, value}});
}

bool TSettingsStore::Store(const QString& keyPath, const QJsonObject& values) {
    Error.clear();
    if (Path.isEmpty()) {
        return Fail(QStringLiteral("There is no folder for user settings."));
    }
    const QString folder = QFileInfo(Path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return Fail(QStringLiteral("Cannot create the folder %1 for the settings.").arg(folder));
    }

    // The file is read again under the lock, so that a value another copy of the program wrote
    // in the meantime survives this write.
    QLockFile lock(Path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockTime);
    if (!lock.tryLock(LockWait)) {
        return Fail(LockErrorText(lock.error(), Path));
    }
    const TLoadedStore current = LoadStore(Path);
    if (current.State == TLoadedStore::Unreadable) {
        // Replacing a file we cannot read would lose whatever it holds.
        return Fail(
            QStringLiteral("Cannot read the settings file %1: %2").arg(Path, current.Error));
    }
    if (current.State == TLoadedStore::Corrupt) {
        QString copyPath;
        if (!KeepAside(Path, copyPath)) {
            return Fail(QStringLiteral("The settings file %1 is damaged and cannot be copied to "
                                       "%2 before it is replaced.")
                            .arg(Path, copyPath));
        }
    }

    QJsonObject root = current.Root;
    const QJsonValue oldKey = root.value(keyPath);
    // A key that is not an object (a hand edit) cannot hold values; it is replaced by one.
    bool changed = !oldKey.isObject();
    QJsonObject key = oldKey.toObject();
    for (auto value = values.begin(); value != values.end(); ++value) {
        if (key.value(value.key()) != value.value()) {
            key.insert(value.key(), value.value());
            changed = true;
        }
    }
    if (!changed) {
        return true;
    }
    root.insert(keyPath, key);

    // Indented, because the user may edit some values only by hand.
    const QString error =
        WriteFileAtomically(Path, QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!error.isEmpty()) {
        return Fail(QStringLiteral("Cannot write the settings file %1: %2").arg(Path, error));
    }
    return true;
}

bool TSettingsStore::Fail(const QString& text) {
    Error = text;
    return false;
}
