#pragma once
// The user's preferences that the options window edits: where screen shots are saved, whether
// overwriting a file is asked first, how large the saved image is, how many seconds the waiting
// colours and the trails span, and how congestion and flows are measured. The main window owns the
// one record of a run; the options window, the screen-shot commands and the views read and change
// its fields directly.

#include "ProgramSettings.h"

#include <QString>
#include <QtGlobal>

// Where screen shots go. The numbers are those of the settings file, which may hold others.
enum class TShotPlace : qint32 { BesideLog = 1, AskEachTime = 2, FixedFolder = 3 };
// How large a shot is: ScreenShotResizeValue as a percentage of the view, or as the width or the
// height in pixels. The numbers are those of the settings file, which may hold others.
enum class TShotSizing : qint32 { Percentage = 1, FixedWidth = 2, FixedHeight = 3 };
// The file type of shots and series: JPEG as ever, or lossless PNG.
enum class TShotFormat { Jpeg, Png };

class TOptions {
public:
    // The fixed folder. With AskEachTime, the folder of the last shot saved through the save
    // dialog, trailing separator included.
    QString ScreenShotSaveDirectory = Settings::ScreenShotSaveDirectory.Default;
    bool IsOverwritingAsked = Settings::IsOverwritingAsked.Default;
    TShotPlace ShotPlace = TShotPlace{Settings::ScreenShotSaveOption.Default};
    TShotSizing ShotSizing = TShotSizing{Settings::ScreenShotResizeOption.Default};
    qint32 ScreenShotResizeValue = Settings::ScreenShotResizeValue.Default;
    // The seconds of standing at which the waiting colours reach their top colour.
    qint32 WaitingLimit = Settings::WaitingLimit.Default;
    // How many seconds back the trails reach.
    qint32 TrailSeconds = Settings::TrailSeconds.Default;
    // How congestion and flows are measured (see Settings::CellSizeMm).
    qint32 CellSizeMm = Settings::CellSizeMm.Default;
    qint32 DensityWindowMm = Settings::DensityWindowMm.Default;
    qint32 CongestionDensity = Settings::CongestionDensity.Default;
    qint32 SignificantShare = Settings::SignificantShare.Default;
    TShotFormat ShotFormat = TShotFormat::Jpeg;
    // Whether shots and videos carry the time, the deck and the saved count in a corner.
    bool CaptionOnShots = Settings::CaptionOnShots.Default;
    bool CaptionOnVideos = Settings::CaptionOnVideos.Default;

    // Fills every field from the program's settings key, creating the key if it is missing. A value
    // that is missing or of another type gives its field the default; values are taken as stored,
    // without range checks, except that seconds and measures of 0 or less, and a share outside
    // 0 .. 100, read as the default.
    void ReadOptions(TProgramSettings& settings);

    // Writes every field to the program's settings key, the boolean as 1 or 0; given the record
    // as it was read, only the fields changed since (see TProgramSettings::WriteIfChanged).
    // Returns an empty text when all were written; otherwise why the store refused, for the
    // caller to show. The values after a refused one are not written.
    [[nodiscard]] QString WriteOptions(TProgramSettings& settings,
                                       const TOptions* asRead = nullptr) const;
};
