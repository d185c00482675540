#pragma once
// Runs an action at most once an interval while asked to pace it, and once more when the interval
// is over if it was asked for meanwhile, so that the last request is always carried out. The
// texts of the replay's place change at every step; each change makes the window compose all of
// itself again, so while playing they are shown at most ten times a second.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class TPacedAction : public QObject {
public:
    TPacedAction(std::chrono::milliseconds interval, std::function<void()> action, QObject* owner);

    // Runs the action now, unless `paced` and it ran less than an interval ago: then once the
    // interval is over. Unpaced, it also ends the interval.
    void Request(bool paced);

private:
    void IntervalOver();

    std::function<void()> Action;
    QTimer Interval;
    bool Pending = false;
};
