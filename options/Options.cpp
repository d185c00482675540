#include "Options.h"

#include "ProgramSettings.h"

void TOptions1::ReadOptions(TProgramSettings& settings) {
    settings.CreateKey();
    ScreenShotSaveOption = settings.Read(Settings::ScreenShotSaveOption);
    ScreenShotSaveDirectory = settings.Read(Settings::ScreenShotSaveDirectory);
    IsOverwritingAsked = settings.Read(Settings::IsOverwritingAsked);
    ScreenShotResizeOption = settings.Read(Settings::ScreenShotResizeOption);
    ScreenShotResizeValue = settings.Read(Settings::ScreenShotResizeValue);
}

QString TOptions1::WriteOptions(TProgramSettings& settings, const TOptions1* asRead) const {
    // Without a record as read, every field counts as changed. Each write creates the key if it
    // is missing.
    const auto write = [&](const auto& setting, const auto& value, const auto& readValue) {
        return asRead != nullptr ? settings.WriteIfChanged(setting, value, readValue)
                                 : settings.Write(setting, value);
    };
    const TOptions1& read = asRead != nullptr ? *asRead : *this;
    const bool written =
        write(Settings::ScreenShotSaveOption, ScreenShotSaveOption, read.ScreenShotSaveOption) &&
        write(Settings::ScreenShotSaveDirectory, ScreenShotSaveDirectory,
              read.ScreenShotSaveDirectory) &&
        write(Settings::IsOverwritingAsked, IsOverwritingAsked, read.IsOverwritingAsked) &&
        write(Settings::ScreenShotResizeOption, ScreenShotResizeOption,
              read.ScreenShotResizeOption) &&
        write(Settings::ScreenShotResizeValue, ScreenShotResizeValue, read.ScreenShotResizeValue);
    return written ? QString() : settings.LastError();
}
