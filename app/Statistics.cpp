#include "Statistics.h"

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
TFStatistics::TFStatistics(QWidget* parent)
    : TCentredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Project Data"));
    setFixedSize(ClientWidth, ClientHeight);

    List.setGeometry(0, 0, ClientWidth, ClientHeight - PanelHeight);
    Panel1.setGeometry(0, ClientHeight - PanelHeight, ClientWidth, PanelHeight);

    auto* layout = new QHBoxLayout(&Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    BitBtn1.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1.setText(QStringLiteral("&Ok"));
    BitBtn1.setFixedHeight(PanelHeight);
    BitBtn1.setDefault(true);
    layout->addWidget(&BitBtn1);
    connect(&BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFStatistics::ShowReport(const TLogFile1* project) {
    Fill(project);
    const TMessageNesting nesting;
    exec();
}

void TFStatistics::Fill(const TLogFile1* project) {
    if (project != nullptr) {
        project->FillStatistics(List);
        return;
    }
    List.Clear();
    List.SetBold(true);
    List.AddLine("No 3D logfile loaded yet!");
    List.SetBold(false);
}
