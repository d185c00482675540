#pragma once
// Message handlers may run while code further up the stack waits for message processing or for a
// modal window to return, and that code goes on afterwards with whatever it was using. A handler
// that would destroy or replace such data (a close, a load) must put that off until no code waits
// any more. Everything in the program that lets pending messages run does it inside a
// TMessageNesting, so that this is known in one place.

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class TMessageNesting {
public:
    TMessageNesting();
    ~TMessageNesting();
    TMessageNesting(const TMessageNesting&) = delete;
    TMessageNesting& operator=(const TMessageNesting&) = delete;

    // True while some code waits for message processing to return.
    static bool Active();

    // Runs action from the event loop once no code waits inside message processing: posted
    // now when none does, else posted when the outermost nesting ends, and put off again when
    // it comes to run inside a new nesting. Dropped when context is destroyed before it runs.
    static void RunWhenNotNested(QObject* context, std::function<void()> action);

private:
    struct TWaiting {
        QPointer<QObject> Context;
        std::function<void()> Action;
    };
    static void Post(TWaiting waiting);

    static int Depth;
    static std::vector<TWaiting> Waiting;
};

// Lets the toolkit handle what is pending (repaints, timers, the window system's requests) inside
// a nesting; input waits in the toolkit's queue until the event loop comes round again.
void ProcessPendingMessages();
