#pragma once
// The small text beside the speed chooser that tells the speed playback reaches while it stays
// below the speed chosen ("reached 1.6x"); hidden otherwise.

#include "ReachedSpeed.h"

#include <QLabel>

#include <cstdint>

class TReachedSpeedLabel : public QLabel {
    Q_OBJECT

public:
    explicit TReachedSpeedLabel(QWidget* parent);

    void Start(double asked, std::int32_t stepsPerSecond, std::int32_t step);
    void Stop();
    // A tick of playback brought the replay to the step.
    void Played(std::int32_t step);

signals:
    // The label came or went: the controls beside it make room or take it back.
    void ShownOrHidden();

private:
    void Tell(std::optional<double> reached);

    TReachedSpeed Meter;
};
