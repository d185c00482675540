#pragma once
// The "Congestion report" window: whether the evacuation passes the congestion criterion, in one
// line, and every congested region in a table, the significant ones first. A click on a row asks
// to see the region. It does not block the main window.

#include "Congestion.h"

#include <QDialog>
#include <QString>

#include <cstddef>
#include <functional>

class QLabel;
class QTableWidget;
class TLogFile;

class TCongestionReportWindow : public QDialog {
public:
    explicit TCongestionReportWindow(QWidget* parent);

    void ShowReport(const TCongestionReport& report, const TLogFile& project);

    // The region of the row clicked, by its place in the report.
    std::function<void(std::size_t region)> OnRegionChosen;

    QLabel* Verdict = nullptr;
    QTableWidget* Regions = nullptr;
};

// "No significant congestion", or "3 significant regions, longest 1:42 min on Deck 2 - Cabins".
QString CongestionVerdict(const TCongestionReport& report, const TLogFile& project);
