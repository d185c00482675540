#include "RecentFiles.h"

#include "ProgramSettings.h"

#include <algorithm>
#include <cstddef>

namespace {

QString ValueName(std::size_t index) {
    return QString::number(index + 1);
}

} // namespace

void TRecentFiles::ReadFromStore(TProgramSettings& settings) {
    TSettingsStore& store = settings.StoreFile();
    const QString key = TProgramSettings::LastProjectsKeyPath();
    // If the key cannot be made there is nothing to read; the list is simply empty.
    (void)store.CreateKey(key);
    Entries = {};
    std::size_t count = 0;
    for (std::size_t index = 0; index < Entries.size(); ++index) {
        const QString name = ValueName(index);
        if (!store.HasValue(key, name)) {
            continue;
        }
        const std::optional<QString> path = store.ReadStringOrExpandable(key, name);
        if (!path) {
            break;
        }
        // A hand-edited store may name a file twice; the menu shows it once.
        const auto read = Entries.begin() + static_cast<std::ptrdiff_t>(count);
        if (!path->isEmpty() && std::find(Entries.begin(), read, *path) == read) {
            Entries[count++] = *path;
        }
    }
}

void TRecentFiles::Add(const QString& path) {
    // An empty entry would end the list.
    if (path.isEmpty()) {
        return;
    }
    // The entries above the path's old place, or all but the last, move one place down.
    const auto found = std::find(Entries.begin(), Entries.end(), path);
    const auto last = found != Entries.end() ? found : Entries.end() - 1;
    std::move_backward(Entries.begin(), last, last + 1);
    Entries.front() = path;
}

bool TRecentFiles::WriteToStore(TProgramSettings& settings) const {
    TSettingsStore& store = settings.StoreFile();
    const QString key = TProgramSettings::LastProjectsKeyPath();
    for (std::size_t index = 0; index < Entries.size(); ++index) {
        if (!Entries[index].isEmpty() &&
            !store.WriteString(key, ValueName(index), Entries[index])) {
            return false;
        }
    }
    return true;
}

int TRecentFiles::Count() const {
    return static_cast<int>(std::count_if(Entries.begin(), Entries.end(),
                                          [](const QString& e) { return !e.isEmpty(); }));
}

QString TRecentFiles::Path(int index) const {
    if (index < 0 || index >= MaxCount) {
        return {};
    }
    return Entries[static_cast<std::size_t>(index)];
}

QString TRecentFiles::MenuCaption(int index) const {
    if (index < 0 || index >= MaxCount) {
        return {};
    }
    // A "&" in the path must show as itself, not make the next letter an access key.
    QString path = Path(index);
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + QString::number(index + 1) + QLatin1Char(' ') + path;
}
