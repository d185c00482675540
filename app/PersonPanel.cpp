#include "PersonPanel.h"

#include "DeckCaptionText.h"
#include "ExactRatio.h"
#include "LogFile.h"
#include "Replay.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int PanelWidth = 300;

// The column and the row as the file counts them.
QString CellText(const TLogFile& project, std::int64_t cellX, std::int64_t cellY) {
    return QStringLiteral("cell %1, %2")
        .arg(cellX + project.XMax / 2)
        .arg(std::int64_t{project.YMax / 2} - cellY);
}

QString SecondsText(std::int32_t steps, std::int32_t stepsPerSecond) {
    if (stepsPerSecond <= 0) {
        return QStringLiteral("%1 steps").arg(steps);
    }
    return QStringLiteral("%1 s").arg(
        QString::fromStdString(FixedText({steps, stepsPerSecond}, 2)));
}

QString ClockAt(const TLogFile& project, std::int32_t step) {
    return QString::fromStdString(ClockText(ReplayTimeSeconds(step, project.VMax, project.TOff)));
}

} // namespace

TPersonPanel::TPersonPanel(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Person"));
    Facts = new QLabel(this);
    Facts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Facts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Facts);
    setMinimumWidth(PanelWidth);
}

void TPersonPanel::SetText(const QString& text) {
    Facts->setText(text);
}

void TPersonPanel::Reveal() {
    if (!isVisible()) {
        PlaceBesideParent();
        show();
    }
}

// At the main window's right edge, inside its screen.
void TPersonPanel::PlaceBesideParent() {
    QWidget* owner = parentWidget();
    if (owner == nullptr) {
        return;
    }
    adjustSize();
    const QRect frame = owner->window()->frameGeometry();
    QPoint corner(frame.right() - width() - 8, frame.top() + 80);
    if (const QScreen* screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        corner.setX(
            std::clamp(corner.x(), room.left(), std::max(room.left(), room.right() - width())));
        corner.setY(
            std::clamp(corner.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(corner);
}

QString DescribePerson(const TLogFile& project, std::size_t person, const TPersonFacts& facts,
                       std::int32_t step) {
    const TPersonData& data = project.Persons[person];
    const std::int32_t perSecond = project.VMax;
    QStringList lines;
    lines << QStringLiteral("Person %1 of %2").arg(person + 1).arg(project.Persons.size());
    lines << QStringLiteral("Start: %1, %2")
                 .arg(DeckCaptionText(project, data.StartLevel))
                 .arg(QStringLiteral("cell %1, %2").arg(data.StartX).arg(data.StartY));
    if (step >= facts.LeaveStep) {
        lines << QStringLiteral("Left at %1").arg(ClockAt(project, facts.LeaveStep));
    } else if (data.Level >= 0) {
        lines << QStringLiteral("Now: %1, %2")
                     .arg(DeckCaptionText(project, data.Level))
                     .arg(CellText(project, data.CellX, data.CellY));
    }
    lines << QStringLiteral("Steps walked: %1").arg(facts.StepsWalked);
    lines << QStringLiteral("Stood still: %1 so far, %2 in all")
                 .arg(SecondsText(facts.StepsStood, perSecond))
                 .arg(SecondsText(facts.StepsStoodInAll, perSecond));
    lines << QStringLiteral("Leaves at %1 (step %2); %3 left before")
                 .arg(ClockAt(project, facts.LeaveStep))
                 .arg(facts.LeaveStep)
                 .arg(facts.LeftBefore);
    return lines.join(QLatin1Char('\n'));
}
