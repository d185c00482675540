#pragma once
// The options window's page for how congestion and flows are measured: the size of a cell (the
// log counts in cells and does not say), the side of the window the local density is taken in,
// the density above which a cell is congested, and the share of the time everybody takes to
// leave beyond which congestion is significant.

#include <QWidget>

class QDoubleSpinBox;
class QSpinBox;
class TOptions;

class TAnalysisOptionsPage : public QWidget {
public:
    explicit TAnalysisOptionsPage(QWidget* parent = nullptr);

    // Values beyond a field are held to it.
    void Fill(const TOptions& options);
    void Apply(TOptions& options) const;

    QDoubleSpinBox* CellSizeField = nullptr;      // metres
    QDoubleSpinBox* DensityWindowField = nullptr; // metres
    QDoubleSpinBox* DensityField = nullptr;       // persons/m²
    QSpinBox* ShareField = nullptr;               // percent
};
