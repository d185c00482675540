#include "ProjectDataWindow.h"

#include "LogFile.h"
#include "MessageNesting.h"

#include <QHBoxLayout>
#include <QStyle>

namespace {

constexpr int ClientWidth = 404;
constexpr int ClientHeight = 381;
constexpr int PanelHeight = 25;

} // namespace

// A title bar with only the close box.
TProjectDataWindow::TProjectDataWindow(QWidget* parent)
    : TCentredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Project Data"));
    setFixedSize(ClientWidth, ClientHeight);

    List.setGeometry(0, 0, ClientWidth, ClientHeight - PanelHeight);
    ButtonStrip.setGeometry(0, ClientHeight - PanelHeight, ClientWidth, PanelHeight);

    auto* layout = new QHBoxLayout(&ButtonStrip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    OkButton.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    OkButton.setText(QStringLiteral("&Ok"));
    OkButton.setFixedHeight(PanelHeight);
    OkButton.setDefault(true);
    layout->addWidget(&OkButton);
    connect(&OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TProjectDataWindow::ShowReport(const TLogFile* project) {
    Fill(project);
    const TMessageNesting nesting;
    exec();
}

void TProjectDataWindow::Fill(const TLogFile* project) {
    if (project != nullptr) {
        project->FillStatistics(List);
        return;
    }
    List.Clear();
    List.SetBold(true);
    List.AddLine("No 3D logfile loaded yet!");
    List.SetBold(false);
}
