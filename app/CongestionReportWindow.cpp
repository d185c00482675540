#include "CongestionReportWindow.h"

#include "DeckCaptionText.h"
#include "LogFile.h"
#include "Replay.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Steps of the replay as "m:ss", from the start or as a duration.
QString Clock(std::int32_t steps, const TLogFile& project, std::int32_t offset) {
    return QString::fromStdString(ClockText(ReplayTimeSeconds(steps, project.VMax, offset)));
}

QStringList RowTexts(const TCongestionRegion& region, const TLogFile& project) {
    return {DeckCaptionText(project, region.Deck),
            QStringLiteral("%1, %2 to %3, %4")
                .arg(region.X0)
                .arg(region.Y0)
                .arg(region.X1)
                .arg(region.Y1),
            QString::fromStdString(FixedText(region.AreaM2, 2)),
            Clock(region.FirstStep, project, project.TOff),
            Clock(region.LastStep, project, project.TOff),
            Clock(region.LongestSteps, project, 0),
            Clock(region.TotalSteps, project, 0),
            QString::fromStdString(FixedText(region.PeakDensity, 2)),
            region.Significant ? QStringLiteral("yes") : QStringLiteral("no")};
}

} // namespace

TCongestionReportWindow::TCongestionReportWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Congestion report"));
    Verdict = new QLabel(this);
    QFont bold = Verdict->font();
    bold.setBold(true);
    Verdict->setFont(bold);
    Regions = new QTableWidget(this);
    Regions->setColumnCount(9);
    Regions->setHorizontalHeaderLabels({"Deck", "Cells", "Area (m²)", "First", "Last", "Longest",
                                        "In all", "Peak (persons/m²)", "Significant"});
    Regions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Regions->setSelectionBehavior(QAbstractItemView::SelectRows);
    Regions->setSelectionMode(QAbstractItemView::SingleSelection);
    Regions->verticalHeader()->hide();
    connect(Regions, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (OnRegionChosen && row >= 0) {
            OnRegionChosen(static_cast<std::size_t>(row));
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Verdict);
    layout->addWidget(Regions, 1);
    resize(880, 360);
}

void TCongestionReportWindow::ShowReport(const TCongestionReport& report, const TLogFile& project) {
    Verdict->setText(CongestionVerdict(report, project));
    Regions->setRowCount(static_cast<int>(report.Regions.size()));
    for (int row = 0; row < Regions->rowCount(); ++row) {
        const QStringList texts = RowTexts(report.Regions[static_cast<std::size_t>(row)], project);
        for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
            Regions->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
    Regions->resizeColumnsToContents();
}

QString CongestionVerdict(const TCongestionReport& report, const TLogFile& project) {
    const std::int32_t significant = report.SignificantCount();
    if (significant == 0) {
        return QStringLiteral("No significant congestion");
    }
    // Significant regions come first, the longest of them first.
    const TCongestionRegion& longest = report.Regions.front();
    return QStringLiteral("%1 significant region%2, longest %3 min on %4")
        .arg(significant)
        .arg(significant == 1 ? "" : "s")
        .arg(Clock(longest.LongestSteps, project, 0))
        .arg(DeckCaptionText(project, longest.Deck));
}
