#include "FlowTexts.h"

#include "DeckCaptionText.h"
#include "ExactRatio.h"
#include "LogFile.h"
#include "Replay.h"

namespace {

QString KindText(const TFlowPlace& place) {
    return place.Kind == TFlowKind::Exit ? QStringLiteral("Exit") : QStringLiteral("Stair");
}

QString CellsText(const TFlowPlace& place) {
    if (place.X0 == place.X1 && place.Y0 == place.Y1) {
        return QStringLiteral("cell %1, %2").arg(place.X0).arg(place.Y0);
    }
    return QStringLiteral("cells %1, %2 to %3, %4")
        .arg(place.X0)
        .arg(place.Y0)
        .arg(place.X1)
        .arg(place.Y1);
}

QString PersonsText(std::int64_t persons) {
    return QStringLiteral("%1 %2").arg(persons).arg(persons == 1 ? "person" : "persons");
}

QString SecondsText(std::int64_t step, const TLogFile& project) {
    const std::int64_t millis = ReplayMilliseconds(step, project.VMax, project.TOff);
    return QString::fromStdString(FixedText(SecondsOfMilliseconds(millis), 3)) + " s";
}

} // namespace

QString FlowPlaceName(const TFlowPlace& place, const TLogFile& project) {
    return KindText(place) + " on " + DeckCaptionText(project, place.Deck) + ", " +
           CellsText(place);
}

QString FlowFiguresText(const TFlowPlace& place) {
    return PersonsText(place.Total) + QStringLiteral(", at most %1/s").arg(place.PeakPerSecond);
}

QString FlowPlaceText(const TFlowPlace& place, const TLogFile& project) {
    return FlowPlaceName(place, project) + ": " + FlowFiguresText(place);
}

QString FlowLabelText(const TFlowPlace& place) {
    return KindText(place) + ": " + FlowFiguresText(place);
}

QString FlowToolTipText(const TFlowPlace& place, const TLogFile& project) {
    return FlowPlaceName(place, project) + "\n" + PersonsText(place.Total) + " in all\nfirst at " +
           SecondsText(place.FirstStep, project) + ", last at " +
           SecondsText(place.LastStep, project) +
           QStringLiteral("\nat most %1 in one second").arg(place.PeakPerSecond);
}
