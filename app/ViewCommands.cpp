#include "ViewCommands.h"

#include "CameraFile.h"
#include "CameraMath.h"
#include "CommandActions.h"
#include "DeckView.h"
#include "LogFile.h"
#include "TextConversion.h"
#include "UiServices.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>

TViewCommands::TViewCommands(TDeckView& view, QComboBox& deckChooser, QLabel& lightsPanel,
                             const TCommandActions& commands, std::function<bool()> hasProject,
                             QObject* parent)
    : QObject(parent), View(view), DeckChooser(deckChooser), LightsPanel(lightsPanel),
      Commands(commands), HasProject(std::move(hasProject)) {
    const auto connectAction = [this](TCommand command, void (TViewCommands::*slot)()) {
        connect(Commands.Action(command), &QAction::triggered, this, slot);
    };
    connectAction(TCommand::ZoomIn, &TViewCommands::ZoomIn);
    connectAction(TCommand::ZoomOut, &TViewCommands::ZoomOut);
    connectAction(TCommand::FitDeck, &TViewCommands::FitDeck);
    connectAction(TCommand::ResetView, &TViewCommands::ResetView);
    connectAction(TCommand::LookFromTop, &TViewCommands::LookFromTop);
    connectAction(TCommand::LookFromSide, &TViewCommands::LookFromSide);
    connectAction(TCommand::LookObliquely, &TViewCommands::LookObliquely);
    connectAction(TCommand::LookFromPlan, &TViewCommands::LookFromPlan);
    connectAction(TCommand::SaveCamera, &TViewCommands::SaveCamera);
    connectAction(TCommand::LoadCamera, &TViewCommands::LoadCamera);
    connectAction(TCommand::ShowOrigin, &TViewCommands::SwitchOriginMarker);
    connectAction(TCommand::AddLight, &TViewCommands::AddLightAtCentre);
    connectAction(TCommand::RemoveLight, &TViewCommands::RemoveNearestLight);
    Commands.Action(TCommand::ShowOrigin)->setChecked(true);
    LightsPanel.setText(LightsText(std::nullopt));
}

// The chooser lists the top deck first: item i stands for deck (items - 1 - i).
void TViewCommands::SelectChosenDeck() {
    View.SelectDeck(DeckChooser.count() - 1 - DeckChooser.currentIndex());
    ShowLights();
}

void TViewCommands::DeckUp() {
    if (!HasProject() || DeckChooser.currentIndex() <= 0) {
        return;
    }
    DeckChooser.setCurrentIndex(DeckChooser.currentIndex() - 1);
    SelectChosenDeck();
    emit DeckChangedByUser();
}

void TViewCommands::DeckDown() {
    if (!HasProject() || DeckChooser.currentIndex() >= DeckChooser.count() - 1) {
        return;
    }
    DeckChooser.setCurrentIndex(DeckChooser.currentIndex() + 1);
    SelectChosenDeck();
    emit DeckChangedByUser();
}

void TViewCommands::DeckChosen() {
    if (!HasProject()) {
        return;
    }
    SelectChosenDeck();
    emit DeckChangedByUser();
    View.setFocus(); // so that the deck keys work again at once
}

void TViewCommands::ShowDeck(std::int32_t deck) {
    const int item = DeckChooser.count() - 1 - deck;
    if (deck < 0 || item < 0 || item == DeckChooser.currentIndex()) {
        return;
    }
    DeckChooser.setCurrentIndex(item);
    SelectChosenDeck();
}

void TViewCommands::ZoomIn() {
    View.SetDistance(ZoomedIn(View.Distance()));
}

void TViewCommands::ZoomOut() {
    View.SetDistance(ZoomedOut(View.Distance()));
}

void TViewCommands::FitDeck() {
    View.FitDeck();
    emit CentreMovedByUser();
}

void TViewCommands::ResetView() {
    View.ResetView();
    emit CentreMovedByUser();
}

void TViewCommands::LookFromTop() {
    View.LookFrom(TCameraPreset::Top);
    emit CentreMovedByUser();
}

void TViewCommands::LookFromSide() {
    View.LookFrom(TCameraPreset::Side);
    emit CentreMovedByUser();
}

void TViewCommands::LookObliquely() {
    View.LookFrom(TCameraPreset::Oblique);
    emit CentreMovedByUser();
}

void TViewCommands::LookFromPlan() {
    View.LookFrom(TCameraPreset::Plan);
    emit CentreMovedByUser();
}

void TViewCommands::LoadCamera() {
    if (!HasProject()) {
        return;
    }
    const auto chosen = Ui().OpenFileName({"Load Camera", "Camera file (*.json)", "", "", "json"});
    if (!chosen) {
        return;
    }
    const TCameraFileRead read = ReadCameraFile(QString::fromStdString(*chosen));
    if (!read.Camera) {
        ShowError(("Cannot load the camera:\n" + read.Error).toStdString());
        return;
    }
    const std::int32_t decks = DeckChooser.count();
    if (read.Camera->Deck >= decks) {
        ShowError(QStringLiteral("Cannot load the camera:\ncamera file %1: the camera was saved on "
                                 "deck %2, but the log file has decks 0 to %3")
                      .arg(QString::fromStdString(*chosen))
                      .arg(read.Camera->Deck)
                      .arg(decks - 1)
                      .toStdString());
        return;
    }
    ShowDeck(read.Camera->Deck);
    TCamera camera = View.CameraState();
    PlaceSavedCamera(*read.Camera, camera);
    View.PlaceCamera(camera);
    emit CentreMovedByUser();
}

void TViewCommands::SaveCamera() {
    if (!HasProject()) {
        return;
    }
    const std::string folder = LogFolder ? LogFolder().toStdString() : std::string();
    const auto chosen =
        Ui().SaveFileName({"Save Camera", "Camera file (*.json)", folder, "camera.json", "json"});
    if (!chosen) {
        return;
    }
    const QString file = QString::fromStdString(*chosen);
    const bool replacing = QFileInfo::exists(file);
    const QString error = WriteCameraFile(file, CameraToSave(View.CameraState(), View.DeckIndex()));
    if (!error.isEmpty()) {
        ShowError(("Cannot save the camera:\n" + file + "\n" + error).toStdString());
    } else {
        emit CameraSaved(file, replacing);
    }
}

void TViewCommands::ZoomByWheel(int delta) {
    View.SetDistance(WheelZoomed(View.Distance(), delta));
}

void TViewCommands::SwitchOriginMarker() {
    View.ToggleOrigin();
    Commands.Action(TCommand::ShowOrigin)->setChecked(View.ShowOrigin());
}

void TViewCommands::AddLightAtCentre() {
    if (HasProject() && View.GetLightCount() < DeckLightSlots) {
        View.AddLight();
        ShowLights();
    }
}

void TViewCommands::RemoveNearestLight() {
    if (HasProject() && View.GetLightCount() > 0) {
        View.RemoveLight();
        ShowLights();
    }
}

void TViewCommands::ShowDecks(const TLogFile& project) {
    DeckChooser.clear();
    for (std::int32_t n = project.ZMax - 1; n >= 0; --n) {
        DeckChooser.addItem(FromFileText(project.GetDeckCaption(n)));
    }
    DeckChooser.setCurrentIndex(DeckChooser.count() - 1);
}

void TViewCommands::ShowLights() {
    const std::int32_t count = View.GetLightCount();
    LightsPanel.setText(LightsText(count));
    Commands.Action(TCommand::AddLight)->setEnabled(count < DeckLightSlots);
    Commands.Action(TCommand::RemoveLight)->setEnabled(count > 0);
}

QString TViewCommands::LightsText(std::optional<std::int32_t> count) {
    return count ? "Lights: " + QString::number(*count) : QString("Lights:");
}
