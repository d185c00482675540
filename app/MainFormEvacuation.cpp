// The evacuation at a glance from the main window: the evacuation curve window and the
// congestion map, both from one analysis of the project's move lists, made when first asked for.

#include "MainForm.h"

#include "DeckView.h"
#include "EvacuationCurveForm.h"
#include "MessageNesting.h"
#include "ProgressDialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include <chrono>
#include <exception>
#include <future>
#include <string>

namespace {

// An analysis that takes longer than this shows the progress window.
constexpr std::chrono::milliseconds QuietWait{150};
constexpr std::chrono::milliseconds MessageInterval{15};

} // namespace

void TMainForm::ConnectEvacuation() {
    connect(Action(TCommand::EvacuationCurve), &QAction::triggered, this,
            &TMainForm::ShowEvacuationCurve);
    connect(Action(TCommand::CongestionMap), &QAction::triggered, this,
            &TMainForm::SwitchCongestionMap);
    ShowEvacuationCommands();
}

void TMainForm::ShowEvacuationCommands() {
    Commands.EnableProjectCommands(LogLoaded && LogFile != nullptr);
}

// The analysis runs beside the window, which goes on handling messages; a close or a load asked
// for meanwhile waits for it, as for any command that uses the project. Asked for again while it
// runs, there is none yet.
const TEvacuationAnalysis* TMainForm::Analysis() {
    if (LogFile == nullptr || Loading || Analysing) {
        return nullptr;
    }
    if (EvacuationAnalysis == nullptr) {
        if (const auto refusal = AnalysisRefusal(*LogFile)) {
            ShowError(*refusal);
            return nullptr;
        }
        Analysing = true;
        auto running = std::async(
            std::launch::async, [project = LogFile.get()] { return AnalyseEvacuation(*project); });
        if (running.wait_for(QuietWait) != std::future_status::ready) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            if (ProgressDialog != nullptr) {
                ProgressDialog->SetInfoText("Computing the evacuation curve...");
                ProgressDialog->Show();
            }
            while (running.wait_for(MessageInterval) != std::future_status::ready) {
                ProcessPendingMessages();
            }
            if (ProgressDialog != nullptr) {
                ProgressDialog->Close();
            }
            QGuiApplication::restoreOverrideCursor();
        }
        Analysing = false;
        try {
            EvacuationAnalysis = std::make_unique<TEvacuationAnalysis>(running.get());
        } catch (const std::exception& error) {
            ShowError(std::string("The evacuation curve could not be made: ") + error.what());
            return nullptr;
        }
    }
    return EvacuationAnalysis.get();
}

void TMainForm::ShowEvacuationCurve() {
    const TEvacuationAnalysis* analysis = Analysis();
    if (analysis == nullptr) {
        return;
    }
    if (CurveForm == nullptr) {
        CurveForm = new TEvacuationCurveForm(this);
        CurveForm->OnSecondChosen = [this](std::int32_t second) {
            ReplayCommands.Run([this, second] {
                if (LogFile != nullptr && !Loading) {
                    Replay.SeekToSecond(second);
                }
            });
        };
        // The replay's keys work while the curve has the focus, as the user watches it.
        CurveForm->addActions(Menu(TMenu::Animation)->actions());
        CurveForm->addActions({Action(TCommand::GoToStart), Action(TCommand::GoToEnd),
                               Action(TCommand::CongestionMap)});
    }
    CurveForm->SetCurve(analysis->Curve);
    CurveForm->show();
    CurveForm->raise();
    ShowCurveTime(); // once shown: a hidden window is not kept up to date
}

void TMainForm::SwitchCongestionMap() {
    const TEvacuationAnalysis* analysis =
        Action(TCommand::CongestionMap)->isChecked() ? Analysis() : nullptr;
    Action(TCommand::CongestionMap)->setChecked(analysis != nullptr);
    View->ShowCongestionMap(analysis != nullptr ? &analysis->Map : nullptr);
}

// The replay time, as the status bar counts it, between whole seconds too.
void TMainForm::ShowCurveTime() {
    if (CurveForm != nullptr && CurveForm->isVisible() && LogFile != nullptr) {
        const double perSecond = LogFile->VMax > 0 ? double(LogFile->VMax) : 1.0;
        CurveForm->ShowTime(double(Replay.TimeStep()) / perSecond + LogFile->TOff);
    }
}

// Another project has another curve and map: the window closes, the map goes off.
void TMainForm::DropEvacuation() {
    if (CurveForm != nullptr) {
        CurveForm->close();
    }
    Action(TCommand::CongestionMap)->setChecked(false);
    EvacuationAnalysis.reset();
}
