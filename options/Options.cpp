#include "Options.h"

#include "SettingsKeys.h"
#include "SettingsStore.h"

void TOptions1::ReadOptions(const QString& productName) {
    const TOptions1 defaults;
    TSettingsStore store;
    const QString key = SettingsKeys::KeyPath(productName);
    // If the key cannot be made the reads below simply find nothing and the defaults apply.
    (void)store.CreateKey(key);

    ScreenShotSaveOption = store.ReadInteger(key, SettingsKeys::ScreenShotSaveOption)
                               .value_or(defaults.ScreenShotSaveOption);
    ScreenShotSaveDirectory =
        store.ReadStringOrExpandable(key, SettingsKeys::ScreenShotSaveDirectory)
            .value_or(defaults.ScreenShotSaveDirectory);
    const std::optional<qint32> asked = store.ReadInteger(key, SettingsKeys::IsOverwritingAsked);
    IsOverwritingAsked = asked ? *asked != 0 : defaults.IsOverwritingAsked;
    ScreenShotResizeOption = store.ReadInteger(key, SettingsKeys::ScreenShotResizeOption)
                                 .value_or(defaults.ScreenShotResizeOption);
    ScreenShotResizeValue = store.ReadInteger(key, SettingsKeys::ScreenShotResizeValue)
                                .value_or(defaults.ScreenShotResizeValue);
}

QString TOptions1::WriteOptions(const QString& productName) const {
    TSettingsStore store;
    const QString key = SettingsKeys::KeyPath(productName);
    // Each write creates the key if it is missing.
    const bool written =
        store.WriteInteger(key, SettingsKeys::ScreenShotSaveOption, ScreenShotSaveOption) &&
        store.WriteString(key, SettingsKeys::ScreenShotSaveDirectory, ScreenShotSaveDirectory) &&
        store.WriteInteger(key, SettingsKeys::IsOverwritingAsked, IsOverwritingAsked ? 1 : 0) &&
        store.WriteInteger(key, SettingsKeys::ScreenShotResizeOption, ScreenShotResizeOption) &&
        store.WriteInteger(key, SettingsKeys::ScreenShotResizeValue, ScreenShotResizeValue);
    return written ? QString() : store.LastError();
}
