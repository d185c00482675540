#include "ScaleBarSwitch.h"

#include "DeckView.h"
#include "Options.h"
#include "ProgramSettings.h"

#include <QAction>

TScaleBarSwitch::TScaleBarSwitch(const TOptions& options, TDeckView& view, QAction& action,
                                 QObject* parent)
    : QObject(parent), Options(options), View(view), Action(action) {
    connect(&Action, &QAction::triggered, this, &TScaleBarSwitch::Show);
}

void TScaleBarSwitch::ReadSettings(TProgramSettings& settings) {
    ShownAsRead = settings.Read(Settings::ShowScaleBar);
    Action.setChecked(ShownAsRead);
    Show();
}

bool TScaleBarSwitch::WriteSettings(TProgramSettings& settings) const {
    return settings.WriteIfChanged(Settings::ShowScaleBar, Action.isChecked(), ShownAsRead);
}

void TScaleBarSwitch::Show() {
    View.ShowScaleBar(Action.isChecked() ? std::optional(Options.CellSizeMm / 1000.0)
                                         : std::nullopt);
}
