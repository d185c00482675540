#include "AnalysisOptionsPage.h"

#include "Options.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

QDoubleSpinBox* AddDecimalField(QFormLayout& form, const QString& caption, const QString& suffix,
                                int decimals, double lowest, double highest) {
    auto* field = new QDoubleSpinBox;
    field->setDecimals(decimals);
    field->setRange(lowest, highest);
    field->setSingleStep(std::pow(10.0, 1 - decimals)); // a step of the last digit but one
    field->setSuffix(suffix);
    form.addRow(caption, field);
    return field;
}

// Whole thousandths or tenths of what the field shows.
qint32 Scaled(const QDoubleSpinBox& field, double scale) {
    return static_cast<qint32>(std::lround(field.value() * scale));
}

} // namespace

TAnalysisOptionsPage::TAnalysisOptionsPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 2);
    auto* form = new QFormLayout;
    CellSizeField =
        AddDecimalField(*form, QStringLiteral("&Cell size:"), QStringLiteral(" m"), 3, 0.05, 5.0);
    DensityWindowField = AddDecimalField(*form, QStringLiteral("Density &window:"),
                                         QStringLiteral(" m"), 3, 0.1, 50.0);
    DensityField = AddDecimalField(*form, QStringLiteral("Congested &above:"),
                                   QStringLiteral(" persons/m²"), 1, 0.1, 20.0);
    ShareField = new QSpinBox;
    ShareField->setRange(0, 100);
    ShareField->setSuffix(QStringLiteral(" %"));
    form->addRow(QStringLiteral("Si&gnificant after:"), ShareField);
    layout->addLayout(form);
    auto* note = new QLabel(
        QStringLiteral("of the time everybody takes to leave. The log counts in cells; the cell "
                       "size turns them into metres."),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);
}

void TAnalysisOptionsPage::Fill(const TOptions& options) {
    CellSizeField->setValue(options.CellSizeMm / 1000.0);
    DensityWindowField->setValue(options.DensityWindowMm / 1000.0);
    DensityField->setValue(options.CongestionDensity / 10.0);
    ShareField->setValue(options.SignificantShare);
}

void TAnalysisOptionsPage::Apply(TOptions& options) const {
    options.CellSizeMm = Scaled(*CellSizeField, 1000.0);
    options.DensityWindowMm = Scaled(*DensityWindowField, 1000.0);
    options.CongestionDensity = Scaled(*DensityField, 10.0);
    options.SignificantShare = ShareField->value();
}
