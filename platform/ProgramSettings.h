#pragma once
// The program's own values in the settings store, each declared once with its name, type and
// default, and the one place that opens the store at the program's key.

#include "SettingsStore.h"

#include <QString>
#include <QtGlobal>

// Shown as the window caption, and the last part of the key that holds the settings.
inline const QString ProductName = QStringLiteral("Ambla Viewer");

// One value below the program's key. A value that is missing or of another type reads as the
// default; a boolean is kept as the integer 1 or 0, a string may also be an expandable one.
template <typename T> struct TSetting {
    const char* Name;
    T Default;
};

namespace Settings {

// The playback speed as a multiple of real time.
inline const TSetting<qint32> MaxAnimationSpeed{"MaxAnimationSpeed", 5};
// The full path of the last log file chosen in the open dialog.
inline const TSetting<QString> LogDir{"LogDir", {}};
// The screen-shot options.
inline const TSetting<qint32> ScreenShotSaveOption{"ScreenShotSaveOption", 1};
inline const TSetting<QString> ScreenShotSaveDirectory{"ScreenShotSaveDirectory", {}};
inline const TSetting<bool> IsOverwritingAsked{"IsOverwritingAsked", false};
inline const TSetting<qint32> ScreenShotResizeOption{"ScreenShotResizeOption", 1};
inline const TSetting<qint32> ScreenShotResizeValue{"ScreenShotResizeValue", 100};
// The file type of shots and series: "jpg" or "png"; any other text reads as "jpg".
inline const TSetting<QString> ScreenShotFormat{"ScreenShotFormat", QStringLiteral("jpg")};
// The time, the deck and the saved count drawn into the upper left corner of shots and of videos.
inline const TSetting<bool> CaptionOnShots{"CaptionOnShots", false};
inline const TSetting<bool> CaptionOnVideos{"CaptionOnVideos", true};
// Persons coloured by how long each has stood still, and where that colour scale ends, seconds.
inline const TSetting<bool> ColourByWaiting{"ColourByWaiting", false};
inline const TSetting<qint32> WaitingLimit{"WaitingLimit", 30};
// The ways persons came, and how many seconds back.
inline const TSetting<bool> ShowTrails{"ShowTrails", false};
inline const TSetting<qint32> TrailSeconds{"TrailSeconds", 10};
// How congestion and flows are measured: the cell's side and the density window's side in
// millimetres, the density above which a cell is congested in tenths of persons/m², and the share
// of the time everybody takes to leave beyond which congestion is significant, in percent.
inline const TSetting<qint32> CellSizeMm{"CellSizeMm", 400};
inline const TSetting<qint32> DensityWindowMm{"DensityWindowMm", 2000};
inline const TSetting<qint32> CongestionDensity{"CongestionDensity", 40};
inline const TSetting<qint32> SignificantShare{"SignificantShare", 10};
// Persons left out while the congestion map is shown.
inline const TSetting<bool> HidePersonsOnMap{"HidePersonsOnMap", false};
// A scale bar in metres in the lower right corner of the view, its shots and its videos.
inline const TSetting<bool> ShowScaleBar{"ShowScaleBar", false};
// The congestion map of the whole replay at every moment, instead of the standing up to the
// replay's time.
inline const TSetting<bool> CongestionMapWholeReplay{"CongestionMapWholeReplay", false};

} // namespace Settings

class TProgramSettings {
public:
    // "\Software\Morvane\Ambla Viewer", and below it the recent files, values "1" to "4".
    static QString KeyPath();
    static QString LastProjectsKeyPath();

    // Makes sure the program's key exists; if it cannot be made, every read gives the default.
    void CreateKey();

    qint32 Read(const TSetting<qint32>& setting) const;
    bool Read(const TSetting<bool>& setting) const;
    QString Read(const TSetting<QString>& setting) const;

    // False if the store refused; LastError() then says why.
    [[nodiscard]] bool Write(const TSetting<qint32>& setting, qint32 value);
    [[nodiscard]] bool Write(const TSetting<bool>& setting, bool value);
    [[nodiscard]] bool Write(const TSetting<QString>& setting, const QString& value);
    // For a window that closes: a value it changed since it read asRead is written; one it did
    // not change stays as the store holds it now, which another window may have written since,
    // and is written only where it is missing, so that the store holds every value after the
    // first run.
    template <typename T>
    [[nodiscard]] bool WriteIfChanged(const TSetting<T>& setting, const T& value, const T& asRead) {
        if (value == asRead && Store.HasValue(KeyPath(), setting.Name)) {
            return true;
        }
        return Write(setting, value);
    }
    const QString& LastError() const { return Store.LastError(); }

    // The store itself, for the values that are not single settings (the recent files).
    TSettingsStore& StoreFile() { return Store; }

private:
    TSettingsStore Store;
};
