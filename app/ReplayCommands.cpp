#include "ReplayCommands.h"

#include <utility>

void TReplayCommands::Run(std::function<void()> command) {
    Waiting.push_back(std::move(command));
    if (Busy) {
        return; // the command running now carries it out when it ends
    }
    Busy = true;
    // A command that throws must not leave the queue blocked for good, nor the rest waiting.
    struct TDone {
        TReplayCommands& Queue;
        ~TDone() {
            Queue.Waiting.clear();
            Queue.Busy = false;
        }
    } done{*this};
    while (!Waiting.empty()) {
        const std::function<void()> next = std::move(Waiting.front());
        Waiting.pop_front();
        next();
    }
}

void TReplayCommands::RunWhenIdle(const std::function<void()>& command) {
    if (!Busy) {
        Run(command);
    }
}
