#pragma once
// Screen shots: a single shot of the view, and a series that shoots before every replay step,
// each file named after its time step; where they go and how large they are comes from the
// options record, which the options window edits; the options window is opened from here.

#include "JpegWriter.h"
#include "Options.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class TDeckView;
class TLogFile;
class TOptionsWindow;
class TProgramSettings;
class TReplay;

class TScreenShotTaker : public QObject {
    Q_OBJECT

public:
    // The loaded project, or none.
    using TProjectSource = std::function<const TLogFile*()>;

    // Shots of the view at the replay's step. The series has two switches, the menu entry and the
    // tool button, kept in step here.
    TScreenShotTaker(TDeckView& view, const TReplay& replay, TProjectSource project,
                     QAction& seriesEntry, QAbstractButton& seriesButton, QObject* parent);

    // The window that edits the options; without one, the options cannot be changed.
    void SetOptionsWindow(TOptionsWindow* window) { OptionsWindow = window; }

    void ReadOptions(TProgramSettings& settings);
    // Only what was changed since it was read; empty, or why the store refused.
    [[nodiscard]] QString WriteOptions(TProgramSettings& settings) const;

    void TakeSingleShot();
    // The series on or off as its switch says; with the folder asked each time, asks it now.
    void SwitchSeries();
    void SetSeriesActive(bool on);
    bool SeriesActive() const { return Series; }
    // The frame of a running series, before the replay steps.
    void ShootSeriesFrame();
    // Ends a running series, then opens the options window.
    void ShowOptions();

signals:
    // The options window closed with OK and its values are in the record.
    void OptionsApplied();
    // A shot, or a frame of a series, written to the file; replacing: a file of that name was
    // there before.
    void ShotSaved(const QString& file, bool replacing);
    // A shot or a frame of a series that could not be written; the box says why.
    void ShotFailed(const QString& file);
    // A series began or ended, or wrote one more frame: how many it has written so far.
    void SeriesProgress(bool running, qint64 framesWritten);

public:
    // Where and how large shots are written.
    TOptions Options;

private:
    enum class TShot { Single, Series };
    void TakeScreenShot(TShot shot);
    std::optional<QString> ShotFile(TShot shot);
    std::optional<QString> AskShotFile(const QString& name);
    // Where the dialogs that ask for a shot's file or a series' folder start.
    QString AskFrom() const;
    std::optional<QSize> ShotSize() const;
    TPictureFormat Format() const;
    void SaveShot(const QString& file, QSize size, TShot shot);

    TDeckView& View;
    const TReplay& Replay;
    TProjectSource Project;
    QAction& SeriesEntry;
    QAbstractButton& SeriesButton;
    TOptionsWindow* OptionsWindow = nullptr;
    TOptions OptionsAsRead; // to tell what changed
    bool Series = false;
    qint64 SeriesFrames = 0; // written by the running or the last series
    QString SeriesFolder;    // with the folder asked each time, where the series goes
    QString AskedLast;       // the folder the user chose last while the program runs
};
