#pragma once
// The options window's page for what the view draws over the persons: the seconds of standing at
// which the waiting colours reach their top colour, and how far back the trails reach.

#include <QWidget>

class QSpinBox;
class TOptions;

class TViewOptionsPage : public QWidget {
public:
    explicit TViewOptionsPage(QWidget* parent = nullptr);

    void Fill(const TOptions& options);
    void Apply(TOptions& options) const;

    QSpinBox* WaitingLimitField = nullptr;
    QSpinBox* TrailSecondsField = nullptr;
};
