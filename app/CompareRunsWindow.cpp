#include "CompareRunsWindow.h"

#include "EvacuationCurveWindow.h" // PlaceBeside
#include "FileWriting.h"
#include "ProgramSettings.h"
#include "RunPlots.h"
#include "UiServices.h"

#include <QBuffer>
#include <QChart>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <exception>
#include <limits>

namespace {

constexpr std::chrono::milliseconds PollInterval{100};
// What the table sorts a column by: a number for every cell, so that times sort as numbers and
// file names in the order they were read.
constexpr int SortRole = Qt::UserRole + 1;
// The run of a row, on its first cell, whatever the order the table shows.
constexpr int RunRole = Qt::UserRole + 2;

enum TColumn {
    FileColumn,
    PersonsColumn,
    AllLeftColumn,
    HalfColumn,
    NineTenthsColumn,
    RegionsColumn,
    FaultColumn,
    ColumnCount
};

class TSortedItem final : public QTableWidgetItem {
public:
    TSortedItem(const QString& text, double sortKey) : QTableWidgetItem(text) {
        setData(SortRole, sortKey);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(SortRole).toDouble() < other.data(SortRole).toDouble();
    }
};

// Names in the order a person reads them: run2 before run10. The "C" locale of a bare environment
// knows no such order, English does.
QStringList InNameOrder(QStringList files) {
    QCollator collator(QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale());
    collator.setNumericMode(true);
    std::ranges::stable_sort(files, [&](const QString& a, const QString& b) {
        return collator.compare(QFileInfo(a).fileName(), QFileInfo(b).fileName()) < 0;
    });
    return files;
}

QString FiguresText(const std::vector<TRunSummary>& runs,
                    const std::optional<TRunsFigures>& figures) {
    if (!figures) {
        return QStringLiteral("No run counts: every log is left out.");
    }
    const auto figure = [&](const TRunFigure& f) {
        return QStringLiteral("%1 s (%2)")
            .arg(RunSeconds(f.Milliseconds), RunFileName(runs[f.Run]));
    };
    const QString rank =
        figures->FewerThanTwenty()
            ? QStringLiteral("the highest, fewer than 20 runs")
            : QStringLiteral("rank %1 of %2").arg(figures->NinetyFifthRank).arg(figures->Counted);
    return QStringLiteral("%1 runs count, %2 left out. Everybody has left: least %3, mean %4 s, "
                          "95 % value %5 s (%6, %7), greatest %8.")
        .arg(figures->Counted)
        .arg(figures->LeftOut)
        .arg(figure(figures->Least), RunSeconds(figures->MeanSeconds),
             RunSeconds(figures->NinetyFifth.Milliseconds),
             RunFileName(runs[figures->NinetyFifth.Run]), rank, figure(figures->Greatest));
}

QStringList RowTexts(const TRunSummary& run) {
    if (!run.Counts()) {
        return {
            RunFileName(run), "", "", "", "", "", "Left out: " + QString::fromStdString(run.Fault)};
    }
    return {RunFileName(run),
            QString::number(run.Persons),
            RunSeconds(run.Left.AllMs),
            RunSeconds(run.Left.HalfMs),
            RunSeconds(run.Left.NineTenthsMs),
            QString::number(run.SignificantRegions),
            ""};
}

// The numbers the columns sort by; a run left out after all others.
std::vector<double> SortKeys(const TRunSummary& run, std::size_t index) {
    constexpr double Last = std::numeric_limits<double>::infinity();
    if (!run.Counts()) {
        return {double(index), Last, Last, Last, Last, Last, 1.0};
    }
    return {double(index),
            double(run.Persons),
            double(run.Left.AllMs),
            double(run.Left.HalfMs),
            double(run.Left.NineTenthsMs),
            double(run.SignificantRegions),
            0.0};
}

} // namespace

TCompareRunsWindow::TCompareRunsWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Compare runs"));
    Progress = new QLabel(this);
    RunTable = new QTableWidget(0, ColumnCount, this);
    RunTable->setHorizontalHeaderLabels({"File", "Persons", "All left (s)", "50 % (s)", "90 % (s)",
                                         "Significant regions", "Fault"});
    RunTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RunTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    RunTable->setSelectionMode(QAbstractItemView::SingleSelection);
    RunTable->verticalHeader()->hide();
    RunTable->horizontalHeader()->setStretchLastSection(true);
    RunTable->horizontalHeader()->setSortIndicator(FileColumn, Qt::AscendingOrder);
    // A double click, or Return on the current row.
    connect(RunTable, &QTableWidget::activated, this,
            [this](const QModelIndex& index) { OpenRow(index.row()); });
    Figures = new QLabel(this);
    Figures->setWordWrap(true);
    Figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(RunTable, 1);
    topLayout->addWidget(Figures);
    Plots = new QWidget(this);
    Plots->setAutoFillBackground(true);
    Plots->setPalette(QPalette(Qt::white));
    auto* plotLayout = new QHBoxLayout(Plots);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    CurvesChart = AddRunsChartView(*Plots, *plotLayout, 3);
    CurvesChart->setTitle("Evacuation curves of the runs that count");
    TimesChart = AddRunsChartView(*Plots, *plotLayout, 2);
    TimesChart->setTitle("Assembly times");
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(Plots);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Progress);
    layout->addWidget(splitter, 1);
    layout->addWidget(MakeButtons());
    Progress->hide();
    ReadingPoll.setInterval(PollInterval);
    connect(&ReadingPoll, &QTimer::timeout, this, &TCompareRunsWindow::PollReading);
    EnableButtons();
    resize(1040, 780);
}

TCompareRunsWindow::~TCompareRunsWindow() = default;

QWidget* TCompareRunsWindow::MakeButtons() {
    auto* buttons = new QWidget(this);
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const QString& text, void (TCompareRunsWindow::*clicked)()) {
        auto* button = new QPushButton(text, buttons);
        // Return belongs to the table, where it opens the current row.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, clicked);
        layout->addWidget(button);
        return button;
    };
    ChooseLogsButton = add("Choose &logs...", &TCompareRunsWindow::ChooseLogs);
    ChooseFolderButton = add("Choose &folder...", &TCompareRunsWindow::ChooseFolder);
    layout->addStretch(1);
    ExportCsvButton = add("Export &CSV...", &TCompareRunsWindow::ExportCsv);
    PictureSize = new TPictureSizeFields(buttons);
    layout->addSpacing(12);
    layout->addWidget(PictureSize);
    ExportPngButton = add("Export &PNG...", &TCompareRunsWindow::ExportPng);
    return buttons;
}

// Where the dialogs start: the folder of the logs compared last, else that of the log loaded
// last.
QString TCompareRunsWindow::StartFolder() const {
    if (!LastFolder.isEmpty()) {
        return LastFolder;
    }
    const QString last = TProgramSettings().Read(Settings::LogDir);
    return last.left(last.lastIndexOf('/') + 1);
}

void TCompareRunsWindow::ChooseLogs() {
    if (IsReading()) {
        ShowBesideOwner();
        return;
    }
    const auto chosen = Ui().OpenFileNames(
        {"Compare runs", "3D log file (*.3dl)", StartFolder().toStdString(), "", "3dl"});
    if (!chosen || chosen->empty()) {
        return;
    }
    QStringList files;
    for (const std::string& file : *chosen) {
        files << QString::fromStdString(file);
    }
    Compare(files);
}

void TCompareRunsWindow::ChooseFolder() {
    if (IsReading()) {
        ShowBesideOwner();
        return;
    }
    const auto chosen =
        Ui().ChooseDirectory("Compare the runs in a folder", StartFolder().toStdString());
    if (!chosen) {
        return;
    }
    const QDir folder(QString::fromStdString(*chosen));
    QStringList files;
    for (const QString& name : folder.entryList({"*.3dl"}, QDir::Files)) {
        files << folder.filePath(name);
    }
    if (files.isEmpty()) {
        Ui().MessageBox("Compare runs", "There is no log file (*.3dl) in\n" + *chosen,
                        TMsgIcon::Exclamation, TMsgButtons::Ok);
        return;
    }
    Compare(files);
}

void TCompareRunsWindow::Compare(QStringList files) {
    if (IsReading() || files.isEmpty()) {
        return;
    }
    files = InNameOrder(files);
    LastFolder = QFileInfo(files.front()).absolutePath();
    std::vector<std::string> names;
    for (const QString& file : files) {
        names.push_back(QFile::encodeName(file).toStdString());
    }
    const TAnalysisSettings settings = Measures ? Measures() : TAnalysisSettings{};
    auto finished = std::make_shared<std::atomic<std::size_t>>(0);
    // Two at a time: each log read takes memory like the project it holds.
    Reading =
        TReading{std::async(std::launch::async,
                            [names, settings, finished] {
                                return SummariseRuns(
                                    names, settings, 2, /*keepCurves=*/true,
                                    [finished](std::size_t, const TRunSummary&) { ++*finished; });
                            }),
                 finished, names.size()};
    Summaries.clear();
    Over.reset();
    ShowRuns();
    PollReading();
    ReadingPoll.start();
    ShowBesideOwner();
}

void TCompareRunsWindow::ShowBesideOwner() {
    if (!Placed && parentWidget() != nullptr) {
        // Beside the main window the first time, so that a log opened from a row is seen at
        // once; where the user puts it after that.
        const QWidget* owner = parentWidget()->window();
        const QRect place =
            PlaceBeside(owner->screen()->availableGeometry(), owner->frameGeometry(), size());
        resize(place.size());
        move(place.topLeft());
        Placed = true;
    }
    show();
    raise();
    activateWindow();
}

void TCompareRunsWindow::PollReading() {
    if (!Reading) {
        return;
    }
    if (Reading->Result.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        const std::size_t reading = std::min(Reading->Finished->load() + 1, Reading->Count);
        Progress->setText(QStringLiteral("Reading %1 of %2...").arg(reading).arg(Reading->Count));
        Progress->show();
        return;
    }
    ReadingPoll.stop();
    Progress->hide();
    auto result = std::move(Reading->Result);
    Reading.reset();
    try {
        Summaries = result.get();
    } catch (const std::exception& error) {
        ShowError(std::string("Cannot compare the runs:\n") + error.what());
    }
    Over = FiguresOver(Summaries);
    ShowRuns();
}

void TCompareRunsWindow::ShowRuns() {
    FillTable();
    Figures->setText(Summaries.empty() ? QString() : FiguresText(Summaries, Over));
    PlotRunCurves(*CurvesChart, Summaries, Over);
    PlotAssemblyTimes(*TimesChart, Summaries, Over);
    EnableButtons();
}

void TCompareRunsWindow::FillTable() {
    RunTable->setSortingEnabled(false); // else each cell set moves its row
    RunTable->setRowCount(static_cast<int>(Summaries.size()));
    const QColor leftOut = palette().color(QPalette::Disabled, QPalette::Text);
    for (std::size_t k = 0; k < Summaries.size(); ++k) {
        const TRunSummary& run = Summaries[k];
        const QStringList texts = RowTexts(run);
        const std::vector<double> keys = SortKeys(run, k);
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new TSortedItem(texts[column], keys[std::size_t(column)]);
            item->setTextAlignment(column == FileColumn || column == FaultColumn
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            if (!run.Counts()) {
                item->setForeground(leftOut);
            }
            RunTable->setItem(static_cast<int>(k), column, item);
        }
        RunTable->item(static_cast<int>(k), FileColumn)->setData(RunRole, qulonglong(k));
        RunTable->item(static_cast<int>(k), FileColumn)
            ->setToolTip(QFile::decodeName(run.File.c_str()));
        RunTable->item(static_cast<int>(k), FaultColumn)
            ->setToolTip(QString::fromStdString(run.Fault));
    }
    RunTable->setSortingEnabled(true);
    RunTable->resizeColumnsToContents();
}

void TCompareRunsWindow::OpenRow(int row) {
    const QTableWidgetItem* first = RunTable->item(row, FileColumn);
    if (first == nullptr || !OnRunChosen) {
        return;
    }
    const auto run = static_cast<std::size_t>(first->data(RunRole).toULongLong());
    if (run < Summaries.size()) {
        OnRunChosen(QFile::decodeName(Summaries[run].File.c_str()));
    }
}

void TCompareRunsWindow::EnableButtons() {
    ChooseLogsButton->setEnabled(!IsReading());
    ChooseFolderButton->setEnabled(!IsReading());
    ExportCsvButton->setEnabled(!Summaries.empty());
    ExportPngButton->setEnabled(Over.has_value());
}

void TCompareRunsWindow::ExportCsv() {
    const std::string csv = RunsCsv(Summaries);
    Export({"Export runs", "CSV file (*.csv)", LastFolder.toStdString(), "runs.csv", "csv"},
           "the runs", QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
}

void TCompareRunsWindow::ExportPng() {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QImage picture = PlotsPicture().Draw(PictureSize->Pixels());
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        png.clear();
    }
    Export({"Export plots", "PNG image (*.png)", LastFolder.toStdString(), "runs.png", "png"},
           "the plots", png);
}

TChartPicture TCompareRunsWindow::PlotsPicture() const {
    const QString folder = QFileInfo(LastFolder).fileName();
    const QString title =
        QStringLiteral("Runs in %1")
            .arg(folder.isEmpty() ? QDir::toNativeSeparators(LastFolder) : folder);
    return TChartPicture({{CurvesChart, 3, {}}, {TimesChart, 2, {}}}, title, Figures->font());
}

// Asks where, and writes the bytes there whole or not at all; empty bytes could not be made.
// A failure is told in a box, and the file there before stays as it was; a success to OnSaved.
void TCompareRunsWindow::Export(const TFileDialogRequest& request, const std::string& what,
                                const QByteArray& bytes) {
    const auto chosen = Ui().SaveFileName(request);
    if (!chosen) {
        return;
    }
    const QString file = QString::fromStdString(*chosen);
    const bool replacing = QFileInfo::exists(file);
    const QString error = bytes.isEmpty() ? QStringLiteral("The picture could not be made.")
                                          : WriteFileAtomically(file, bytes);
    if (!error.isEmpty()) {
        Ui().MessageBox("Error",
                        "Cannot export " + what + ":\n" + *chosen + "\n" + error.toStdString(),
                        TMsgIcon::Exclamation, TMsgButtons::Ok);
    } else if (OnSaved) {
        OnSaved({file}, replacing);
    }
}
