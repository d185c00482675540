#pragma once
// The replay lets messages run between its steps, so that the view shows each of them; a key
// handled there would move the replay in the middle of another command, and the rest of that
// command would go on from the new place. Every command that moves the replay therefore runs
// through this one queue: one at a time, in the order the user gave them, so that keys typed
// faster than the replay runs end where the same keys typed slowly end.

#include <deque>
#include <functional>

class TReplayCommands {
public:
    // Runs command now, or, while another one runs, after it and after those given before. A
    // command that throws is told in a box, and the queue goes on.
    void Run(std::function<void()> command);
    // Runs command now when no other one runs, else drops it: for the playback timer, whose
    // ticks only keep time.
    void RunWhenIdle(const std::function<void()>& command);
    bool Running() const { return Busy; }

private:
    static void RunOne(const std::function<void()>& command);

    std::deque<std::function<void()>> Waiting;
    bool Busy = false;
};
