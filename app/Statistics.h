#pragma once
// The project data window: the statistics report of the loaded project, shown on request.

#include "CentredDialog.h"

#include "RichTextList.h"

#include <QDialog>
#include <QPushButton>
#include <QWidget>

class TLogFile1;

class TFStatistics : public TCentredDialog {
    Q_OBJECT

public:
    explicit TFStatistics(QWidget* parent = nullptr);

    // Shows the report of project, or the bold line "No 3D logfile loaded yet!" when there is none,
    // built anew each time; modal.
    void ShowReport(const TLogFile1* project);
    // Writes what ShowReport shows into List, replacing whatever it held.
    void Fill(const TLogFile1* project);

    TRichTextList List{this};
    QWidget Panel1{this};
    QPushButton BitBtn1{&Panel1};

protected:
};
