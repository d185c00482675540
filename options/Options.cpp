#include "Options.h"

#include "ProgramSettings.h"

namespace {

// A span of no seconds or fewer would show nothing.
qint32 ReadSeconds(TProgramSettings& settings, const TSetting<qint32>& setting) {
    const qint32 seconds = settings.Read(setting);
    return seconds > 0 ? seconds : setting.Default;
}

} // namespace

void TOptions::ReadOptions(TProgramSettings& settings) {
    settings.CreateKey();
    ShotPlace = TShotPlace{settings.Read(Settings::ScreenShotSaveOption)};
    ScreenShotSaveDirectory = settings.Read(Settings::ScreenShotSaveDirectory);
    IsOverwritingAsked = settings.Read(Settings::IsOverwritingAsked);
    ShotSizing = TShotSizing{settings.Read(Settings::ScreenShotResizeOption)};
    ScreenShotResizeValue = settings.Read(Settings::ScreenShotResizeValue);
    WaitingLimit = ReadSeconds(settings, Settings::WaitingLimit);
    TrailSeconds = ReadSeconds(settings, Settings::TrailSeconds);
}

QString TOptions::WriteOptions(TProgramSettings& settings, const TOptions* asRead) const {
    // Without a record as read, every field counts as changed. Each write creates the key if it
    // is missing.
    const auto write = [&](const auto& setting, const auto& value, const auto& readValue) {
        return asRead != nullptr ? settings.WriteIfChanged(setting, value, readValue)
                                 : settings.Write(setting, value);
    };
    const TOptions& read = asRead != nullptr ? *asRead : *this;
    const bool written =
        write(Settings::ScreenShotSaveOption, qint32(ShotPlace), qint32(read.ShotPlace)) &&
        write(Settings::ScreenShotSaveDirectory, ScreenShotSaveDirectory,
              read.ScreenShotSaveDirectory) &&
        write(Settings::IsOverwritingAsked, IsOverwritingAsked, read.IsOverwritingAsked) &&
        write(Settings::ScreenShotResizeOption, qint32(ShotSizing), qint32(read.ShotSizing)) &&
        write(Settings::ScreenShotResizeValue, ScreenShotResizeValue, read.ScreenShotResizeValue) &&
        write(Settings::WaitingLimit, WaitingLimit, read.WaitingLimit) &&
        write(Settings::TrailSeconds, TrailSeconds, read.TrailSeconds);
    return written ? QString() : settings.LastError();
}
