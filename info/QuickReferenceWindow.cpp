#include "QuickReferenceWindow.h"

#include "CommandTable.h"

#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

constexpr int FormWidth = 341;
constexpr int FormHeight = 387;
constexpr int TopStripHeight = 129;
constexpr int BottomStripHeight = 25;
constexpr QRect PictureBox(20, 12, 89, 109);
constexpr int LabelLeft = 96;
// The action texts start this far beyond the widest key text.
constexpr int TabGap = 12;

// The keys of the command table under the headings of their menus, each "key<TAB>action", in
// the order of their ranks.
struct TKeyLine {
    QString Key, Action;
};
struct TKeyGroup {
    QString Heading;
    std::vector<TKeyLine> Lines;
};

// "Shift+L" as the quick reference writes it: "Shift + L:".
QString ReferenceKeyText(const char* key) {
    return QString::fromLatin1(key).replace(QLatin1Char('+'), QLatin1String(" + ")) +
           QLatin1Char(':');
}

std::vector<TKeyGroup> KeyGroups() {
    std::vector<TKeyGroup> groups;
    for (const TMenu menu : {TMenu::File, TMenu::Views, TMenu::Animation, TMenu::Settings}) {
        std::vector<const TCommandEntry*> listed;
        for (const TCommandEntry& entry : CommandTable()) {
            if (entry.Menu == menu && entry.ReferenceText != nullptr) {
                listed.push_back(&entry);
            }
        }
        std::ranges::sort(listed, {}, &TCommandEntry::ReferenceRank);
        TKeyGroup& group = groups.emplace_back();
        group.Heading = QString::fromLatin1(ReferenceHeading(menu));
        for (const TCommandEntry* entry : listed) {
            group.Lines.push_back(
                {ReferenceKeyText(entry->Key), QString::fromLatin1(entry->ReferenceText)});
        }
    }
    return groups;
}

// A heading alone on its line, then "key<TAB>action" lines; an empty line after each group and a
// second one after the last.
QString KeyListText(const std::vector<TKeyGroup>& groups) {
    QStringList lines;
    for (const TKeyGroup& group : groups) {
        lines << group.Heading;
        for (const TKeyLine& line : group.Lines) {
            lines << line.Key + QLatin1Char('\t') + line.Action;
        }
        lines << QString();
    }
    lines << QString();
    return lines.join(QLatin1Char('\n'));
}

int WidestKeyText(const std::vector<TKeyGroup>& groups, const QFontMetrics& metrics) {
    int widest = 0;
    for (const TKeyGroup& group : groups) {
        for (const TKeyLine& line : group.Lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line.Key));
        }
    }
    return widest;
}

// The rows, in picture coordinates, where the leader lines meet their labels; kept above the
// mouse whatever the font.
struct TLeaderEnds {
    std::array<int, 3> Rows;
    int Right;
};

void DrawMouseBody(QPainter& painter, const QColor& ink) {
    const QRectF body(8.5, 46.5, 44, 60);
    QPainterPath outline;
    outline.addRoundedRect(body, 20, 22);
    QLinearGradient shade(body.topLeft(), body.bottomRight());
    shade.setColorAt(0.0, QColor(250, 250, 250));
    shade.setColorAt(1.0, QColor(190, 192, 198));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(shade);
    painter.drawPath(outline);

    // The two buttons and the wheel between them.
    painter.drawLine(QPointF(body.left(), 70.5), QPointF(body.right(), 70.5));
    painter.drawLine(QPointF(30.5, body.top()), QPointF(30.5, 70.5));
    painter.setBrush(QColor(90, 90, 96));
    painter.drawRoundedRect(QRectF(27.5, 51.5, 6, 13), 3, 3);
}

// Each leader line rises from its button and turns right to its label.
void DrawLeaderLines(QPainter& painter, const QColor& ink, const TLeaderEnds& ends) {
    const std::array<QPoint, 3> buttons{QPoint(18, 58), QPoint(30, 56), QPoint(42, 58)};
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(ink);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const QPoint start = buttons[i];
        const QPoint corner(start.x(), ends.Rows[i]);
        painter.drawLine(start, corner);
        painter.drawLine(corner, QPoint(ends.Right, corner.y()));
        painter.drawEllipse(start, 2, 2);
    }
}

QPixmap DrawMousePicture(const QColor& background, const QColor& ink, const TLeaderEnds& ends) {
    QImage image(PictureBox.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    DrawMouseBody(painter, ink);
    DrawLeaderLines(painter, ink, ends);
    painter.end();
    return QPixmap::fromImage(image);
}

// A green tick for the Ok button.
QIcon DrawConfirmIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

TQuickReferenceWindow::TQuickReferenceWindow(QWidget* parent)
    : TUnclosableDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Quick Reference"));
    setFixedSize(FormWidth, FormHeight);
    MouseStrip.setGeometry(0, 0, FormWidth, TopStripHeight);
    KeyList.setGeometry(0, TopStripHeight, FormWidth,
                        FormHeight - TopStripHeight - BottomStripHeight);
    ButtonStrip.setGeometry(0, FormHeight - BottomStripHeight, FormWidth, BottomStripHeight);
    SetUpMouseLabels();
    SetUpKeyList();
    SetUpOkButton();
}

void TQuickReferenceWindow::SetUpMouseLabels() {
    const std::array<std::pair<QLabel*, const char*>, 3> labels{{
        {&RotateLabel, "Left Mousebutton: Rotate"},
        {&ZoomLabel, "Scroll Wheel: Zoom"},
        {&MoveLabel, "Right Mouse Button: Move"},
    }};
    TLeaderEnds ends{{}, LabelLeft - PictureBox.left() - 3};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QLabel& label = *labels[i].first;
        label.setTextFormat(Qt::PlainText);
        label.setText(QString::fromLatin1(labels[i].second));
        label.move(LabelLeft, 8 + 16 * static_cast<int>(i));
        label.adjustSize();
        ends.Rows[i] = std::clamp(label.geometry().center().y() - PictureBox.top(), 2, 40);
    }
    MousePicture.setGeometry(PictureBox);
    MousePicture.setPixmap(DrawMousePicture(palette().color(QPalette::Window),
                                            palette().color(QPalette::WindowText), ends));
}

void TQuickReferenceWindow::SetUpKeyList() {
    KeyList.setReadOnly(true);
    KeyList.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    KeyList.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const std::vector<TKeyGroup> groups = KeyGroups();
    KeyList.setPlainText(KeyListText(groups));
    KeyList.setTabStopDistance(WidestKeyText(groups, KeyList.fontMetrics()) + TabGap);
}

void TQuickReferenceWindow::SetUpOkButton() {
    OkButton.setText(QStringLiteral("&Ok"));
    OkButton.setIcon(DrawConfirmIcon());
    OkButton.setGeometry(FormWidth - 83, 0, 81, BottomStripHeight);
    OkButton.setDefault(true);
    OkButton.setFocus();
    connect(&OkButton, &QPushButton::clicked, this, &QDialog::accept);
}
