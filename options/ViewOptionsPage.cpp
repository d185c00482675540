#include "ViewOptionsPage.h"

#include "Options.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// An hour: a replay's waits and ways are measured in minutes.
constexpr int MostSeconds = 3600;

// A group of one row: the caption, a field of whole seconds, and what follows it.
QSpinBox* AddSecondsGroup(QWidget& page, const QString& title, const QString& before,
                          const QString& after) {
    auto* group = new QGroupBox(title, &page);
    auto* field = new QSpinBox(group);
    field->setRange(1, MostSeconds);
    field->setSuffix(QStringLiteral(" s"));
    auto* caption = new QLabel(before, group);
    caption->setBuddy(field);
    auto* row = new QHBoxLayout(group);
    row->addWidget(caption);
    row->addWidget(field);
    row->addWidget(new QLabel(after, group));
    row->addStretch(1);
    page.layout()->addWidget(group);
    return field;
}

} // namespace

TViewOptionsPage::TViewOptionsPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 6, 2, 2);
    WaitingLimitField =
        AddSecondsGroup(*this, QStringLiteral(" Colour by waiting: "),
                        QStringLiteral("&Top colour after"), QStringLiteral("of standing"));
    TrailSecondsField =
        AddSecondsGroup(*this, QStringLiteral(" Trails: "), QStringLiteral("&Show the last"),
                        QStringLiteral("of each way"));
    layout->addStretch(1);
}

// Seconds beyond a field are held to it.
void TViewOptionsPage::Fill(const TOptions& options) {
    WaitingLimitField->setValue(options.WaitingLimit);
    TrailSecondsField->setValue(options.TrailSeconds);
}

void TViewOptionsPage::Apply(TOptions& options) const {
    options.WaitingLimit = WaitingLimitField->value();
    options.TrailSeconds = TrailSecondsField->value();
}
