#include "AnalysisModes.h"

#include "Congestion.h"
#include "EvacuationAnalysis.h"
#include "Flows.h"
#include "HeadlessModes.h"
#include "HeadlessProject.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

// The fields of one CSV row, separated by commas, written to stdout as a line.
class TCsvRow {
public:
    TCsvRow& Number(std::int64_t value) {
        NextField();
        AppendNumber(Row, value);
        return *this;
    }
    TCsvRow& Seconds(std::int64_t steps, std::int32_t vMax, std::int32_t offsetSeconds) {
        NextField();
        AppendSeconds(Row, steps, vMax, offsetSeconds);
        return *this;
    }
    TCsvRow& Fixed(const TExactRatio& value, int decimals) {
        NextField();
        Row += FixedText(value, decimals);
        return *this;
    }
    TCsvRow& Text(std::string_view text) {
        NextField();
        Row += text;
        return *this;
    }
    void Write() {
        Row += '\n';
        std::fwrite(Row.data(), 1, Row.size(), stdout);
    }

private:
    void NextField() {
        if (Fields++ > 0) {
            Row += ',';
        }
    }

    std::string Row;
    int Fields = 0;
};

// False, with the reason on stderr, when the file cannot be loaded or its replay is too long to
// analyse.
bool LoadForAnalysis(THeadlessProject& loaded, const std::string& fileName) {
    if (!loaded.Load(fileName)) {
        return false;
    }
    if (const auto refusal = AnalysisRefusal(loaded.Project)) {
        std::fprintf(stderr, "%s: %s\n", fileName.c_str(), refusal->c_str());
        return false;
    }
    return true;
}

// "3 congested regions, 1 significant: congested for longer than 10 % of 245.000 s".
std::string CongestionSummary(const TCongestionReport& report, std::int32_t vMax) {
    std::string text = std::to_string(report.Regions.size()) + " congested region" +
                       (report.Regions.size() == 1 ? "" : "s") + ", " +
                       std::to_string(report.SignificantCount()) +
                       " significant: congested for longer than " +
                       std::to_string(report.Settings.SignificantSharePercent) + " % of ";
    AppendSeconds(text, report.AssemblySteps, vMax, 0);
    return text + " s";
}

// The persons passing in each second with someone passing, as "time:count" joined by ";", the
// time the whole second of replay time at which the second begins.
std::string PerSecondText(const TFlowPlace& place, std::int32_t offset) {
    std::string text;
    for (const TSecondCount& second : place.PerSecond) {
        if (!text.empty()) {
            text += ';';
        }
        AppendNumber(text, second.Second + offset);
        text += ':';
        AppendNumber(text, second.Persons);
    }
    return text;
}

void WriteFlowPlace(const TFlowPlace& place, const TLogFile& project, bool perSecond) {
    TCsvRow row;
    row.Text(place.Kind == TFlowKind::Exit ? "exit" : "stair")
        .Number(place.Deck)
        .Number(place.X0)
        .Number(place.Y0)
        .Number(place.X1)
        .Number(place.Y1)
        .Number(place.Total)
        .Seconds(place.FirstStep, project.VMax, project.TOff)
        .Seconds(place.LastStep, project.VMax, project.TOff)
        .Number(place.PeakPerSecond)
        .Fixed(place.WidthMetres, 3)
        .Fixed(place.PeakPerMetreSecond, 2);
    if (perSecond) {
        row.Text(PerSecondText(place, project.TOff));
    }
    row.Write();
}

} // namespace

int RunCurveMode(const std::string& fileName) {
    THeadlessProject loaded;
    if (!LoadForAnalysis(loaded, fileName)) {
        return 1;
    }
    std::fputs(AnalyseEvacuation(loaded.Project).Curve.Csv().c_str(), stdout);
    return 0;
}

int RunCongestionMode(const std::string& fileName, const TAnalysisSettings& settings) {
    THeadlessProject loaded;
    if (!LoadForAnalysis(loaded, fileName)) {
        return 1;
    }
    const TLogFile& project = loaded.Project;
    if (const auto refusal = CongestionRefusal(project)) {
        std::fprintf(stderr, "%s: %s\n", fileName.c_str(), refusal->c_str());
        return 1;
    }
    const TCongestionReport report = AnalyseCongestion(project, settings);
    std::fputs(CongestionCsv(report, project.VMax, project.TOff).c_str(), stdout);
    std::fprintf(stderr, "%s: %s\n", fileName.c_str(),
                 CongestionSummary(report, project.VMax).c_str());
    if (const auto shared =
            SharedCellsText(report, project, project.GetDeckCaption(report.Shared.Deck))) {
        std::fprintf(stderr, "%s: %s\n", fileName.c_str(), shared->c_str());
    }
    return 0;
}

int RunFlowsMode(const std::string& fileName, const TAnalysisSettings& settings, bool perSecond) {
    THeadlessProject loaded;
    if (!LoadForAnalysis(loaded, fileName)) {
        return 1;
    }
    const TLogFile& project = loaded.Project;
    std::fputs("kind,deck,x0,y0,x1,y1,total,first,last,peak_per_s,width_m,peak_per_m_s", stdout);
    std::fputs(perSecond ? ",per_second\n" : "\n", stdout);
    const TFlowReport report = AnalyseFlows(project, settings);
    for (const TFlowPlace& place : report.Places) {
        WriteFlowPlace(place, project, perSecond);
    }
    std::fprintf(stderr, "%s: %s\n", fileName.c_str(), LeavingText(report).c_str());
    return 0;
}
