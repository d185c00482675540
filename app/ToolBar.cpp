#include "ToolBar.h"

#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QToolButton>

namespace {

struct TToolButtonLayout {
    int Left;
    QStyle::StandardPixmap Picture;
    const char* Hint;
    bool Toggle;
};

QToolButton* AddToolButton(QWidget* panel, const TToolButtonLayout& place) {
    auto* button = new QToolButton(panel);
    button->setGeometry(place.Left, 0, 21, 21);
    button->setIcon(QApplication::style()->standardIcon(place.Picture));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(place.Hint);
    button->setCheckable(place.Toggle);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TToolBar::TToolBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(21);
    OpenButton = AddToolButton(this, {0, QStyle::SP_DialogOpenButton, "load file [Ctrl+L]", false});
    ProjectDataButton =
        AddToolButton(this, {21, QStyle::SP_FileDialogDetailedView, "statistics", false});
    DeckChooser = new QComboBox(this);
    DeckChooser->setGeometry(47, 0, 138, 21);
    DeckChooser->addItem("---");
    DeckChooser->setToolTip("choose deck [up: w, down: s]");
    ResetButton =
        AddToolButton(this, {191, QStyle::SP_MediaSkipBackward, "reset to start [1]", false});
    PlayButton = AddToolButton(this, {212, QStyle::SP_MediaPlay, "play loop [2]", true});
    SecondBackwardButton =
        AddToolButton(this, {233, QStyle::SP_MediaSeekBackward, "step back [3]", false});
    SecondForwardButton =
        AddToolButton(this, {254, QStyle::SP_MediaSeekForward, "step forward [4]", false});
    SingleShotButton =
        AddToolButton(this, {280, QStyle::SP_DesktopIcon, "single screen shot [Y]", false});
    SeriesButton =
        AddToolButton(this, {301, QStyle::SP_DirLinkIcon, "screen shot series [X]", true});
}
