#include "StatusPanels.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int StatusPathWidth = 500;

} // namespace

TStatusPanels::TStatusPanels(QStatusBar& bar) : Bar(bar) {
    const auto addPanel = [&bar](int width, int stretch) {
        auto* panel = new QLabel(&bar);
        // Panels keep their widths but grow rather than cut their text off.
        panel->setMinimumWidth(width);
        bar.addWidget(panel, stretch);
        return panel;
    };
    LightsPanel = addPanel(50, 0);
    TimePanel = addPanel(100, 0);
    SavedPanel = addPanel(100, 0);
    MessagePanel = addPanel(50, 1);
    SeriesPanel = new QLabel(&bar);
    SeriesPanel->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    bar.addPermanentWidget(SeriesPanel);
    SeriesPanel->hide();
}

void TStatusPanels::TellShotSaved(const QString& file, bool replacing) {
    TellFilesSaved({file}, replacing);
}

void TStatusPanels::TellShotFailed(const QString& file) {
    TellAboutFiles(QStringLiteral("Could not save"), {file});
}

void TStatusPanels::TellFilesSaved(const QStringList& files, bool replacing) {
    TellAboutFiles(replacing ? QStringLiteral("Replaced") : QStringLiteral("Saved"), files);
}

// The files of one export share a folder: named once, after them.
void TStatusPanels::TellAboutFiles(const QString& what, const QStringList& files) {
    if (files.isEmpty()) {
        return;
    }
    QStringList names;
    for (const QString& file : files) {
        names << QFileInfo(file).fileName();
    }
    MessagePanel->setText(
        what + " " + names.join(QStringLiteral(" and ")) + " in " +
        Shortened(QDir::toNativeSeparators(QFileInfo(files.front()).absolutePath())));
}

void TStatusPanels::ShowSeries(bool running, qint64 framesWritten) {
    SeriesPanel->setText(QStringLiteral("Series: %1 frame%2 written")
                             .arg(framesWritten)
                             .arg(framesWritten == 1 ? "" : "s"));
    SeriesPanel->setVisible(running);
}

QString TStatusPanels::Shortened(const QString& path) const {
    const QFontMetrics metrics(Bar.font());
    return metrics.elidedText(path, Qt::ElideMiddle, StatusPathWidth);
}
