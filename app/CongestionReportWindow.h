#pragma once
// The "Congestion report" window: whether the evacuation passes the congestion criterion, in one
// line, the measures it was judged with, whether persons shared cells, and every congested region
// in a table, the significant ones first. A click on a row asks to see the region. The table and
// the verdict can be exported. It does not block the main window.

#include "Congestion.h"

#include <QDialog>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;
class TLogFile;

class TCongestionReportWindow : public QDialog {
public:
    explicit TCongestionReportWindow(QWidget* parent);

    void ShowReport(const TCongestionReport& report, const TLogFile& project);

    // Writes the table as --congestion prints it to csvFile and the verdict with its measures
    // beside it (the same name ending in .txt), both replacing their older files together or not
    // at all. Empty on success, else the file that failed and why.
    QString Export(const QString& csvFile) const;

    // The region of the row clicked, by its place in the report.
    std::function<void(std::size_t region)> OnRegionChosen;
    // Where an export went, and whether it replaced a file of that name; or that it failed.
    std::function<void(const QString& csvFile, bool replacing)> OnExported;
    std::function<void(const QString& csvFile)> OnExportFailed;

    QLabel* Verdict = nullptr;
    QLabel* Measures = nullptr;
    QLabel* SharedCells = nullptr; // hidden when no cell held two persons
    QTableWidget* Regions = nullptr;
    QPushButton* ExportButton = nullptr;

private:
    void ExportClick();

    std::string Csv;
    QString VerdictText; // the lines of the exported text
    QString LogFile;
};

// "No significant congestion", or "3 significant regions, longest 1:42 min on Deck 2 - Cabins".
QString CongestionVerdict(const TCongestionReport& report, const TLogFile& project);

// The file next to the exported table that holds the verdict: the same name ending in .txt.
QString VerdictFileBeside(const QString& csvFile);
