#pragma once
// The four most recently opened log files, the most recent first, as the File menu shows them
// and the settings store keeps them (string values "1" to "4" below the product's key).

#include <QString>

#include <array>

class TProgramSettings;

class TRecentFiles {
public:
    static constexpr int MaxCount = 4;

    // Replaces the list by what the store holds. Missing and empty values are skipped, so the
    // list stays packed; a value of another type ends the reading there. Creates the key of the
    // list if it is missing.
    void ReadFromStore(TProgramSettings& settings);
    // Puts path at the head. A path already in the list moves up from its place; otherwise the
    // oldest entry drops out once the list is full.
    void Add(const QString& path);
    // Writes every entry as its value, "1" for the most recent. Entries the list does not hold
    // leave their values alone. False, with the store's LastError(), if a write was refused.
    [[nodiscard]] bool WriteToStore(TProgramSettings& settings) const;

    int Count() const;
    // Entry index (0 the most recent), or empty.
    QString Path(int index) const;
    // The caption of the menu item for an entry: "&1 /path/file.3dl", the digit its access key.
    QString MenuCaption(int index) const;

private:
    // Non-empty entries first, empty ones only at the end.
    std::array<QString, MaxCount> Entries;
};
