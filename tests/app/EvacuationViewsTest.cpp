// The evacuation curve window and the congestion map in the main window.

#include "CongestionReportWindow.h"
#include "CongestionViews.h"
#include "DeckCaptionText.h"
#include "EvacuationCurveWindow.h"
#include "FileSizeLimit.h"
#include "FlowTexts.h"
#include "FlowsPanel.h"
#include "MainWindowFixture.h"
#include "OptionsWindow.h"
#include "ProgramSettings.h"
#include "ScaleLegends.h"
#include "ViewOptionsPage.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

namespace {

// 5 persons, vmax 4; everybody has left at step 289, 72.250 s
const QString Small = TestDataDir + "/small.3dl";
const QString Ferry = TestDataDir + "/ferry.3dl"; // 3 decks; everybody has left at 10:29

class EvacuationViews : public MainWindowFixture {
protected:
    void PressInView(Qt::Key key) {
        Window->activateWindow();
        Window->View->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Window->View->hasFocus(); }));
        QTest::keyClick(Window->View, key);
    }

    // The view's colour at x on the row of cells y = 10, where the generated persons walk.
    TRgb RowPixel(double x) const {
        const QImage frame = Frame();
        return PixelAt(frame, FloorPixel(frame, Window->View->Distance(), x, -0.5));
    }
    // A trail's blue lies there.
    bool TrailAt(double x) const {
        const TRgb p = RowPixel(x);
        return p.B > p.R + 40;
    }

    // Where the plot shows the given time, half way up.
    QPoint PlotPointOf(double time) const {
        QChart* chart = Window->Evacuation->CurveWindow()->ChartView->chart();
        const auto* axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).front());
        const QRectF plot = chart->plotArea();
        const double x =
            plot.left() + (time - axis->min()) / (axis->max() - axis->min()) * plot.width();
        return Window->Evacuation->CurveWindow()->ChartView->mapFromScene(
            chart->mapToScene(QPointF(x, plot.center().y())));
    }
};

TEST_F(EvacuationViews, TheCurveOpensWithEFollowsTheReplayAndAClickMovesIt) {
    ShowAndWait();
    EXPECT_FALSE(Window->Action(TCommand::EvacuationCurve)->isEnabled())
        << "nothing to show before a load";
    Load(Small);
    Window->Playback->SecondForward();
    Window->Playback->SecondForward();
    PressInView(Qt::Key_E);
    ASSERT_NE(Window->Evacuation->CurveWindow(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window->Evacuation->CurveWindow()));
    EXPECT_FALSE(Window->Evacuation->CurveWindow()->isModal());
    EXPECT_EQ(Window->Evacuation->CurveWindow()->Summary->text(),
              "Everybody has left after 1:12.250 min. 50 % have left after 0:30.000 min, 90 % "
              "after 1:12.250 min.")
        << "the times --summary prints: 72.250 s, 30.000 s and 72.250 s";
    EXPECT_DOUBLE_EQ(Window->Evacuation->CurveWindow()->MarkerTime(), 2.0)
        << "the replay's time from the start";

    Window->Playback->SecondForward();
    EXPECT_DOUBLE_EQ(Window->Evacuation->CurveWindow()->MarkerTime(), 3.0);
    Window->Action(TCommand::StepForward)->trigger();
    EXPECT_DOUBLE_EQ(Window->Evacuation->CurveWindow()->MarkerTime(), 3.25);

    QTest::mouseClick(Window->Evacuation->CurveWindow()->ChartView->viewport(), Qt::LeftButton, {},
                      PlotPointOf(30.2));
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 120);
    EXPECT_DOUBLE_EQ(Window->Evacuation->CurveWindow()->MarkerTime(), 30.0);

    // The replay's keys reach it while the curve has the focus.
    Window->Evacuation->CurveWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window->Evacuation->CurveWindow()));
    QTest::keyClick(Window->Evacuation->CurveWindow(), Qt::Key_4);
    EXPECT_EQ(Window->Projects->Replay.TimeStep(), 124);

    // Another file closes the window of the last one.
    Load(Small);
    EXPECT_FALSE(Window->Evacuation->CurveWindow()->isVisible());
}

TEST_F(EvacuationViews, ExportWritesTheCsvAndAPictureOfThePlot) {
    ShowAndWait();
    Load(Small);
    Window->Action(TCommand::EvacuationCurve)->trigger();
    const QString csv = Files.filePath("curve.csv");
    // Export... starts in the log's folder, and the status bar says where the files went.
    Ui.SaveAnswers = {csv.toStdString()};
    QTest::mouseClick(Window->Evacuation->CurveWindow()->ExportButton, Qt::LeftButton);
    ASSERT_EQ(Ui.SaveDialogs.size(), 1U);
    EXPECT_EQ(QString::fromStdString(Ui.SaveDialogs[0].Directory), QFileInfo(Small).absolutePath());
    EXPECT_EQ(Window->Status->MessagePanel->text(),
              "Saved curve.csv and curve.png in " + QDir::toNativeSeparators(Files.path()));
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("time,saved,Deck 1 - Cabins,"));
    EXPECT_EQ(text.count('\n'), 75); // a header and 74 seconds
    EXPECT_FALSE(QImage(Files.filePath("curve.png")).isNull());
    EXPECT_NE(Window->Evacuation->CurveWindow()->Export(Files.filePath("no/such/folder/curve.csv")),
              QString());

    // A disk with room for the table but not the picture keeps both older files whole (the
    // table and the picture of another curve stay together), and names the file that failed.
    QFile picture(Files.filePath("curve.png"));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    const QByteArray olderPicture = picture.readAll();
    picture.close();
    const QByteArray olderTable = "time,saved\n0,0\n";
    written.close();
    ASSERT_TRUE(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
    written.write(olderTable);
    written.close();
    {
        const TFileSizeLimit roomForTheTable(static_cast<rlim_t>(text.size()) + 16);
        EXPECT_EQ(Window->Evacuation->CurveWindow()->Export(csv),
                  Files.filePath("curve.png") + "\nFile too large");
    }
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_TRUE(picture.readAll() == olderPicture);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), olderTable);
    EXPECT_EQ(QDir(Files.path()).entryList({"*.part-*"}, QDir::Files), QStringList());
}

// The window opens beside the main window where the screen has room, else over its right half,
// never over the middle of the view; its time axis ends at the tick after the last second, and
// the legend shows every name whole, in the exported picture too.
TEST_F(EvacuationViews, TheCurveOpensBesideTheViewWithATidyAxisAndTheWholeLegend) {
    ShowAndWait();
    Window->setGeometry(0, 0, 1600, 1000);
    Load(Small);
    Window->Action(TCommand::EvacuationCurve)->trigger();
    TEvacuationCurveWindow& curve = *Window->Evacuation->CurveWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&curve));
    const QPoint viewCentre = Window->View->mapToGlobal(Window->View->rect().center());
    EXPECT_FALSE(curve.frameGeometry().contains(viewCentre));
    EXPECT_GT(curve.frameGeometry().left(), viewCentre.x());

    const auto* time =
        qobject_cast<QValueAxis*>(curve.ChartView->chart()->axes(Qt::Horizontal).front());
    EXPECT_EQ(time->max(), 80.0) << "73 s of data";
    EXPECT_EQ(time->tickCount(), 9);
    for (const char* name : {"Saved", "Deck 2 - Boat deck, muster stations", "Deck 1 - Cabins"}) {
        EXPECT_TRUE(curve.Legend->text().contains(name)) << name;
    }
    EXPECT_TRUE(curve.Legend->wordWrap());
    curve.resize(360, 480);
    QCoreApplication::processEvents();
    EXPECT_LE(curve.Legend->sizeHint().width(), curve.width()) << "wrapped, not cut";
    ASSERT_EQ(curve.Export(Files.filePath("curve.csv")), QString());
    EXPECT_GT(QImage(Files.filePath("curve.png")).height(), curve.ChartView->height());
    curve.close();
}

// The exported picture has the size chosen beside the button, whatever the window's size; the
// log's file name stands above the plot and every series' colour in the legend below it. The CSV
// beside it is the curve's, byte for byte.
TEST_F(EvacuationViews, ThePictureHasTheChosenSizeTheLogsNameAndTheWholeLegend) {
    ShowAndWait();
    Load(Ferry);
    Window->Action(TCommand::EvacuationCurve)->trigger();
    TEvacuationCurveWindow& curve = *Window->Evacuation->CurveWindow();
    curve.resize(360, 480);
    const TEvacuationCurve ferry = AnalyseEvacuation(*Window->Projects->LogFile).Curve;
    const QString csv = Files.filePath("curve.csv");
    const QString png = Files.filePath("curve.png");
    // Dark pixels in the middle half of the picture's top band, where the title goes.
    const auto darkOnTop = [](const QImage& picture) {
        int dark = 0;
        for (int y = 0; y < picture.height() / 20; ++y) {
            for (int x = picture.width() / 4; x < picture.width() * 3 / 4; ++x) {
                dark += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
            }
        }
        return dark;
    };

    curve.SetCurve(ferry, QString());
    ASSERT_EQ(curve.Export(csv), QString());
    const QImage untitled(png);
    EXPECT_EQ(untitled.size(), QSize(1600, 1000)) << "by default";
    EXPECT_EQ(darkOnTop(untitled), 0);

    curve.SetCurve(ferry, Ferry);
    curve.PictureWidth->setValue(1000);
    curve.PictureHeight->setValue(1300);
    ASSERT_EQ(curve.Export(csv), QString());
    const QImage titled(png);
    EXPECT_EQ(titled.size(), QSize(1000, 1300));
    EXPECT_GT(darkOnTop(titled), 200) << "ferry.3dl";
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), ferry.Csv());
    for (const QAbstractSeries* series : curve.ChartView->chart()->series()) {
        const auto* line = static_cast<const QLineSeries*>(series);
        if (line->name().isEmpty()) {
            continue; // the marker of the replay time
        }
        int inLegend = 0;
        for (int y = titled.height() * 19 / 20; y < titled.height(); ++y) {
            for (int x = 0; x < titled.width(); ++x) {
                inLegend += titled.pixel(x, y) == line->color().rgb() ? 1 : 0;
            }
        }
        EXPECT_GT(inLegend, 20) << line->name().toStdString();
    }
}

// Beside a small main window, to its right.
TEST(CurvePlace, RightOfTheOwnerElseLeftElseOverItsRightHalf) {
    const QRect screen(0, 0, 1600, 1000);
    EXPECT_EQ(PlaceBeside(screen, {0, 0, 800, 600}, {720, 480}), QRect(800, 0, 720, 480));
    EXPECT_EQ(PlaceBeside(screen, {850, 100, 750, 600}, {720, 480}), QRect(130, 100, 720, 480));
    EXPECT_EQ(PlaceBeside(screen, {0, 0, 1600, 1000}, {720, 480}), QRect(880, 0, 720, 480));
    EXPECT_EQ(PlaceBeside(screen, {200, 700, 1000, 600}, {720, 480}), QRect(700, 520, 500, 480));
}

TEST(CurveAxis, EndsAtTheTickAfterTheLastSecond) {
    const struct {
        double First, Last, AxisFirst, AxisLast;
        int Ticks;
    } cases[] = {{0, 629, 0, 700, 8}, {0, 73, 0, 80, 9}, {-30, 148, -40, 160, 11},
                 {5, 5, 5, 6, 2},     {0, 1, 0, 1, 2},   {0, 1000, 0, 1000, 11}};
    for (const auto& c : cases) {
        const TTidyAxis axis = TidyAxis(c.First, c.Last);
        EXPECT_EQ(axis.First, c.AxisFirst) << c.Last;
        EXPECT_EQ(axis.Last, c.AxisLast) << c.Last;
        EXPECT_EQ(axis.TickCount, c.Ticks) << c.Last;
    }
}

// One person stands two seconds on cell (4, 10), then walks four cells east and leaves.
TEST_F(EvacuationViews, TheMapColoursWhereAPersonStoodAndNowhereElse) {
    ShowAndWait();
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "P8x0 3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker(); // the marker is green; the map is not
    Window->Action(TCommand::GoToEnd)->trigger();
    const double distance = Window->View->Distance();
    // Cell (4, 10) lies at x = -5.5, y = -0.5; cell (12, 10), where nobody went, at x = 2.5.
    const QImage plain = Frame();
    const QPoint stood = FloorPixel(plain, distance, -5.5, -0.5);
    const QPoint empty = FloorPixel(plain, distance, 2.5, -0.5);
    ASSERT_TRUE(IsGrey(PixelAt(plain, stood), 60, 255));
    EXPECT_FALSE(Window->Action(TCommand::CongestionMap)->isChecked()) << "off by default";

    // The curve asked for first leaves out the stands the map up to now needs: H makes them.
    PressInView(Qt::Key_E);
    ASSERT_NE(Window->Evacuation->CurveWindow(), nullptr);
    Window->Evacuation->CurveWindow()->close();
    PressInView(Qt::Key_H);
    EXPECT_TRUE(Window->Action(TCommand::CongestionMap)->isChecked());
    const QImage mapped = Frame();
    // The only cell stood on is the top of the scale: dark purple, apart from every zone colour.
    const TRgb top = PixelAt(mapped, stood);
    EXPECT_TRUE(top.R > 60 && top.R < 130 && top.G < 60 && top.B > 100)
        << top.R << " " << top.G << " " << top.B;
    EXPECT_EQ(PixelAt(mapped, empty).R, PixelAt(plain, empty).R);
    EXPECT_TRUE(IsGrey(PixelAt(mapped, empty), 60, 255));
    // The legend sits in the lower left corner.
    EXPECT_FALSE(IsBackground(PixelAt(mapped, {20, mapped.height() - 20})));
    EXPECT_TRUE(IsBackground(PixelAt(plain, {20, plain.height() - 20})));
    const auto legendTitle = [&] { return CongestionLegendTitle(*Window->View->Layers().Map); };
    EXPECT_EQ(legendTitle(), "Standing time up to 0:04, person-seconds per cell");

    // Up to the replay's time: nothing stood yet at the start, where the person, left out, stands.
    // The whole replay's at every moment while its switch is on, which the settings keep.
    Window->Action(TCommand::HidePersonsOnMap)->trigger();
    Window->Action(TCommand::GoToStart)->trigger();
    EXPECT_EQ(PixelAt(Frame(), stood).G, PixelAt(plain, stood).G) << "nothing stood at 0:00";
    EXPECT_EQ(legendTitle(), "Standing time up to 0:00, person-seconds per cell");
    Window->Action(TCommand::CongestionMapWholeReplay)->trigger();
    EXPECT_EQ(PixelAt(Frame(), stood).R, top.R);
    EXPECT_EQ(legendTitle(), "Standing time, whole replay, person-seconds per cell");

    PressInView(Qt::Key_H);
    Window->Action(TCommand::GoToEnd)->trigger();
    EXPECT_EQ(PixelAt(Frame(), stood).G, PixelAt(plain, stood).G);
    Window->close();
    EXPECT_TRUE(TProgramSettings().Read(Settings::CongestionMapWholeReplay));
}

// C colours each person by how long it has stood still: green while it moves, off green while it
// stands, from the first standing step on, whichever way the replay got there; the switch is kept.
TEST_F(EvacuationViews, PersonsAreColouredByWaitingAndTheSwitchIsKept) {
    ShowAndWait();
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "P8x0 3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker();
    const double distance = Window->View->Distance();
    const auto person = [&] {
        const QImage frame = Frame();
        return PixelAt(frame, FloorPixel(frame, distance, -5.5, -0.5));
    };
    EXPECT_TRUE(IsPersonGreen(person()));
    PressInView(Qt::Key_C);
    EXPECT_TRUE(Window->Action(TCommand::ColourByWaiting)->isChecked());
    EXPECT_TRUE(IsPersonGreen(person())) << "nothing stood yet at step 0";
    Window->Playback->SecondForward(); // four steps stood: one second
    EXPECT_FALSE(IsPersonGreen(person()));
    EXPECT_FALSE(IsBackground(PixelAt(Frame(), {20, Frame().height() - 20}))) << "a legend";
    Window->Projects->Replay.SeekToStep(9); // the first step east
    const QImage moved = Frame();
    EXPECT_TRUE(IsPersonGreen(PixelAt(moved, FloorPixel(moved, distance, -4.5, -0.5))));
    Window->Projects->Replay.StepBackward(); // back on the cell, two seconds stood
    EXPECT_FALSE(IsPersonGreen(person()));
    Window->close();
    EXPECT_TRUE(TProgramSettings().Read(Settings::ColourByWaiting));
}

// Persons can be left out while the map is shown, so that nothing hides it; without the map they
// are drawn again. The choice is kept.
TEST_F(EvacuationViews, PersonsCanBeHiddenOnTheMapOnly) {
    ShowAndWait();
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "P8x0 3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker();
    Window->Playback->SecondForward(); // standing on its cell, which the map colours
    const double distance = Window->View->Distance();
    const auto person = [&] {
        const QImage frame = Frame();
        return PixelAt(frame, FloorPixel(frame, distance, -5.5, -0.5));
    };
    Window->Action(TCommand::CongestionMap)->trigger();
    EXPECT_TRUE(IsPersonGreen(person()));
    Window->Action(TCommand::HidePersonsOnMap)->trigger();
    EXPECT_FALSE(IsPersonGreen(person())) << "the map's colour where the person stands";
    Window->Action(TCommand::CongestionMap)->trigger();
    EXPECT_TRUE(IsPersonGreen(person()));
    Window->close();
    EXPECT_TRUE(TProgramSettings().Read(Settings::HidePersonsOnMap));
}

// T draws the way each person came over the last seconds as a line above the floor: where it
// walked, and nowhere it did not; without trails the floor there is plain.
TEST_F(EvacuationViews, TrailsShowTheWayPersonsCame) {
    ShowAndWait();
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "P8x0 3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker();
    Window->Projects->Replay.SeekToStep(12); // walked from cell (4, 10) to (8, 10)
    ASSERT_TRUE(IsGrey(RowPixel(-4.5), 60, 255));
    PressInView(Qt::Key_T);
    EXPECT_TRUE(Window->Action(TCommand::Trails)->isChecked());
    for (const double walked : {-5.0, -4.5, -3.5}) {
        EXPECT_TRUE(TrailAt(walked)) << walked;
    }
    EXPECT_TRUE(IsGrey(RowPixel(2.5), 60, 255)) << "where nobody walked";
    PressInView(Qt::Key_T);
    EXPECT_TRUE(IsGrey(RowPixel(-4.5), 60, 255));
}

// The trails reach back as many seconds as the options say, from the moment OK is pressed; the
// seconds are kept.
TEST_F(EvacuationViews, TrailsReachBackAsFarAsTheOptionsSay) {
    TOptionsWindow options(Window.get());
    Window->SetWindows({Progress, nullptr, &options});
    ShowAndWait();
    // Four steps a second: cell x = 4 + n at step 8 + n, cell 12 at step 16.
    Load(WriteProject(FloorProject(20, 4, 0, {{4, 10, "P8x0 3 3 3 3 3 3 3 3 S"}})));
    Window->ViewCommands->SwitchOriginMarker();
    Window->Projects->Replay.SeekToStep(16);
    PressInView(Qt::Key_T);
    EXPECT_TRUE(TrailAt(-4.5) && TrailAt(-0.5)) << "cells 5 and 9, ten seconds back";
    QTimer::singleShot(0, &options, [&] {
        options.ViewsPage->TrailSecondsField->setValue(1);
        options.OkButton->click();
    });
    Window->Action(TCommand::Options)->trigger();
    EXPECT_FALSE(TrailAt(-4.5)) << "cell 5, left three seconds ago";
    EXPECT_TRUE(TrailAt(-0.5)) << "cell 9, left half a second ago";
    Window->close();
    EXPECT_EQ(TProgramSettings().Read(Settings::TrailSeconds), 1);
}

// The report says in one line whether the ferry passes and lists the regions the analysis finds
// with the options' measures; the regions are outlined on the floor while their switch is on; a
// click on a row shows that region: its deck, the step of its peak, in the middle of the view,
// which the report, opened beside it, leaves in sight.
TEST_F(EvacuationViews, TheCongestionReportShowsARegionClickedOn) {
    ShowAndWait();
    Load(Ferry);
    Window->Action(TCommand::CongestionReport)->trigger();
    TCongestionReportWindow* report = Window->Congestion->ReportWindow();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
    EXPECT_FALSE(
        report->frameGeometry().contains(Window->View->mapToGlobal(Window->View->rect().center())));
    const TLogFile& ferry = *Window->Projects->LogFile;
    const TCongestionReport expected =
        AnalyseCongestion(ferry, AnalysisSettingsOf(Window->Shots->Options));
    ASSERT_GE(expected.Regions.size(), 2U);
    EXPECT_EQ(report->Verdict->text(), CongestionVerdict(expected, ferry));
    EXPECT_TRUE(report->Verdict->text().contains(" significant region")) << "the ferry fails";
    EXPECT_EQ(report->Regions->rowCount(), static_cast<int>(expected.Regions.size()));

    // Outlined on the floor: magenta along the top edge of the first, significant, region.
    const TCongestionRegion& first = expected.Regions.front();
    ASSERT_TRUE(first.Significant);
    Window->ViewCommands->ShowDeck(first.Deck);
    Window->Action(TCommand::CongestionOutlines)->trigger();
    ASSERT_TRUE(Window->Action(TCommand::CongestionOutlines)->isChecked());
    const auto magentaOnTopEdge = [&] {
        const QImage frame = Frame();
        const QPoint edge =
            FloorPixel(frame, Window->View->Distance(), CellCentreX(first.X0, ferry.XMax),
                       double{CellCentreY(first.Y0, ferry.YMax)} + 0.5);
        int magenta = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            const TRgb p = PixelAt(frame, edge + QPoint(0, dy));
            magenta += p.R > 200 && p.G < 80 && p.B > 200 ? 1 : 0;
        }
        return magenta > 0;
    };
    EXPECT_TRUE(magentaOnTopEdge());
    Window->Action(TCommand::CongestionOutlines)->trigger();
    EXPECT_FALSE(magentaOnTopEdge());

    const TCongestionRegion& second = expected.Regions[1];
    const QRect cell = report->Regions->visualItemRect(report->Regions->item(1, 0));
    QTest::mouseClick(report->Regions->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Window->Projects->Replay.TimeStep() == second.PeakStep; }));
    EXPECT_EQ(Window->View->DeckIndex(), second.Deck);
    const std::array<double, 2>& pan = Window->View->CameraState().FPan;
    EXPECT_EQ(pan[0], -double{CellCentreX(second.PeakX, ferry.XMax)});
    EXPECT_EQ(pan[1], -double{CellCentreY(second.PeakY, ferry.YMax)});

    TCongestionReport none = expected;
    for (TCongestionRegion& region : none.Regions) {
        region.Significant = false;
    }
    EXPECT_EQ(CongestionVerdict(none, ferry), "No significant congestion");
}

// Nineteen persons crowd nine cells of a 12 x 12 floor for 20 steps, two to a cell and three on
// cell 3, 3. The report states its measures and the shared cells above its table, and exports
// the table with the verdict beside it; a row clicked outlines its region, the outlines' switch
// off, until the floor away from it is clicked.
std::string CrowdedFloor() {
    std::string text = "<header>\npmax 19\nxmax 12\nymax 12\nzmax 1\nvmax 1\ntoff 0\n"
                       "version 1\n</header>\n<deck>\ncaption Floor\nlevel 0\n(celldata)\n";
    for (int y = 0; y < 12; ++y) {
        text += "P12x0\n";
    }
    text += "</deck>\n<persons>\n<startpositions>\n";
    for (int p = 0; p < 19; ++p) {
        const int cell = p % 9;
        text += std::to_string(3 + cell % 3) + " " + std::to_string(3 + cell / 3) + " 0 1 0\n";
    }
    text += "(movement)\n";
    for (int p = 0; p < 19; ++p) {
        text += "P20x0 S\n";
    }
    return text + "</persons>\n";
}

TEST_F(EvacuationViews, TheCongestionReportStatesItsMeasuresExportsAndOutlinesTheRowClicked) {
    ShowAndWait();
    Load(WriteProject(CrowdedFloor()));
    Window->Action(TCommand::CongestionReport)->trigger();
    TCongestionReportWindow* report = Window->Congestion->ReportWindow();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
    EXPECT_EQ(report->Measures->text(),
              "Cells of 0.40 m; congested above 4.0 persons/m² in a window of 5 x 5 cells (2.00 "
              "m), counting the persons in it over its walkable area; significant when congested "
              "for longer than 10 % of tA = 21.000 s, the time at which everybody has left.");
    EXPECT_TRUE(report->SharedCells->isVisibleTo(report));
    EXPECT_EQ(report->SharedCells->text(),
              "3 persons on one cell at 0:00, Floor, cell 3, 3; 189 cell-steps hold more than one "
              "person: densities above 6.25 persons/m² count persons a cell cannot hold.");

    const TLogFile& floor = *Window->Projects->LogFile;
    const TCongestionReport expected =
        AnalyseCongestion(floor, AnalysisSettingsOf(Window->Shots->Options));
    ASSERT_EQ(expected.Regions.size(), 1U);
    const QString csv = Files.filePath("crowd.csv");
    Ui.SaveAnswers.push_back(csv.toStdString());
    report->ExportButton->click();
    ASSERT_EQ(Ui.SaveDialogs.size(), 1U);
    EXPECT_EQ(Ui.SaveDialogs[0].Directory, Files.path().toStdString()) << "the log's folder";
    QFile table(csv);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QByteArray rows = table.readAll();
    EXPECT_TRUE(rows.startsWith("deck,x0,y0,x1,y1,area_m2,first,last,longest,total,peak_density,"
                                "significant,peak_time\n0,"));
    EXPECT_EQ(rows.toStdString(), CongestionCsv(expected, 1, 0));
    QFile verdict(Files.filePath("crowd.txt"));
    ASSERT_TRUE(verdict.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(verdict.readAll()),
              QFileInfo(QString::fromStdString(floor.FileName)).fileName() + "\n" +
                  report->Verdict->text() + "\n" + report->Measures->text() + "\n" +
                  report->SharedCells->text() + "\n");
    EXPECT_TRUE(report->Verdict->text().startsWith("1 significant region"));
    EXPECT_EQ(Window->Status->MessagePanel->text().left(20), "Saved crowd.csv in /");

    // Outlined in its own colour while the outlines' switch is off: along its bottom edge.
    const TCongestionRegion& region = expected.Regions.front();
    ASSERT_FALSE(Window->Action(TCommand::CongestionOutlines)->isChecked());
    const auto pixelOf = [&](const QImage& frame, double x, double y) {
        const std::array<double, 2>& pan = Window->View->CameraState().FPan;
        return FloorPixel(frame, Window->View->Distance(), x + pan[0], y + pan[1]);
    };
    const auto chosenOnBottomEdge = [&] {
        const QImage frame = Frame();
        // The last of its cells in the order of the rows has no cell of the region below it;
        // the origin marker in the middle of the view lies away from it.
        const std::int32_t last = region.Cells.back();
        const QPoint edge = pixelOf(frame, CellCentreX(last % floor.XMax, floor.XMax),
                                    double{CellCentreY(last / floor.XMax, floor.YMax)} - 0.5);
        int cyan = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            const TRgb p = PixelAt(frame, edge + QPoint(0, dy));
            cyan += p.R < 80 && p.G > 180 && p.B > 200 ? 1 : 0;
        }
        return cyan > 0;
    };
    EXPECT_FALSE(chosenOnBottomEdge());
    const QRect row = report->Regions->visualItemRect(report->Regions->item(0, 0));
    QTest::mouseClick(report->Regions->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Window->Projects->Replay.TimeStep() == region.PeakStep; }));
    Window->Projects->Replay.SeekToStep(ReplayEndStep(floor)); // nobody stands on the edges
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosenOnBottomEdge(); }));
    // A click into the region keeps it; one on the floor away from it lets it go.
    const auto clickOnFloor = [&](std::int32_t x, std::int32_t y) {
        const QPoint at = pixelOf(Frame(), CellCentreX(x, floor.XMax), CellCentreY(y, floor.YMax));
        QTest::mousePress(Window->View, Qt::LeftButton, {}, at);
        QTest::mouseRelease(Window->View, Qt::LeftButton, {}, at);
    };
    clickOnFloor(region.PeakX, region.PeakY);
    EXPECT_TRUE(chosenOnBottomEdge());
    clickOnFloor(11, 11);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !chosenOnBottomEdge(); }));
}

// The curve window's second page lists every exit and stair the flows analysis finds, with the
// busiest three plotted; a place checked or unchecked adds or removes its line. The flow labels
// write the passages on the floor.
TEST_F(EvacuationViews, TheFlowsPageListsThePlacesAndPlotsTheCheckedOnes) {
    ShowAndWait();
    Load(Ferry);
    PressInView(Qt::Key_E);
    TEvacuationCurveWindow* curve = Window->Evacuation->CurveWindow();
    ASSERT_NE(curve, nullptr);
    const TLogFile& ferry = *Window->Projects->LogFile;
    const TFlowReport flows = AnalyseFlows(ferry, AnalysisSettingsOf(Window->Shots->Options));
    ASSERT_GE(flows.Places.size(), 4U);
    QListWidget& places = *curve->Flows->Places;
    ASSERT_EQ(places.count(), static_cast<int>(flows.Places.size()));
    EXPECT_EQ(places.item(0)->text(), FlowPlaceText(flows.Places[0], ferry));
    int checked = 0;
    std::int64_t leastChecked = std::numeric_limits<std::int64_t>::max();
    std::int64_t mostUnchecked = 0;
    for (int row = 0; row < places.count(); ++row) {
        const std::int64_t total = flows.Places[static_cast<std::size_t>(row)].Total;
        if (places.item(row)->checkState() == Qt::Checked) {
            ++checked;
            leastChecked = std::min(leastChecked, total);
        } else {
            mostUnchecked = std::max(mostUnchecked, total);
        }
    }
    EXPECT_EQ(checked, 3);
    EXPECT_GE(leastChecked, mostUnchecked) << "the busiest are checked";
    QChart& chart = *curve->Flows->ChartView->chart();
    EXPECT_EQ(chart.series().size(), 3);
    for (int row = 0; row < places.count(); ++row) {
        places.item(row)->setCheckState(Qt::Unchecked);
    }
    EXPECT_TRUE(chart.series().isEmpty());
    places.item(0)->setCheckState(Qt::Checked);
    ASSERT_EQ(chart.series().size(), 1);
    // Its line reaches the most persons the place saw in a second.
    double most = 0.0;
    for (const QPointF& point : static_cast<QLineSeries*>(chart.series().front())->points()) {
        most = std::max(most, point.y());
    }
    EXPECT_EQ(most, double(flows.Places[0].PeakPerSecond));

    // Flow labels: a whitish box of text where the first exit is, on its deck.
    const TFlowPlace& exit = flows.Places[0];
    Window->ViewCommands->ShowDeck(exit.Deck);
    const auto whiteAround = [&] {
        const QImage frame = Frame();
        const double x =
            (double{CellCentreX(exit.X0, ferry.XMax)} + double{CellCentreX(exit.X1, ferry.XMax)}) /
            2.0;
        const QPoint centre = FloorPixel(frame, Window->View->Distance(), x,
                                         double{CellCentreY(exit.Y0, ferry.YMax)});
        int white = 0;
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -10; dx <= 10; ++dx) {
                const TRgb p = PixelAt(frame, centre + QPoint(dx, dy));
                white += p.R > 210 && p.G > 210 && p.B > 210 ? 1 : 0;
            }
        }
        return white;
    };
    const int before = whiteAround();
    Window->Action(TCommand::FlowLabels)->trigger();
    EXPECT_TRUE(Window->Action(TCommand::FlowLabels)->isChecked());
    EXPECT_GT(whiteAround(), before + 40);
}

// Both plots tick at round values their labels name: steps of 1, 2 or 5 times a power of ten,
// whole ones, from 0 (persons) or a round second, to the first tick at or past the data. The
// persons a second for every place plotted alone, so that a peak of 4 stands at the tick "4".
TEST_F(EvacuationViews, ThePlotsTickAtRoundValuesTheirLabelsName) {
    ShowAndWait();
    Load(Ferry);
    PressInView(Qt::Key_E);
    TEvacuationCurveWindow* curve = Window->Evacuation->CurveWindow();
    ASSERT_NE(curve, nullptr);
    const auto checkTicks = [](const QAbstractAxis* shown, double last, const std::string& what) {
        const auto* axis = qobject_cast<const QValueAxis*>(shown);
        ASSERT_NE(axis, nullptr) << what;
        EXPECT_EQ(axis->labelFormat(), "%d") << what << ": a label is the whole tick value";
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(step == power || step == 2 * power || step == 5 * power)
            << what << ": " << step;
        EXPECT_GE(step, 1.0) << what;
        EXPECT_EQ(std::fmod(axis->min(), step), 0.0) << what;
        EXPECT_GE(axis->max(), last) << what;
        EXPECT_LT(axis->max() - step, std::max(last, axis->min() + 0.5)) << what;
    };
    const TLogFile& ferry = *Window->Projects->LogFile;
    checkTicks(curve->ChartView->chart()->axes(Qt::Vertical).front(), double(ferry.Persons.size()),
               "the curve's persons");

    const TFlowReport flows = AnalyseFlows(ferry, AnalysisSettingsOf(Window->Shots->Options));
    QListWidget& places = *curve->Flows->Places;
    QChart& chart = *curve->Flows->ChartView->chart();
    for (int row = 0; row < places.count(); ++row) {
        places.item(row)->setCheckState(Qt::Unchecked);
    }
    for (int row = 0; row < places.count(); ++row) {
        places.item(row)->setCheckState(Qt::Checked);
        const TFlowPlace& place = flows.Places[std::size_t(row)];
        const std::string what = places.item(row)->text().toStdString();
        checkTicks(chart.axes(Qt::Vertical).front(), double(place.PeakPerSecond), what);
        const double lastSecond = double(place.PerSecond.back().Second + 1 + ferry.TOff);
        checkTicks(chart.axes(Qt::Horizontal).front(), lastSecond, what);
        places.item(row)->setCheckState(Qt::Unchecked);
    }
}

// Wherever the window names the deck of an exit, it names it by the caption the deck chooser shows
// for the exit's deck number (the number --flows prints and --deck takes); no text counts decks by
// a number of its own.
TEST_F(EvacuationViews, EveryTextNamesTheDeckOfAnExitByTheCaptionTheChooserLists) {
    ShowAndWait();
    Load(Ferry);
    PressInView(Qt::Key_E);
    TEvacuationCurveWindow* curve = Window->Evacuation->CurveWindow();
    ASSERT_NE(curve, nullptr);
    const TLogFile& ferry = *Window->Projects->LogFile;
    const TFlowReport flows = AnalyseFlows(ferry, AnalysisSettingsOf(Window->Shots->Options));
    const auto exit = std::ranges::find_if(
        flows.Places, [](const TFlowPlace& p) { return p.Kind == TFlowKind::Exit && p.Deck > 0; });
    ASSERT_NE(exit, flows.Places.end());
    const int row = int(exit - flows.Places.begin());
    Window->ViewCommands->ShowDeck(exit->Deck);
    const QString caption = Window->Tools->DeckChooser->currentText();

    QListWidget& places = *curve->Flows->Places;
    for (int other = 0; other < places.count(); ++other) {
        places.item(other)->setCheckState(other == row ? Qt::Checked : Qt::Unchecked);
    }
    Window->Action(TCommand::FlowLabels)->trigger();
    const std::vector<TFloorLabel>& labels = Window->View->ShownFloorLabels();
    const auto label = std::ranges::find_if(labels, [&](const TFloorLabel& l) {
        return l.Deck == exit->Deck && l.ToolTip.startsWith(FlowPlaceName(*exit, ferry) + "\n");
    });
    ASSERT_NE(label, labels.end());

    const std::vector<std::pair<const char*, QString>> texts{
        {"the Flows tab's list", places.item(row)->text()},
        {"the plot's line", curve->Flows->ChartView->chart()->series().front()->name()},
        {"the tool tip on the deck", label->ToolTip},
        {"the caption of a shot", FrameCaptionText(ferry, Window->Projects->Replay, exit->Deck)},
        {"the curve's legend", curve->Legend->text()},
    };
    const QRegularExpression deckNumber("deck *[0-9]", QRegularExpression::CaseInsensitiveOption);
    for (const auto& [where, text] : texts) {
        EXPECT_TRUE(text.contains(caption)) << where << ": " << text.toStdString();
        QString rest = text;
        for (int deck = 0; deck < Window->Tools->DeckChooser->count(); ++deck) {
            rest.remove(Window->Tools->DeckChooser->itemText(deck));
        }
        EXPECT_FALSE(rest.contains(deckNumber)) << where << ": " << text.toStdString();
    }
}

// At the fitted zoom of a small view no label on the floor covers another, on any deck: one that
// would is moved aside or left out, the busiest kept. The mouse over a label or over the cells of
// its place gives the place's figures.
TEST_F(EvacuationViews, FlowLabelsNeverCoverEachOtherAndGiveTheirFiguresUnderTheMouse) {
    ShowAndWait();
    Window->resize(520, 420);
    Load(Ferry);
    const TLogFile& ferry = *Window->Projects->LogFile;
    const TFlowReport flows = AnalyseFlows(ferry, AnalysisSettingsOf(Window->Shots->Options));
    Window->Action(TCommand::FlowLabels)->trigger();
    const std::vector<TFloorLabel>& labels = Window->View->ShownFloorLabels();
    ASSERT_EQ(labels.size(), flows.Places.size());
    int movedOrLeftOut = 0;
    for (std::int32_t deck = 0; deck < std::int32_t(ferry.Decks.size()); ++deck) {
        Window->ViewCommands->ShowDeck(deck);
        Window->View->FitDeck();
        const QImage frame = Frame(); // the camera looks straight down
        const std::vector<TDrawnLabel>& drawn = Window->View->DrawnFloorLabels();
        const auto onDeck =
            std::ranges::count_if(labels, [&](const TFloorLabel& l) { return l.Deck == deck; });
        ASSERT_GT(drawn.size(), 0U) << "deck " << deck;
        movedOrLeftOut += int(onDeck) - int(drawn.size());
        for (std::size_t a = 0; a < drawn.size(); ++a) {
            for (std::size_t b = a + 1; b < drawn.size(); ++b) {
                EXPECT_FALSE(drawn[a].Box.intersects(drawn[b].Box))
                    << labels[drawn[a].Label].Text.toStdString() << " and "
                    << labels[drawn[b].Label].Text.toStdString() << " on deck " << deck;
            }
            const QRect& box = drawn[a].Box;
            const QPoint point = FloorPixel(frame, Window->View->Distance(),
                                            labels[drawn[a].Label].X, labels[drawn[a].Label].Y);
            movedOrLeftOut += box.contains(point) ? 0 : 1;
            EXPECT_EQ(Window->View->FloorLabelTipAt(box.center()), labels[drawn[a].Label].ToolTip);
        }
        // The busiest of the deck always shows.
        const auto busiest = std::ranges::find(labels, deck, &TFloorLabel::Deck);
        EXPECT_EQ(drawn.front().Label, std::size_t(busiest - labels.begin()));
    }
    EXPECT_GT(movedOrLeftOut, 0) << "the view is small enough that labels crowd";

    // Over the floor of a place, beside every label drawn: its own figures.
    const std::int32_t deck = flows.Places.front().Deck;
    Window->ViewCommands->ShowDeck(deck);
    Window->View->FitDeck();
    const QImage frame = Frame();
    const auto besideLabels = [&](const QPoint& point) {
        return std::ranges::none_of(Window->View->DrawnFloorLabels(),
                                    [&](const TDrawnLabel& d) { return d.Box.contains(point); });
    };
    int tried = 0;
    for (const TFlowPlace& place : flows.Places) {
        const QPoint cell =
            FloorPixel(frame, Window->View->Distance(), CellCentreX(place.X0, ferry.XMax),
                       CellCentreY(place.Y0, ferry.YMax));
        if (place.Deck == deck && besideLabels(cell)) {
            EXPECT_EQ(Window->View->FloorLabelTipAt(cell), FlowToolTipText(place, ferry));
            ++tried;
        }
    }
    EXPECT_GT(tried, 0);
    EXPECT_EQ(Window->View->FloorLabelTipAt(QPointF(2, 2)), QString()) << "over the sea";
}

} // namespace
