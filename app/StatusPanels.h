#pragma once
// The status bar's panels, left to right: the lights of the deck shown, the replay time, the
// persons who have left, and what runs (a load, the animation loop, where a shot went); at the
// right end, while a screen-shot series runs, the frames it has written.

#include <QString>

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

    // "Saved 000012.jpg in /home/...": where a single shot went.
    void TellShotSaved(const QString& file);
    void ShowSeries(bool running, qint64 framesWritten);

private:
    QStatusBar& Bar;
};
