#pragma once
// Every key and value name the program keeps in the settings store, each named once here.

#include <QString>
#include <QtGlobal>

namespace SettingsKeys {

// Shown as the window caption, and the last part of the key that holds the settings.
inline const QString ProductName = QStringLiteral("Ambla Viewer");

// The key that holds the program's values.
inline QString KeyPath(const QString& productName) {
    return QStringLiteral("\\Software\\Morvane\\") + productName;
}

// Below the key: the recent files, values "1" (the most recent) to "4".
inline const QString LastProjectsSubKey = QStringLiteral("\\Last Projects");

inline QString LastProjectsKeyPath(const QString& productName) {
    return KeyPath(productName) + LastProjectsSubKey;
}

// Integer: the playback speed as a multiple of real time; changed only by editing the store.
inline const QString MaxAnimationSpeed = QStringLiteral("MaxAnimationSpeed");
constexpr qint32 MaxAnimationSpeedDefault = 5;

// String: the full path of the last log file chosen in the open dialog.
inline const QString LogDir = QStringLiteral("LogDir");

// The screen-shot options.
inline const QString ScreenShotSaveOption = QStringLiteral("ScreenShotSaveOption");
inline const QString ScreenShotSaveDirectory = QStringLiteral("ScreenShotSaveDirectory");
inline const QString IsOverwritingAsked = QStringLiteral("IsOverwritingAsked");
inline const QString ScreenShotResizeOption = QStringLiteral("ScreenShotResizeOption");
inline const QString ScreenShotResizeValue = QStringLiteral("ScreenShotResizeValue");

} // namespace SettingsKeys
