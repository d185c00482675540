#include "CongestionReportWindow.h"

#include "DeckCaptionText.h"
#include "FileWriting.h"
#include "LogFile.h"
#include "Replay.h"
#include "UiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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

QByteArray BytesOf(const std::string& text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

// The line on persons sharing cells, with the deck as the deck chooser names it; empty for none.
QString SharedCellsLine(const TCongestionReport& report, const TLogFile& project) {
    const auto text = SharedCellsText(report, project,
                                      DeckCaptionText(project, report.Shared.Deck).toStdString());
    return text ? QString::fromStdString(*text) : QString();
}

QLabel* WrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString VerdictFileBeside(const QString& csvFile) {
    const QFileInfo csv(csvFile);
    return csv.dir().filePath(csv.completeBaseName() + ".txt");
}

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
    Measures = WrappedLabel(this);
    SharedCells = WrappedLabel(this);
    ExportButton = new QPushButton(QStringLiteral("&Export..."), this);
    connect(ExportButton, &QPushButton::clicked, this, &TCongestionReportWindow::ExportClick);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(ExportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Verdict);
    layout->addWidget(Measures);
    layout->addWidget(SharedCells);
    layout->addWidget(Regions, 1);
    layout->addLayout(buttons);
    resize(880, 420);
}

void TCongestionReportWindow::ShowReport(const TCongestionReport& report, const TLogFile& project) {
    Verdict->setText(CongestionVerdict(report, project));
    Measures->setText(QString::fromStdString(CongestionMeasuresText(report, project.VMax)) + ".");
    const QString shared = SharedCellsLine(report, project);
    SharedCells->setText(shared.isEmpty() ? shared : shared + ".");
    SharedCells->setVisible(!shared.isEmpty());
    Csv = CongestionCsv(report, project.VMax, project.TOff);
    LogFile = QFile::decodeName(project.FileName.c_str());
    VerdictText = QFileInfo(LogFile).fileName() + "\n" + Verdict->text() + "\n" + Measures->text() +
                  "\n" + (shared.isEmpty() ? shared : SharedCells->text() + "\n");
    Regions->setRowCount(static_cast<int>(report.Regions.size()));
    for (int row = 0; row < Regions->rowCount(); ++row) {
        const QStringList texts = RowTexts(report.Regions[static_cast<std::size_t>(row)], project);
        for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
            Regions->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
    Regions->resizeColumnsToContents();
}

QString TCongestionReportWindow::Export(const QString& csvFile) const {
    const TWriteFailure failure = WriteFilesAtomically(
        {{csvFile, BytesOf(Csv)}, {VerdictFileBeside(csvFile), VerdictText.toUtf8()}});
    return failure.Reason.isEmpty() ? QString() : failure.FileName + "\n" + failure.Reason;
}

// The dialog starts in the log's folder, with a name after the log.
void TCongestionReportWindow::ExportClick() {
    const QFileInfo log(LogFile);
    const auto chosen = Ui().SaveFileName(
        {"Export congestion report", "CSV file (*.csv)",
         QFile::encodeName(log.absolutePath()).toStdString(),
         QFile::encodeName(log.completeBaseName() + "-congestion.csv").toStdString(), "csv"});
    if (!chosen) {
        return;
    }
    const QString file = QFile::decodeName(chosen->c_str());
    const bool replacing = QFileInfo::exists(file);
    const QString error = Export(file);
    if (error.isEmpty()) {
        if (OnExported) {
            OnExported(file, replacing);
        }
        return;
    }
    if (OnExportFailed) {
        OnExportFailed(file);
    }
    Ui().MessageBox("Error", "Cannot export the congestion report:\n" + error.toStdString(),
                    TMsgIcon::Exclamation, TMsgButtons::Ok);
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
