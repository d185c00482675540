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

QString TOptions1::WriteOptions(TProgramSettings& settings) const {
    // Each write creates the key if it is missing.
    const bool written =
        settings.Write(Settings::ScreenShotSaveOption, ScreenShotSaveOption) &&
        settings.Write(Settings::ScreenShotSaveDirectory, ScreenShotSaveDirectory) &&
        settings.Write(Settings::IsOverwritingAsked, IsOverwritingAsked) &&
        settings.Write(Settings::ScreenShotResizeOption, ScreenShotResizeOption) &&
        settings.Write(Settings::ScreenShotResizeValue, ScreenShotResizeValue);
    return written ? QString() : settings.LastError();
}
