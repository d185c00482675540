#include "ReplayCommands.h"

#include "UiServices.h"

#include <exception>
#include <utility>

void TReplayCommands::Run(std::function<void()> command) {
    Waiting.push_back(std::move(command));
    if (Busy) {
        return; // the command running now carries it out when it ends
    }
    Busy = true;
    while (!Waiting.empty()) {
        const std::function<void()> next = std::move(Waiting.front());
        Waiting.pop_front();
        RunOne(next);
    }
    Busy = false;
}

// A command that fails is told once, in a box, and those given after it still run in their
// order: each is a key of its own that the user typed, and would have run typed a moment later.
void TReplayCommands::RunOne(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowError(std::string("The command could not be carried out:\n") + error.what());
    }
}

void TReplayCommands::RunWhenIdle(const std::function<void()>& command) {
    if (!Busy) {
        Run(command);
    }
}
