#pragma once
// The status bar's panels, left to right: the lights of the deck shown, the replay time, the
// persons who have left, and what runs (a load, the animation loop, where a shot went); at the
// right end, while a screen-shot series runs, the frames it has written.

#include <QString>
#include <QStringList>

class QLabel;
class QStatusBar;

class TStatusPanels {
public:
    explicit TStatusPanels(QStatusBar& bar);

    // A path shortened in its middle to fit the message panel.
    QString Shortened(const QString& path) const;

    QLabel* LightsPanel = nullptr; // "Lights: n"
    QLabel* TimePanel = nullptr;
    QLabel* SavedPanel = nullptr;
    QLabel* MessagePanel = nullptr;
    QLabel* SeriesPanel = nullptr; // "Series: n frames written", shown while a series runs

    // "Saved 000012.jpg in /home/...", or "Replaced ..." over a file of that name: where a single
    // shot or a video went. The panel says what happened last, so a failure says so too.
    void TellShotSaved(const QString& file, bool replacing = false);
    void TellShotFailed(const QString& file);
    // "Saved runs.csv in /home/...", "Saved curve.csv and curve.png in ...": where an export went.
    void TellFilesSaved(const QStringList& files, bool replacing);
    void ShowSeries(bool running, qint64 framesWritten);

private:
    void TellAboutFiles(const QString& what, const QStringList& files);

    QStatusBar& Bar;
};
