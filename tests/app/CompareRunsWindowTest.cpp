// "File > Compare runs...": logs of one scenario read beside the main window, listed, summed up,
// plotted, opened from a row, and exported.

#include "CompareRunsWindow.h"
#include "CongestionReportWindow.h"
#include "FigureTies.h"
#include "FileSizeLimit.h"
#include "FlowsPanel.h"
#include "GuiTestMain.h"
#include "LogFile.h"
#include "MainWindowFixture.h"
#include "ModelViews.h"
#include "ProgramSettings.h"
#include "RunPlots.h"
#include "StatusPanels.h"

#include <QChart>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>

namespace {

// Three runs on a floor at one step a second, each person leaving a step after its last entry,
// and a fourth cut inside its moves. run2 and run3 both end at 30 s: the longest and the 95 %
// value (below 20 runs the highest) are the first of them in the list.
class CompareRuns : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const std::string cut = FloorProject(6, 1, 0, {{0, 0, "P9x0 S"}, {1, 1, "P19x0 S"}});
        // Given out of order: the window lists them by name, run2 before run10.
        Logs = {WriteLog("run3.3dl", FloorProject(6, 1, 0, {{0, 0, "P4x0 S"}, {1, 1, "P29x0 S"}})),
                WriteLog("run10.3dl", cut.substr(0, cut.find("(movement)") + 15)),
                WriteLog(
                    "run1.3dl",
                    FloorProject(6, 1, 0, {{0, 0, "P3x0 S"}, {1, 1, "P5x0 S"}, {2, 2, "P11x0 S"}})),
                WriteLog("run2.3dl", FloorProject(6, 1, 0,
                                                  {{0, 0, "P9x0 S"},
                                                   {1, 1, "P19x0 S"},
                                                   {2, 2, "P29x0 S"},
                                                   {3, 3, "P29x0 S"}}))};
    }

    QString WriteLog(const QString& name, const std::string& text) {
        QFile file(Files.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return file.fileName();
    }

    // Chooses the logs through the menu, checks the progress shown while they are read, and
    // waits until they are.
    TCompareRunsWindow* Compare() {
        std::vector<std::string> chosen;
        for (const QString& log : Logs) {
            chosen.push_back(log.toStdString());
        }
        Ui.FilesAnswers.push_back(chosen);
        Window->Action(TCommand::CompareRuns)->trigger();
        auto* compare = Window->findChild<TCompareRunsWindow*>();
        EXPECT_NE(compare, nullptr);
        if (compare == nullptr) {
            return nullptr;
        }
        // The menu command returns while the logs are read beside the window; a fast build may
        // have read these small ones already.
        if (compare->IsReading()) {
            EXPECT_TRUE(compare->Progress->isVisible());
            EXPECT_TRUE(compare->Progress->text().contains(
                QRegularExpression(R"(^Reading [1-4] of 4\.\.\.$)")))
                << compare->Progress->text().toStdString();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !compare->IsReading(); }, 60000));
        EXPECT_FALSE(compare->Progress->isVisible());
        return compare;
    }

    static QStringList Row(const QTableWidget& table, int row) {
        QStringList texts;
        for (int column = 0; column < table.columnCount(); ++column) {
            texts << table.item(row, column)->text();
        }
        return texts;
    }

    QStringList Logs;
};

struct TPlotted {
    QString Name;
    qreal Width;
};

std::vector<TPlotted> Plotted(const QChart& chart) {
    std::vector<TPlotted> lines;
    for (QAbstractSeries* series : chart.series()) {
        const auto* line = qobject_cast<const QLineSeries*>(series);
        lines.push_back({series->name(), line != nullptr ? line->pen().widthF() : 0.0});
    }
    return lines;
}

// The names the legend shows, once it has laid out its markers (after the chart is drawn).
QStringList NamesInLegend(const QChart& chart) {
    QStringList names;
    for (const QLegendMarker* marker : chart.legend()->markers()) {
        if (marker->isVisible()) {
            names << marker->label();
        }
    }
    return names;
}

TEST_F(CompareRuns, ListsTheRunsSumsUpThoseThatCountAndPlotsThem) {
    ShowAndWait();
    TCompareRunsWindow* compare = Compare();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(Ui.FilesDialogs.size(), 1U);
    EXPECT_EQ(Ui.FilesDialogs[0].Filter, "3D log file (*.3dl)");

    const QTableWidget& table = *compare->RunTable;
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(Row(table, 0), QStringList({"run1.3dl", "3", "12", "6", "12", "0", ""}));
    EXPECT_EQ(Row(table, 1), QStringList({"run2.3dl", "4", "30", "20", "30", "0", ""}));
    EXPECT_EQ(Row(table, 2), QStringList({"run3.3dl", "2", "30", "5", "30", "0", ""}));
    const QStringList leftOut = Row(table, 3);
    EXPECT_EQ(leftOut.mid(0, 6), QStringList({"run10.3dl", "", "", "", "", ""}));
    EXPECT_TRUE(leftOut[6].startsWith("Left out: line ")) << leftOut[6].toStdString();
    EXPECT_TRUE(leftOut[6].contains("ends early")) << leftOut[6].toStdString();
    const QColor grey = compare->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(table.item(3, 0)->foreground().color(), grey);
    EXPECT_NE(table.item(2, 0)->foreground().color(), grey);

    EXPECT_EQ(compare->Figures->text(),
              "3 runs count, 1 left out. Everybody has left: least 12 s (run1.3dl), mean 24 s, "
              "95 % value 30 s (run2.3dl, the highest, fewer than 20 runs), greatest 30 s "
              "(run2.3dl).");

    // A curve for each run that counts; the one that matters strong, on top and named.
    const std::vector<TPlotted> curves = Plotted(*compare->CurvesChart);
    ASSERT_EQ(curves.size(), 3U);
    EXPECT_EQ(curves[0].Name, "run1.3dl");
    EXPECT_EQ(curves[0].Width, 1.0);
    EXPECT_EQ(curves[1].Name, "run3.3dl");
    EXPECT_EQ(curves[1].Width, 1.0);
    EXPECT_EQ(curves[2].Name, "95 % value and longest: run2.3dl");
    EXPECT_EQ(curves[2].Width, 3.0);
    const QStringList named{"95 % value and longest: run2.3dl"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return NamesInLegend(*compare->CurvesChart) == named; }))
        << NamesInLegend(*compare->CurvesChart).join(", ").toStdString();
    const auto* longest = static_cast<const QLineSeries*>(compare->CurvesChart->series()[2]);
    EXPECT_EQ(longest->count(), 31); // seconds 0 to 30
    EXPECT_EQ(longest->at(20), QPointF(20.0, 2.0));

    // The assembly times: the line at the 95 % value.
    const QList<QAbstractSeries*> times = compare->TimesChart->series();
    const auto line = std::ranges::find_if(
        times, [](const QAbstractSeries* s) { return s->name() == "95 % value: 30 s"; });
    ASSERT_NE(line, times.end());
    EXPECT_EQ(static_cast<const QLineSeries*>(*line)->at(0).x(), 30.0);
}

// A row opens its log as File > Open does, whichever order the table is sorted in.
TEST_F(CompareRuns, DoubleClickOnARowOpensItsLogInTheMainWindow) {
    ShowAndWait();
    TCompareRunsWindow* compare = Compare();
    ASSERT_NE(compare, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(compare));
    QTableWidget& table = *compare->RunTable;
    table.sortByColumn(2, Qt::DescendingOrder); // all left: run1 comes last
    ASSERT_EQ(table.item(3, 0)->text(), "run1.3dl");
    const QPoint cell = table.visualItemRect(table.item(3, 1)).center();
    // Through the window, as the window system gives a double click: press, release, press.
    QTest::mouseDClick(compare->windowHandle(), Qt::LeftButton, {},
                       table.viewport()->mapTo(compare, cell));

    const QString run1 = Files.filePath("run1.3dl");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Window->windowTitle() == "Ambla Viewer, " + run1; }, 30000));
    EXPECT_EQ(RecentPaths().front(), run1);
    EXPECT_EQ(TProgramSettings().Read(Settings::LogDir), run1);
    QProcess xdotool;
    xdotool.start("xdotool", {"getwindowname", QString::number(Window->winId())});
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed(),
              "Ambla Viewer, " + run1);
}

// Exports start in the runs' folder and the status bar says where they went. The picture has the
// size chosen beside its button; at the smallest size offered, the legends and the title are laid
// out larger rather than cut.
TEST_F(CompareRuns, ExportsWriteTheRunsAsCsvAndThePlotsAsPng) {
    ShowAndWait();
    TCompareRunsWindow* compare = Compare();
    ASSERT_NE(compare, nullptr);
    const QString csv = Files.filePath("runs.csv");
    const QString png = Files.filePath("runs.png");
    const QString folder = QDir::toNativeSeparators(QFileInfo(Logs[0]).absolutePath());
    Ui.SaveAnswers = {csv.toStdString(), png.toStdString()};
    QTest::mouseClick(compare->ExportCsvButton, Qt::LeftButton);
    EXPECT_EQ(Window->Status->MessagePanel->text(), "Saved runs.csv in " + folder);
    QTest::mouseClick(compare->ExportPngButton, Qt::LeftButton);
    EXPECT_EQ(Window->Status->MessagePanel->text(), "Saved runs.png in " + folder);
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    ASSERT_EQ(Ui.SaveDialogs.size(), 2U);
    EXPECT_EQ(QString::fromStdString(Ui.SaveDialogs[0].Directory),
              QFileInfo(Logs[0]).absolutePath());
    EXPECT_EQ(Ui.SaveDialogs[1].Directory, Ui.SaveDialogs[0].Directory);

    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), RunsCsv(compare->Runs()));
    written.close();
    EXPECT_EQ(QImage(png).size(), QSize(1600, 1000)) << "by default";

    const QSize smallest(compare->PictureSize->Width->minimum(),
                         compare->PictureSize->Height->minimum());
    compare->PictureSize->Width->setValue(smallest.width());
    compare->PictureSize->Height->setValue(smallest.height());
    Ui.SaveAnswers = {png.toStdString()};
    QTest::mouseClick(compare->ExportPngButton, Qt::LeftButton);
    EXPECT_EQ(Window->Status->MessagePanel->text(), "Replaced runs.png in " + folder);
    EXPECT_EQ(QImage(png).size(), smallest);
    const TChartPictureLayout layout = compare->PlotsPicture().Layout(smallest);
    EXPECT_LT(layout.Scale, 1.0) << "laid out larger than its pixels";
    const QRectF whole(QPointF(0, 0), layout.Size);
    ASSERT_EQ(layout.Legends.size(), 2U);
    for (std::size_t k = 0; k < layout.Legends.size(); ++k) {
        EXPECT_TRUE(whole.contains(layout.Legends[k])) << k;
        EXPECT_LE(layout.LegendTexts[k].width(), layout.Legends[k].width()) << k;
        EXPECT_LE(layout.LegendTexts[k].height(), layout.Legends[k].height()) << k;
        EXPECT_GE(layout.LegendTexts[k].height(), 1.0) << k;
        EXPECT_LE(layout.Charts[k].bottom(), layout.Legends[k].top()) << k;
    }
    EXPECT_TRUE(whole.contains(layout.Title));

    // On a full disk the box says why, and the file written before stays whole.
    Ui.SaveAnswers = {csv.toStdString()};
    {
        const TFileSizeLimit full(0);
        QTest::mouseClick(compare->ExportCsvButton, Qt::LeftButton);
    }
    ASSERT_EQ(Boxes().size(), 1U);
    EXPECT_EQ(Boxes()[0].rfind("Error: Cannot export the runs:\n" + csv.toStdString() + "\n", 0),
              0U)
        << Boxes()[0];
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), RunsCsv(compare->Runs()));
}

// The windows show the figures on a tie as the command line prints them: the congestion report
// its areas and peak densities, the Compare runs window its mean; the Flows page says how many
// persons leave at no exit, as --flows does.
TEST(FigureTies, TheWindowsShowTheFiguresTheCommandLinePrints) {
    const QTemporaryDir dir;
    const std::string file = dir.filePath("tie.3dl").toStdString();
    for (const TFigureTie& tie : FigureTies()) {
        SCOPED_TRACE(tie.Figure);
        if (tie.Mode == "--merge") {
            std::string problem;
            const auto figures = FiguresOver(RunsFromCsv(tie.Input, problem));
            ASSERT_TRUE(figures);
            EXPECT_EQ(RunSeconds(figures->MeanSeconds).toStdString(), tie.Text);
            continue;
        }
        std::ofstream(file, std::ios::binary) << tie.Input;
        TLogFile project("Level");
        TNoProgressWindow progress;
        ASSERT_TRUE(project.Load(file, progress));
        if (tie.Mode == "--flows") {
            TFlowsPanel flows;
            flows.SetFlows(AnalyseFlows(project, tie.Settings), project);
            EXPECT_EQ(flows.Leaving->text(), "20 of 21 persons leave by an exit, 1 from a cell "
                                             "off every deck's grid (counted at no exit).");
            continue;
        }
        TCongestionReportWindow window(nullptr);
        window.ShowReport(AnalyseCongestion(project, tie.Settings), project);
        QStringList shown;
        for (int row = 0; row < window.Regions->rowCount(); ++row) {
            for (const int column : {2, 7}) { // the area, the peak density
                shown << window.Regions->item(row, column)->text();
            }
        }
        EXPECT_TRUE(shown.contains(QString::fromStdString(tie.Text)))
            << shown.join(" ").toStdString();
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunGuiTests(argc, argv, TGLControl::PreferredFormat());
}
