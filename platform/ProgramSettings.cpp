#include "ProgramSettings.h"

QString TProgramSettings::KeyPath() {
    return QStringLiteral("\\Software\\Morvane\\") + ProductName;
}

QString TProgramSettings::LastProjectsKeyPath() {
    return KeyPath() + QStringLiteral("\\Last Projects");
}

void TProgramSettings::CreateKey() {
    (void)Store.CreateKey(KeyPath()); // nothing to tell the user: the defaults apply
}

qint32 TProgramSettings::Read(const TSetting<qint32>& setting) const {
    return Store.ReadInteger(KeyPath(), setting.Name).value_or(setting.Default);
}

bool TProgramSettings::Read(const TSetting<bool>& setting) const {
    const std::optional<qint32> value = Store.ReadInteger(KeyPath(), setting.Name);
    return value ? *value != 0 : setting.Default;
}

QString TProgramSettings::Read(const TSetting<QString>& setting) const {
    return Store.ReadStringOrExpandable(KeyPath(), setting.Name).value_or(setting.Default);
}

bool TProgramSettings::Write(const TSetting<qint32>& setting, qint32 value) {
    return Store.WriteInteger(KeyPath(), setting.Name, value);
}

bool TProgramSettings::Write(const TSetting<bool>& setting, bool value) {
    return Store.WriteInteger(KeyPath(), setting.Name, value ? 1 : 0);
}

bool TProgramSettings::Write(const TSetting<QString>& setting, const QString& value) {
    return Store.WriteString(KeyPath(), setting.Name, value);
}
