#include "BoxReports.h"

#include "UiServices.h"

#include <algorithm>

void TBoxReports::LoadBegins(const std::string& name) {
    Loading = true;
    LoadBoxes.Reset(
        "More warnings were found in this file; they are not shown one by one. To list them, "
        "run:\nambla-viewer --dump " +
        name);
    ReplayBoxes.Reset("More errors were found while replaying this file; they are not shown one "
                      "by one.");
    DataFaultsTold = 0;
    BadDirectionTold = false;
}

bool TBoxReports::Wants(TFaultKind kind) const {
    switch (kind) {
    case TFaultKind::DataFault:
        return DataFaultsTold <= MaxDataFaultBoxes;
    case TFaultKind::BadDirection:
        return !BadDirectionTold;
    default:
        return true;
    }
}

void TBoxReports::Report(const TModelFault& fault) {
    switch (fault.Kind) {
    case TFaultKind::DataFault:
        ReportDataFault(fault);
        break;
    case TFaultKind::FileFault:
        ShowBox("Warning", fault.Text, TMsgIcon::Exclamation);
        break;
    case TFaultKind::UnknownDeck:
        ShowBox("Warning!", fault.Text, TMsgIcon::None);
        break;
    case TFaultKind::Unreadable:
        ShowBox("Error", fault.Text, TMsgIcon::Error);
        break;
    case TFaultKind::BadDirection:
        if (!BadDirectionTold) {
            BadDirectionTold = true;
            ShowBox("Error", fault.Text, TMsgIcon::Exclamation);
        }
        break;
    }
}

void TBoxReports::ReportDataFault(const TModelFault& fault) {
    if (DataFaultsTold < MaxDataFaultBoxes) {
        ShowBox("Warning", "Line " + std::to_string(fault.Line) + ": " + fault.Text,
                TMsgIcon::Exclamation);
    } else if (DataFaultsTold == MaxDataFaultBoxes) {
        ShowBox("Warning",
                "The file holds more errors of this kind. They are not shown one by one.",
                TMsgIcon::Exclamation);
    }
    DataFaultsTold = std::min(DataFaultsTold + 1, MaxDataFaultBoxes + 1);
}

void TBoxReports::ShowBox(const std::string& title, const std::string& text, TMsgIcon icon) {
    (Loading ? LoadBoxes : ReplayBoxes).Pass(Ui(), title, text, icon, TMsgButtons::Ok);
}

void TBoxReports::Breathe(TWorkPoint point) {
    if (point == TWorkPoint::StageBegins) {
        Ui().ProcessMessages();
    } else {
        Pacer.Pump();
    }
}

void ShowBadHeadingBox() {
    Ui().MessageBox("Error", "Error in:\n\nTCellView3D::RenderScene()\n\nContact Morvane HT!",
                    TMsgIcon::Exclamation, TMsgButtons::Ok);
}
