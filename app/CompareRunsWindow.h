#pragma once
// The "Compare runs" window: many logs of one scenario, read beside the window two at a time. A
// row for each log: its persons, the times at which everybody, half and nine tenths of them have
// left, its significant congestion regions, or why it is left out. Below, the figures over the
// runs that count (least, mean, the 95 % value the guidelines take, greatest), the evacuation
// curves of those runs in one plot, the run of the 95 % value and the longest one drawn strong,
// and the share of runs done against their assembly times. A double click on a row (or Return)
// asks to open that log. The picture of the plots is drawn at the size chosen beside its
// Export button, titled with the runs' folder; exports go to that folder unless the user goes
// elsewhere. Not modal: the main window goes on working while the logs are read.

#include "AnalysisSettings.h"
#include "ChartPicture.h"
#include "RunSummary.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QChart;
class QLabel;
class QPushButton;
class QTableWidget;
struct TFileDialogRequest;

class TCompareRunsWindow : public QDialog {
    Q_OBJECT

public:
    explicit TCompareRunsWindow(QWidget* parent);
    // Waits for the logs being read.
    ~TCompareRunsWindow() override;

    // Asks for the logs, or a folder of them, and compares them; nothing when cancelled. While
    // logs are read, only shows the window.
    void ChooseLogs();
    void ChooseFolder();
    // Reads the logs beside the window, in the order of their names, and shows what they come to;
    // the window shows meanwhile, beside its owner the first time.
    void Compare(QStringList files);
    bool IsReading() const { return Reading.has_value(); }

    // The congestion measures, taken as a comparison starts.
    std::function<TAnalysisSettings()> Measures;
    // The log of the row double-clicked.
    std::function<void(const QString& file)> OnRunChosen;
    // The file an export wrote; replacing: a file of that name was there before.
    std::function<void(const QStringList& files, bool replacing)> OnSaved;

    const std::vector<TRunSummary>& Runs() const { return Summaries; }
    // Both plots as Export PNG draws them: side by side under the runs' folder, each with its
    // whole legend.
    TChartPicture PlotsPicture() const;

    // "Reading 3 of 50...", while logs are read.
    QLabel* Progress = nullptr;
    QTableWidget* RunTable = nullptr;
    QLabel* Figures = nullptr;
    QChart* CurvesChart = nullptr;
    QChart* TimesChart = nullptr;
    // Both plots side by side.
    QWidget* Plots = nullptr;
    // The size of the exported picture of the plots.
    TPictureSizeFields* PictureSize = nullptr;
    QPushButton* ChooseLogsButton = nullptr;
    QPushButton* ChooseFolderButton = nullptr;
    QPushButton* ExportCsvButton = nullptr;
    QPushButton* ExportPngButton = nullptr;

private:
    struct TReading {
        std::future<std::vector<TRunSummary>> Result;
        std::shared_ptr<std::atomic<std::size_t>> Finished;
        std::size_t Count = 0;
    };

    QWidget* MakeButtons();
    void ShowBesideOwner();
    QString StartFolder() const;
    void PollReading();
    void ShowRuns();
    void FillTable();
    void OpenRow(int row);
    void EnableButtons();
    void ExportCsv();
    void ExportPng();
    void Export(const TFileDialogRequest& request, const std::string& what,
                const QByteArray& bytes);

    std::vector<TRunSummary> Summaries;
    std::optional<TRunsFigures> Over;
    std::optional<TReading> Reading;
    QTimer ReadingPoll;
    QString LastFolder; // of the logs compared last
    bool Placed = false;
};
