#pragma once
// Long work on the project run on another thread while the window goes on handling messages: after
// a quiet moment a wait cursor and the progress window, with its text, show until it is done. A
// close or a load asked for meanwhile waits for it, as for any command that uses the project.

#include "MessageNesting.h"
#include "ProgressDialog.h"

#include <QGuiApplication>

#include <chrono>
#include <future>
#include <string>

// Work that takes longer than this shows the progress window.
inline constexpr std::chrono::milliseconds QuietWait{150};
inline constexpr std::chrono::milliseconds MessageInterval{15};

// work's result; what it throws is thrown here.
template <typename TWork>
auto WorkBesideWindow(TProgressDialog* progress, const std::string& text, TWork work) {
    auto running = std::async(std::launch::async, std::move(work));
    if (running.wait_for(QuietWait) != std::future_status::ready) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (progress != nullptr) {
            progress->SetInfoText(text);
            progress->Show();
        }
        while (running.wait_for(MessageInterval) != std::future_status::ready) {
            ProcessPendingMessages();
        }
        if (progress != nullptr) {
            progress->Close();
        }
        QGuiApplication::restoreOverrideCursor();
    }
    return running.get();
}
