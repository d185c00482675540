#include "DeckChooser.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace {

const char* const Hint = "choose deck [up: w, down: s]";

} // namespace

TDeckChooser::TDeckChooser(QWidget* parent) : QComboBox(parent) {
    setToolTip(Hint);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { ShowWholeCaptionWhenCut(); });
}

int TDeckChooser::PreferredWidth() const {
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
    }
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize content(widest, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, this).width();
}

int TDeckChooser::LabelWidth() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
        .width();
}

QString TDeckChooser::ShownText() const {
    return fontMetrics().elidedText(currentText(), Qt::ElideMiddle, LabelWidth());
}

void TDeckChooser::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = ShownText();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TDeckChooser::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    ShowWholeCaptionWhenCut();
}

// The list shows every caption whole, however narrow the chooser.
void TDeckChooser::showPopup() {
    view()->setMinimumWidth(PreferredWidth());
    QComboBox::showPopup();
}

void TDeckChooser::ShowWholeCaptionWhenCut() {
    setToolTip(ShownText() == currentText() ? QString(Hint) : currentText() + "\n" + Hint);
}
