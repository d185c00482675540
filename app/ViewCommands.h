#pragma once
// The commands that change what the 3D view shows of the project: the deck (up, down, chosen in
// the chooser), the camera (zoom, fit, reset, the preset views, and saving it to a camera file),
// the origin marker and the lights, with the lights' count in the status bar.

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class TCommandActions;
class TDeckView;
class TLogFile;

class TViewCommands : public QObject {
    Q_OBJECT

public:
    // The chooser lists the decks top deck first; the panel shows the lights of the deck shown.
    // The commands act only while hasProject says a project is loaded.
    TViewCommands(TDeckView& view, QComboBox& deckChooser, QLabel& lightsPanel,
                  const TCommandActions& commands, std::function<bool()> hasProject,
                  QObject* parent);

    void DeckUp();
    void DeckDown();
    // The deck chosen in the chooser; the keys go back to the view.
    void DeckChosen();
    void ZoomIn();
    void ZoomOut();
    // A turn of the wheel by delta eighths of a degree.
    void ZoomByWheel(int delta);
    // The whole deck in view from where the camera is; the camera after a load; straight down,
    // from the side and between, each fitted.
    void FitDeck();
    void ResetView();
    void LookFromTop();
    void LookFromSide();
    void LookObliquely();
    void LookFromPlan();
    // Asks for a file and writes the camera and the deck shown to it, for --render to look from
    // there too; a file that cannot be written is told in a box and stays as it was.
    void SaveCamera();
    // Asks for a camera file and looks from its camera, on its deck when the project has it; a
    // file that cannot be read is told in a box and the view stays as it was.
    void LoadCamera();
    void SwitchOriginMarker();
    void AddLightAtCentre();
    void RemoveNearestLight();

    // The project's decks in the chooser, the lowest chosen.
    void ShowDecks(const TLogFile& project);
    // Shows deck d (0 the lowest) as if chosen, without counting as the user's choice; nothing for
    // a deck the chooser does not list.
    void ShowDeck(std::int32_t deck);
    // The count of the deck shown, and the light commands enabled as far as it allows.
    void ShowLights();

    // "Lights: n"; only "Lights:" while no deck is shown.
    static QString LightsText(std::optional<std::int32_t> count);

    // The folder of the log shown, where Save Camera starts.
    std::function<QString()> LogFolder;

signals:
    // The user chose another deck, or moved the camera to a new centre (fit, reset, a preset).
    void DeckChangedByUser();
    void CentreMovedByUser();
    // Save Camera wrote the file; replacing: a file of that name was there before.
    void CameraSaved(const QString& file, bool replacing);

private:
    void SelectChosenDeck();

    TDeckView& View;
    QComboBox& DeckChooser;
    QLabel& LightsPanel;
    const TCommandActions& Commands;
    std::function<bool()> HasProject;
};
