#pragma once
// The "Person" window: what is known of the selected person at the replay's step, a few lines of
// text beside the main window. It does not block the main window; closed by the user, it shows
// again with the next selection.

#include "PersonWay.h"

#include <QDialog>
#include <QString>

#include <cstddef>
#include <cstdint>

class QLabel;
class TLogFile;

class TPersonPanel : public QDialog {
public:
    explicit TPersonPanel(QWidget* parent);

    void SetText(const QString& text);
    // Shows the window, beside the main window when it was hidden.
    void Reveal();

    QLabel* Facts = nullptr;

private:
    void PlaceBesideParent();
};

// The lines of the panel for persons[person] at the replay's step: its number (from 1), start,
// where it stands now or when it left, steps walked, seconds stood and when it leaves.
QString DescribePerson(const TLogFile& project, std::size_t person, const TPersonFacts& facts,
                       std::int32_t step);
