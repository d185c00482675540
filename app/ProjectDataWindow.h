#pragma once
// The project data window: the statistics report of the loaded project, shown on request.

#include "CentredDialog.h"

#include "RichTextList.h"

#include <QDialog>
#include <QPushButton>
#include <QWidget>

class TLogFile;

class TProjectDataWindow : public TCentredDialog {
    Q_OBJECT

public:
    explicit TProjectDataWindow(QWidget* parent = nullptr);

    // Shows the report of project, or the bold line "No 3D logfile loaded yet!" when there is none,
    // built anew each time; modal.
    void ShowReport(const TLogFile* project);
    // Writes what ShowReport shows into List, replacing whatever it held.
    void Fill(const TLogFile* project);

    TRichTextList List{this};
    QWidget ButtonStrip{this};
    QPushButton OkButton{&ButtonStrip};

protected:
};
