#include "ReachedSpeedLabel.h"

TReachedSpeedLabel::TReachedSpeedLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setToolTip("the speed playback reaches on this computer");
    hide();
}

void TReachedSpeedLabel::Start(double asked, std::int32_t stepsPerSecond, std::int32_t step) {
    Meter.Start(asked, stepsPerSecond, step, TReachedSpeed::TClock::now());
    Tell(std::nullopt);
}

void TReachedSpeedLabel::Stop() {
    Meter.Stop();
    Tell(std::nullopt);
}

void TReachedSpeedLabel::Played(std::int32_t step) {
    Tell(Meter.Played(step, TReachedSpeed::TClock::now()));
}

void TReachedSpeedLabel::Tell(std::optional<double> reached) {
    if (reached) {
        setText(QString::fromStdString(TReachedSpeed::Text(*reached)));
    }
    if (isHidden() == reached.has_value()) {
        setVisible(reached.has_value());
        emit ShownOrHidden();
    }
}
