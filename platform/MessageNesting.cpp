#include "MessageNesting.h"

#include <QCoreApplication>
#include <QTimer>

#include <utility>

int TMessageNesting::Depth = 0;
std::vector<TMessageNesting::TWaiting> TMessageNesting::Waiting;

TMessageNesting::TMessageNesting() {
    ++Depth;
}

TMessageNesting::~TMessageNesting() {
    if (--Depth > 0) {
        return;
    }
    // The code that waited goes on from here: post, never run, what was put off.
    for (TWaiting& waiting : std::exchange(Waiting, {})) {
        Post(std::move(waiting));
    }
}

bool TMessageNesting::Active() {
    return Depth > 0;
}

void TMessageNesting::RunWhenNotNested(QObject* context, std::function<void()> action) {
    TWaiting waiting{context, std::move(action)};
    if (Active()) {
        Waiting.push_back(std::move(waiting));
    } else {
        Post(std::move(waiting));
    }
}

void TMessageNesting::Post(TWaiting waiting) {
    QObject* context = waiting.Context.data();
    if (context == nullptr) {
        return; // its owner is gone
    }
    QTimer::singleShot(0, context, [waiting = std::move(waiting)]() mutable {
        if (Active()) {
            Waiting.push_back(std::move(waiting));
        } else {
            waiting.Action();
        }
    });
}

// Input is left queued: a key typed while a load or a step runs is handled once it is over, by the
// window that has the keys then, as if typed after it. Handled here, it would find the controls
// off during a load, or start a command inside the one that runs.
void ProcessPendingMessages() {
    const TMessageNesting nesting;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
