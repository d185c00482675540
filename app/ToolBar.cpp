#include "ToolBar.h"

#include <QApplication>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

constexpr int ChooserLeft = 47;
constexpr int ChooserLeastWidth = 138;
// Where the controls after the chooser stand, from its right edge.
constexpr int ResetOffset = 6;
constexpr int PlayOffset = 27;
constexpr int SecondBackwardOffset = 48;
constexpr int SecondForwardOffset = 69;
constexpr int SingleShotOffset = 95;
constexpr int SeriesOffset = 116;
constexpr int TimeControlsOffset = 143;

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
    DeckChooser = new TDeckChooser(this);
    DeckChooser->addItem("---");
    // The buttons after the chooser are placed with it.
    ResetButton =
        AddToolButton(this, {0, QStyle::SP_MediaSkipBackward, "reset to start [1]", false});
    PlayButton = AddToolButton(this, {0, QStyle::SP_MediaPlay, "play loop [2]", true});
    SecondBackwardButton =
        AddToolButton(this, {0, QStyle::SP_MediaSeekBackward, "step back [3]", false});
    SecondForwardButton =
        AddToolButton(this, {0, QStyle::SP_MediaSeekForward, "step forward [4]", false});
    SingleShotButton =
        AddToolButton(this, {0, QStyle::SP_DesktopIcon, "single screen shot [Y]", false});
    SeriesButton = AddToolButton(this, {0, QStyle::SP_DirLinkIcon, "screen shot series [X]", true});
    for (const auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(DeckChooser->model(), signal, this, &TToolBar::LayOut);
    }
    LayOut();
}

int TToolBar::TimeControlsLeft() const {
    return DeckChooser->geometry().right() + 1 + TimeControlsOffset;
}

void TToolBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TToolBar::LayOut() {
    const int widest = std::max(ChooserLeastWidth, width() / 3);
    const int chooserWidth = std::clamp(DeckChooser->PreferredWidth(), ChooserLeastWidth, widest);
    DeckChooser->setGeometry(ChooserLeft, 0, chooserWidth, height());
    const int chooserRight = ChooserLeft + chooserWidth;
    const std::pair<QToolButton*, int> followers[] = {{ResetButton, ResetOffset},
                                                      {PlayButton, PlayOffset},
                                                      {SecondBackwardButton, SecondBackwardOffset},
                                                      {SecondForwardButton, SecondForwardOffset},
                                                      {SingleShotButton, SingleShotOffset},
                                                      {SeriesButton, SeriesOffset}};
    for (const auto& [button, offset] : followers) {
        button->move(chooserRight + offset, 0);
    }
    emit LaidOut();
}
