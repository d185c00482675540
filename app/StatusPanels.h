#pragma once
// The status bar's panels, left to right: the lights of the deck shown, the replay time, the
// persons who have left, and what runs (a load, the animation loop).

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

private:
    QStatusBar& Bar;
};
