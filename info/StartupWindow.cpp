#include "StartupWindow.h"

#include "QtUiServices.h"
#include "VersionText.h"

#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

constexpr int FormWidth = 385;
constexpr int FormHeight = 170;
// Shorter showings are the start-up one, which a click must not cut short.
constexpr int ClickableAfterMs = 2000;

// A pale green sky over a floor grid that runs to a vanishing point, the product name in front.
QPixmap DrawAmblaArtwork() {
    QImage image(FormWidth, FormHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, FormWidth * 0.35, FormHeight);
    sky.setColorAt(0.0, QColor(238, 249, 232));
    sky.setColorAt(0.55, QColor(200, 233, 184));
    sky.setColorAt(1.0, QColor(156, 210, 132));
    painter.fillRect(image.rect(), sky);

    // Rows come closer together with distance; the columns meet in the vanishing point.
    const QPointF vanishing(FormWidth * 0.62, 92);
    const double floorDepth = FormHeight - vanishing.y();
    painter.setPen(QPen(QColor(60, 120, 50, 110), 1.0));
    for (double distance = 1.0; distance < 14.0; distance *= 1.35) {
        const double y = vanishing.y() + floorDepth / distance;
        painter.drawLine(QPointF(0, y), QPointF(FormWidth, y));
    }
    for (int column = -12; column <= 12; ++column) {
        painter.drawLine(vanishing, QPointF(vanishing.x() + column * 48.0, FormHeight));
    }

    // A few walkers on the floor, heading for the exit in the distance.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 95, 35));
    const QPointF walkers[] = {{118, 146}, {160, 127}, {205, 114}, {182, 106}, {232, 101}};
    for (const QPointF& walker : walkers) {
        const double size = 3.0 + (walker.y() - vanishing.y()) / 12.0;
        painter.drawEllipse(walker, size, size);
    }

    QFont font;
    font.setPixelSize(24);
    font.setBold(true);
    painter.setFont(font);
    const QRect nameBox(0, 0, FormWidth - 12, FormHeight - 8);
    painter.setPen(QColor(255, 255, 255, 170));
    painter.drawText(nameBox.translated(1, 1), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("Ambla Viewer"));
    painter.setPen(QColor(24, 70, 22));
    painter.drawText(nameBox, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Ambla Viewer"));
    painter.end();
    return QPixmap::fromImage(image);
}

void SetUpTextLabel(QLabel& label, QPoint topLeft) {
    label.setTextFormat(Qt::PlainText);
    label.move(topLeft);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(20, 45, 20));
    label.setPalette(palette);
}

} // namespace

TStartupWindow::TStartupWindow(QWidget* parent)
    : TUnclosableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFixedSize(FormWidth, FormHeight);

    AmblaImage.setGeometry(rect());
    AmblaImage.setScaledContents(true);
    AmblaImage.setPixmap(DrawAmblaArtwork());

    SetUpTextLabel(NoticeLabel, QPoint(8, 24));
    NoticeLabel.setText(QStringLiteral("Ambla is developed and owned by Morvane HT.\n"
                                       "\n"
                                       "Check www.morvane.example for updates."));
    NoticeLabel.adjustSize();
    SetUpTextLabel(VersionLabel, QPoint(16, 144));
    VersionLabel.setText(QStringLiteral("Version:"));

    // Clicks on the picture and the labels are clicks on the window.
    for (QLabel* child : {&AmblaImage, &NoticeLabel, &VersionLabel}) {
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    ShowingTimer.setSingleShot(true);
    ShowingTimer.setTimerType(Qt::PreciseTimer);
    connect(&ShowingTimer, &QTimer::timeout, this, &QDialog::accept);
}

void TStartupWindow::SetDisplayTime(int milliseconds) {
    ShowingTimer.setInterval(std::max(milliseconds, 0));
}

void TStartupWindow::done(int result) {
    // A click ends the showing before its time; the timer must not fire into the hidden window.
    ShowingTimer.stop();
    QDialog::done(result);
}

void TStartupWindow::showEvent(QShowEvent* event) {
    TUnclosableDialog::showEvent(event);
    StartShowing();
}

void TStartupWindow::mouseReleaseEvent(QMouseEvent* event) {
    // A click ends on release, so the release cannot land in the window below.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        EndShowing();
    }
    event->accept();
}

void TStartupWindow::StartShowing() {
    VersionLabel.setText(QStringLiteral("Version: ") + FileVersionText(3));
    VersionLabel.adjustSize();
    if (ShowingTimer.interval() > 0) {
        ShowingTimer.start();
    } else {
        // Nothing to wait for (and a timer is never started at 0): end once the window is up.
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    }
}

void TStartupWindow::EndShowing() {
    if (ShowingTimer.isActive() && ShowingTimer.interval() > ClickableAfterMs) {
        accept();
    }
}
