#pragma once
// Long work on the project run on another thread while the window goes on handling messages: after
// a quiet moment a wait cursor and the progress window, with its text, show until it is done. A
// close or a load asked for meanwhile waits for it, as for any command that uses the project.

#include "MessageNesting.h"
#include "ProgressDialog.h"
#include "UiServices.h"

#include <QGuiApplication>

#include <chrono>
#include <exception>
#include <future>
#include <memory>
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

// Fills slot with work's result, worked out beside the window, unless it holds one already. When
// the work throws, a box says failure and why, and the slot stays empty. busy is true while work
// runs: asked for again meanwhile, there is none yet.
template <typename T, typename TWork>
const T* MeasureOnce(std::unique_ptr<T>& slot, bool& busy, TProgressDialog* progress,
                     const std::string& text, const std::string& failure, TWork work) {
    if (busy) {
        return nullptr;
    }
    if (slot == nullptr) {
        busy = true;
        try {
            slot = std::make_unique<T>(WorkBesideWindow(progress, text, std::move(work)));
        } catch (const std::exception& error) {
            ShowError(failure + error.what());
        }
        busy = false;
    }
    return slot.get();
}
