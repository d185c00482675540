#include "PacedAction.h"

TPacedAction::TPacedAction(std::chrono::milliseconds interval, std::function<void()> action,
                           QObject* owner)
    : QObject(owner), Action(std::move(action)) {
    Interval.setSingleShot(true);
    Interval.setInterval(interval);
    connect(&Interval, &QTimer::timeout, this, &TPacedAction::IntervalOver);
}

void TPacedAction::Request(bool paced) {
    if (!paced) {
        Pending = false;
        Interval.stop();
        Action();
        return;
    }
    if (Interval.isActive()) {
        Pending = true;
        return;
    }
    Action();
    Interval.start();
}

void TPacedAction::IntervalOver() {
    if (Pending) {
        Pending = false;
        Action();
        Interval.start();
    }
}
