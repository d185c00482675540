#pragma once
// The strip below the 3D view: the open and project data buttons, the deck chooser, the playback
// buttons and the two screen-shot buttons; playback's time controls take the rest of the width.
// The chooser is as wide as its longest caption, between its least width and a third of the
// strip, and the buttons after it follow it.

#include "DeckChooser.h"

#include <QWidget>

class QToolButton;

class TToolBar : public QWidget {
    Q_OBJECT

public:
    explicit TToolBar(QWidget* parent);

    // Where the time controls may begin.
    int TimeControlsLeft() const;

    QToolButton* OpenButton = nullptr;
    QToolButton* ProjectDataButton = nullptr;
    TDeckChooser* DeckChooser = nullptr; // top deck first
    QToolButton* ResetButton = nullptr;
    QToolButton* PlayButton = nullptr; // down while playing
    QToolButton* SecondBackwardButton = nullptr;
    QToolButton* SecondForwardButton = nullptr;
    QToolButton* SingleShotButton = nullptr;
    QToolButton* SeriesButton = nullptr; // down while a series is on

signals:
    // The controls have new places: after a resize, or new captions in the chooser.
    void LaidOut();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();
};
