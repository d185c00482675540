#pragma once
// The one person the user picked: by a click into the view, by its number (Find person) or as
// the last to leave. The view draws it and its way, the Person window says what it did, and while
// Follow is on the camera keeps it in the centre and goes with it to another deck. The selection
// stays through play, steps and jumps; the next project clears it.

#include "SelectionDrawing.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

class QAction;
class TDeckView;
class TLogFile;
class TPersonPanel;
class TReplay;
class TViewCommands;

class TPersonSelection : public QObject {
public:
    // The project shown, or none while none is or one loads.
    using TProjectSource = std::function<TLogFile*()>;

    TPersonSelection(TProjectSource project, const TReplay& replay, TDeckView& view,
                     TViewCommands& decks, TPersonPanel& panel, QAction& followSwitch,
                     QObject* parent);

    // A click into the view: on a person, that person; beside every person, none.
    void Pick(std::optional<std::size_t> person);
    void Clear();
    // Asks for a number from 1, then selects that person on its deck, in the centre of the view;
    // one who has left, on the cell it left from, and Tell says when and from which deck.
    void FindPerson();
    // The person who leaves last (the first of the file among several), the same way.
    void SelectLastToLeave();
    // Follow on when it was off, off when it was on, the switch set so (which may have shown
    // the change already); on, the camera goes to the person at once. Without a person
    // selected, off.
    void SwitchFollow();
    // The user moved the camera's centre or chose a deck.
    void EndFollow();
    // The replay moved.
    void ShowStep();
    // The project goes.
    void Drop();

    std::optional<std::size_t> Selected() const { return Person; }
    bool IsFollowing() const { return Following; }
    const TPersonPanel& PanelWindow() const { return Panel; }

    // A line for the status bar about the person found: "Person 17 left at 2:01 from Deck 2";
    // empty for one that stands on a deck.
    std::function<void(const QString&)> Tell;

private:
    void Select(std::size_t person);
    // Its deck, and it in the centre; nothing once it has left.
    void GoToPerson();
    // The person found by its number or as the last to leave: where it stands, else where it
    // left from, saying so.
    void ShowFound();
    void ShowFacts();

    TProjectSource Project;
    const TReplay& Replay;
    TDeckView& View;
    TViewCommands& Decks;
    TPersonPanel& Panel;
    QAction& FollowSwitch;
    std::optional<std::size_t> Person;
    bool Following = false;
    std::int32_t LeftBefore = 0; // of the person selected, the same at every step
    TShownSelection Shown;       // what the view draws while a person is selected
};
