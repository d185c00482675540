// Deck, zoom, origin and light commands of the main window.

#include "MainForm.h"

#include "CameraMath.h"
#include "DeckView.h"

#include <QComboBox>
#include <QWheelEvent>

// The chooser lists the top deck first: item i stands for deck (items - 1 - i).
void TMainForm::SelectChosenDeck() {
    View->SelectDeck(DeckChooser->count() - 1 - DeckChooser->currentIndex());
    UpdateLightStatus();
}

void TMainForm::DeckUp() {
    if (!Projects->LogLoaded || DeckChooser->currentIndex() <= 0) {
        return;
    }
    DeckChooser->setCurrentIndex(DeckChooser->currentIndex() - 1);
    SelectChosenDeck();
}

void TMainForm::DeckDown() {
    if (!Projects->LogLoaded || DeckChooser->currentIndex() >= DeckChooser->count() - 1) {
        return;
    }
    DeckChooser->setCurrentIndex(DeckChooser->currentIndex() + 1);
    SelectChosenDeck();
}

void TMainForm::DeckChosen() {
    if (!Projects->LogLoaded) {
        return;
    }
    SelectChosenDeck();
    View->setFocus(); // so that the deck keys work again at once
}

void TMainForm::ZoomIn() {
    View->SetDistance(ZoomedIn(View->Distance()));
}

void TMainForm::ZoomOut() {
    View->SetDistance(ZoomedOut(View->Distance()));
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    View->SetDistance(WheelZoomed(View->Distance(), event->angleDelta().y()));
    event->accept();
}

void TMainForm::SwitchOriginMarker() {
    View->ToggleOrigin();
    Action(TCommand::ShowOrigin)->setChecked(View->ShowOrigin());
}

void TMainForm::AddLightAtCentre() {
    if (Projects->LogLoaded && View->GetLightCount() < DeckLightSlots) {
        View->AddLight();
        UpdateLightStatus();
    }
}

void TMainForm::RemoveNearestLight() {
    if (Projects->LogLoaded && View->GetLightCount() > 0) {
        View->RemoveLight();
        UpdateLightStatus();
    }
}
