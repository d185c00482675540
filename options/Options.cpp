#include "Options.h"

#include "ProgramSettings.h"

#include <limits>

namespace {

// A value outside lowest .. highest reads as the default: no seconds would show nothing, a cell
// of no size would divide by nothing.
qint32 ReadWithin(TProgramSettings& settings, const TSetting<qint32>& setting, qint32 lowest,
                  qint32 highest = std::numeric_limits<qint32>::max()) {
    const qint32 value = settings.Read(setting);
    return value >= lowest && value <= highest ? value : setting.Default;
}

QString FormatName(TShotFormat format) {
    return format == TShotFormat::Png ? QStringLiteral("png") : QStringLiteral("jpg");
}

} // namespace

void TOptions::ReadOptions(TProgramSettings& settings) {
    settings.CreateKey();
    ShotPlace = TShotPlace{settings.Read(Settings::ScreenShotSaveOption)};
    ScreenShotSaveDirectory = settings.Read(Settings::ScreenShotSaveDirectory);
    IsOverwritingAsked = settings.Read(Settings::IsOverwritingAsked);
    ShotSizing = TShotSizing{settings.Read(Settings::ScreenShotResizeOption)};
    ScreenShotResizeValue = settings.Read(Settings::ScreenShotResizeValue);
    ShotFormat = settings.Read(Settings::ScreenShotFormat)
                             .compare(FormatName(TShotFormat::Png), Qt::CaseInsensitive) == 0
                     ? TShotFormat::Png
                     : TShotFormat::Jpeg;
    CaptionOnShots = settings.Read(Settings::CaptionOnShots);
    CaptionOnVideos = settings.Read(Settings::CaptionOnVideos);
    WaitingLimit = ReadWithin(settings, Settings::WaitingLimit, 1);
    TrailSeconds = ReadWithin(settings, Settings::TrailSeconds, 1);
    CellSizeMm = ReadWithin(settings, Settings::CellSizeMm, 1);
    DensityWindowMm = ReadWithin(settings, Settings::DensityWindowMm, 1);
    CongestionDensity = ReadWithin(settings, Settings::CongestionDensity, 1);
    SignificantShare = ReadWithin(settings, Settings::SignificantShare, 0, 100);
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
        write(Settings::ScreenShotFormat, FormatName(ShotFormat), FormatName(read.ShotFormat)) &&
        write(Settings::CaptionOnShots, CaptionOnShots, read.CaptionOnShots) &&
        write(Settings::CaptionOnVideos, CaptionOnVideos, read.CaptionOnVideos) &&
        write(Settings::WaitingLimit, WaitingLimit, read.WaitingLimit) &&
        write(Settings::TrailSeconds, TrailSeconds, read.TrailSeconds) &&
        write(Settings::CellSizeMm, CellSizeMm, read.CellSizeMm) &&
        write(Settings::DensityWindowMm, DensityWindowMm, read.DensityWindowMm) &&
        write(Settings::CongestionDensity, CongestionDensity, read.CongestionDensity) &&
        write(Settings::SignificantShare, SignificantShare, read.SignificantShare);
    return written ? QString() : settings.LastError();
}
