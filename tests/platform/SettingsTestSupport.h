#pragma once
// A private config folder for the settings store, and its file read and written directly, so that
// tests see exactly what a later run of the program would see.

#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Points XDG_CONFIG_HOME, where the store looks, at a fresh folder.
struct TTempConfigHome {
    TTempConfigHome() { qputenv("XDG_CONFIG_HOME", Dir.path().toLocal8Bit()); }
    // From now on the store's folder cannot be made: a plain file stands in its way, which
    // stops root as well as anyone else.
    void BlockConfigFolder() const {
        QFile(Dir.path() + "/blocker").open(QIODevice::WriteOnly);
        qputenv("XDG_CONFIG_HOME", (Dir.path() + "/blocker/config").toLocal8Bit());
    }
    QTemporaryDir Dir;
};

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline void WriteStoreFile(const QByteArray& bytes) {
    const QString path = TSettingsStore().FilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline QJsonObject StoreJson() {
    return QJsonDocument::fromJson(ReadFile(TSettingsStore().FilePath())).object();
}
