#pragma once
// The per-user settings: keys addressed by a path such as "\Software\Morvane\Ambla Viewer", each
// holding named values of a type (integer, string, expandable string). All keys live in one JSON
// file under the user's config folder:
//
//   { "\\Software\\Morvane\\Ambla Viewer": { "MaxAnimationSpeed": 5, "LogDir": "/home/..." },
//     "\\Software\\Morvane\\Ambla Viewer\\Last Projects": { "1": "/home/..." } }
//
// An integer is a JSON integer, a string a JSON string, an expandable string {"expand": "..."}.
// Nothing is kept between calls: every call opens the file, reads or writes it, and closes it, so
// several running copies of the program and hand edits between calls are all seen.

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <optional>

class QJsonObject;

class TSettingsStore {
public:
    // The store of the current user: Morvane/registry.json in the generic config folder
    // ($XDG_CONFIG_HOME, else ~/.config), looked up once here.
    TSettingsStore();

    // Makes sure the key exists, adding it empty if it does not. False if it could not be added.
    [[nodiscard]] bool CreateKey(const QString& keyPath);

    // A value of the type asked for; nothing when the key or value is missing, the value has
    // another type, or the file cannot be read. Reads never change the file.
    std::optional<qint32> ReadInteger(const QString& keyPath, const QString& name) const;
    // A plain string only.
    std::optional<QString> ReadString(const QString& keyPath, const QString& name) const;
    // A plain or an expandable string, taken as stored (nothing is expanded).
    std::optional<QString> ReadStringOrExpandable(const QString& keyPath,
                                                  const QString& name) const;
    // Whether the key holds a value of that name, of whatever type.
    bool HasValue(const QString& keyPath, const QString& name) const;

    // Sets one value, creating the key if needed; every other value in the file stays as it is,
    // including values that another process wrote since this one last looked. False if the file
    // could not be written; LastError() then says why.
    [[nodiscard]] bool WriteInteger(const QString& keyPath, const QString& name, qint32 value);
    [[nodiscard]] bool WriteString(const QString& keyPath, const QString& name,
                                   const QString& value);

    // Why the last failed CreateKey or write failed, for the user.
    const QString& LastError() const { return Error; }
    const QString& FilePath() const { return Path; }

    // How long a write waits for another writer to finish before it gives up.
    void SetLockWait(std::chrono::milliseconds wait) { LockWait = wait; }

private:
    // Merges values into the key, creating it if needed, all under the lock.
    bool Store(const QString& keyPath, const QJsonObject& values);
    bool Fail(const QString& text);

    QString Path;
    QString Error;
    std::chrono::milliseconds LockWait{15'000};
};
