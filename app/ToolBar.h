#pragma once
// The strip below the 3D view: the open and project data buttons, the deck chooser, the playback
// buttons and the two screen-shot buttons, each at its fixed place; playback's time controls take
// the rest of the width.

#include <QWidget>

class QComboBox;
class QToolButton;

class TToolBar : public QWidget {
public:
    explicit TToolBar(QWidget* parent);

    QToolButton* OpenButton = nullptr;
    QToolButton* ProjectDataButton = nullptr;
    QComboBox* DeckChooser = nullptr; // top deck first
    QToolButton* ResetButton = nullptr;
    QToolButton* PlayButton = nullptr; // down while playing
    QToolButton* SecondBackwardButton = nullptr;
    QToolButton* SecondForwardButton = nullptr;
    QToolButton* SingleShotButton = nullptr;
    QToolButton* SeriesButton = nullptr; // down while a series is on
};
