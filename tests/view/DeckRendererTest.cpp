// The deck renderer drawing without any window (EGL, Mesa): no display needed.

#include "DeckRenderer.h"
#include "EvacuationAnalysis.h"
#include "LogFile.h"
#include "OffscreenCanvas.h"
#include "PersonWay.h"
#include "PixelCheck.h"
#include "RecordingUiServices.h"
#include "Replay.h"

#include <QImage>
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int32_t FrameWidth = 480;
constexpr std::int32_t FrameHeight = 360;
constexpr int StepShown = 12;

// A project with its replay and congestion map: the ferry sample, or a log given as text.
struct TMappedProject {
    TRecordingUiServices Ui;
    TScopedUiServices Installed{Ui};
    TNoProgressWindow Progress;
    TLogFile Project{"Level"};
    TReplay Replay;
    TCongestionMap Map;

    TMappedProject() {
        EXPECT_TRUE(Project.Load(AMBLA_SAMPLES_DIR "/ferry.3dl", Progress));
        EXPECT_GE(Project.ZMax, 2);
        Analyse();
    }
    explicit TMappedProject(std::string_view log) {
        EXPECT_TRUE(Project.LoadFromMemory("test.3dl", log, Progress));
        Analyse();
    }

private:
    void Analyse() {
        Map = AnalyseEvacuation(Project).Map;
        Replay.SetProject(&Project);
    }
};

// A renderer in a context of its own, made for the test and let go after it.
class TCanvasRenderer {
public:
    explicit TCanvasRenderer(TMappedProject& mapped) : Mapped(mapped) {
        const std::string error = Canvas.Open(FrameWidth, FrameHeight);
        EXPECT_EQ(error, "");
        Opened = error.empty();
        Renderer.ShowProject(mapped.Project);
        Renderer.InitializeContext();
    }
    ~TCanvasRenderer() {
        if (Opened) {
            Renderer.ReleaseGraphics();
        }
    }
    TCanvasRenderer(const TCanvasRenderer&) = delete;
    TCanvasRenderer& operator=(const TCanvasRenderer&) = delete;

    // The options of the view from this frame on: the origin marker, the congestion map with a
    // picture in the corner, the deck, the persons in one batch or a list call each.
    void Show(bool origin, bool congestion, std::int32_t deck = 0, bool batched = true) {
        if (Renderer.ShowOrigin() != origin) {
            Renderer.ToggleOrigin();
        }
        Renderer.ShowCongestionMap(congestion ? &Mapped.Map : nullptr);
        Renderer.SetCornerPicture(congestion ? CornerPicture() : QImage());
        EXPECT_TRUE(Renderer.SelectDeck(deck));
        Renderer.SetPersonsBatched(batched);
    }

    QImage Draw(const TCamera& camera) {
        QImage frame;
        if (Opened) {
            Renderer.DrawFrame(camera, FrameWidth, FrameHeight);
            Canvas.ReadFrame(frame);
        }
        return frame;
    }

    void ShowSelection(const TShownSelection* selection) { Renderer.ShowSelection(selection); }
    void KeepDeck(bool kept) { Renderer.SetDeckKept(kept); }
    void ShadeByWaiting(const std::vector<float>* seconds) {
        Renderer.ShadePersonsByWaiting(seconds, 10.0f);
    }

    // The camera after a load: straight from above.
    TCamera LoadCamera() const {
        TCamera camera;
        Renderer.FitCamera(camera);
        return camera;
    }

    // Turned to a preset and fitted to the deck shown, as the view's commands do.
    TCamera PresetCamera(TCameraPreset preset) const {
        TCamera camera;
        Renderer.FitCamera(camera);
        camera.TurnTo(preset);
        Renderer.FitCameraToDeck(camera, double{FrameWidth} / FrameHeight);
        return camera;
    }
    void HidePersons() { Renderer.HidePersons(); }

    // Fitted to the decks, straight from above, and panned.
    TCamera PannedCamera() const { return DraggedCamera(TMouseButton::Right, 100, 50); }

    // Tilted, turned and close to the origin marker, so that its shading fills many pixels.
    TCamera CloseCamera() const {
        TCamera camera = DraggedCamera(TMouseButton::Left, 60, 90);
        camera.SetDistance(12);
        return camera;
    }

private:
    // The camera after a load, then dragged with a mouse button.
    TCamera DraggedCamera(TMouseButton button, int dx, int dy) const {
        TCamera camera;
        Renderer.FitCamera(camera);
        camera.FIsControlEnabled = true;
        camera.MouseDown(button, 0, 0);
        camera.MouseMove(dx, dy);
        camera.MouseUp();
        return camera;
    }

    // Half transparent, so that it is blended over the deck.
    static QImage CornerPicture() {
        QImage picture(40, 30, QImage::Format_RGBA8888);
        picture.fill(QColor(255, 200, 0, 128));
        return picture;
    }

    TMappedProject& Mapped;
    TOffscreenCanvas Canvas;
    TDeckRenderer Renderer;
    bool Opened = false;
};

std::int64_t DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return std::int64_t{a.width()} * a.height() + 1;
    }
    std::int64_t differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return differing;
}

// Two decks of 12 x 12 cells. On the upper, the persons 1 .. 100 stand 1 .. 100 steps on cells of
// their own, and one stands 10,000 steps; on the lower, one person stands 50 steps on the cell
// where the upper's 50-step person stood. One scale serves both decks, and its top lies at the
// 99 % rank, so the one hot cell does not pale the hundred others into one colour.
TEST(DeckRenderer, TheMapHasOneScaleForAllDecksThatAHotCellDoesNotFlatten) {
    constexpr int Side = 12;
    std::string log = "<header> pmax 102 xmax 12 ymax 12 zmax 2 vmax 1 toff 0 </header>\n";
    for (int deck = 0; deck < 2; ++deck) {
        log += "<deck> level " + std::to_string(deck) + " (celldata)\n";
        for (int row = 0; row < Side; ++row) {
            log += "P12x0\n";
        }
        log += "</deck>\n";
    }
    std::string starts;
    std::string moves;
    const auto addPerson = [&](int cell, int deck, int steps) {
        starts += std::to_string(cell % Side) + " " + std::to_string(cell / Side) + " " +
                  std::to_string(deck) + " 1 0\n";
        moves += "P" + std::to_string(steps) + "x0 S\n";
    };
    for (int cell = 0; cell < 101; ++cell) {
        addPerson(cell, 1, cell < 100 ? cell + 1 : 10000);
    }
    addPerson(49, 0, 50);
    TMappedProject mapped(log + "<persons> <startpositions>\n" + starts + "(movement)\n" + moves +
                          "</persons>\n");
    EXPECT_EQ(mapped.Map.ScaleTop, 100.0f);
    EXPECT_EQ(mapped.Map.Highest, 10000.0f);
    ASSERT_EQ(mapped.Map.StandingSeconds[0].at(49), 50.0f);
    ASSERT_EQ(mapped.Map.StandingSeconds[1].at(49), 50.0f);
    mapped.Replay.SeekToStep(10001); // everybody has left: no person hides a cell

    TCanvasRenderer view(mapped);
    const TCamera camera = view.LoadCamera();
    // The canvas reads the frame bottom row first.
    const auto cellColour = [&](const QImage& frame, int cell) {
        const double x = cell % Side - Side / 2 + 0.5;
        const double y = Side / 2 - cell / Side - 0.5;
        const QPoint seen = FloorPixel(frame, camera.Distance(), x, y);
        return frame.pixel(seen.x(), frame.height() - 1 - seen.y());
    };
    view.Show(false, true, 1);
    const QImage upper = view.Draw(camera);
    view.Show(false, true, 0);
    const QImage lower = view.Draw(camera);
    ASSERT_FALSE(upper.isNull());
    EXPECT_EQ(cellColour(lower, 49), cellColour(upper, 49)) << "the same value, the same colour";
    std::set<QRgb> colours;
    for (int cell = 0; cell < 100; ++cell) {
        colours.insert(cellColour(upper, cell));
    }
    EXPECT_GE(colours.size(), 60U) << "the hundred cells spread over the scale";
    EXPECT_EQ(cellColour(upper, 100), cellColour(upper, 99)) << "above the top: the top colour";
}

const TShownSelection Selected{3, {}, 0};

// A step drawn as the first frame of a context, and drawn again after frames of the steps before
// it seen from elsewhere, of the other deck, without the marker, with and without the map, with
// the persons drawn the other way, must be the same picture to the pixel, a person selected in
// both (its black outline is the last thing a frame draws).
TEST(DeckRenderer, AFrameDoesNotDependOnTheFramesDrawnBefore) {
    for (const bool congestion : {false, true}) {
        SCOPED_TRACE(congestion ? "with the congestion map" : "without the congestion map");
        QImage fresh;
        {
            TMappedProject ferry;
            for (int step = 0; step < StepShown; ++step) {
                ferry.Replay.StepForward();
            }
            TCanvasRenderer view(ferry);
            view.Show(true, congestion);
            view.ShowSelection(&Selected);
            fresh = view.Draw(view.CloseCamera());
        }
        TMappedProject ferry;
        TCanvasRenderer view(ferry);
        const TCamera elsewhere = view.PannedCamera();
        for (int step = 0; step < StepShown; ++step) {
            view.Show(step % 3 != 0, step % 2 == 0, step % 4 == 1 ? 1 : 0, step % 5 != 2);
            view.ShowSelection(step % 3 == 2 ? &Selected : nullptr);
            view.Draw(step % 2 == 0 ? elsewhere : view.CloseCamera());
            ferry.Replay.StepForward();
        }
        view.ShowSelection(&Selected);
        view.Show(true, congestion);
        ASSERT_FALSE(fresh.isNull());
        // Drawn anew, then over the deck just kept, then over the kept deck alone.
        for (int again = 0; again < 3; ++again) {
            EXPECT_EQ(DifferingPixels(fresh, view.Draw(view.CloseCamera())), 0) << again;
        }
    }
}

// While the camera, the deck and its lights stay, a frame starts from a kept picture of the deck
// alone; it must be the picture drawn anew, step by step and after each change that it depends
// on, and over the next steps of each.
TEST(DeckRenderer, AFrameOverTheKeptDeckIsTheFrameDrawnAnew) {
    TMappedProject ferry;
    TCanvasRenderer view(ferry);
    TCamera camera = view.CloseCamera();
    TLight& light = ferry.Project.Decks[0].Lights[0];
    ASSERT_TRUE(light.SwitchedOn);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"as loaded", [] {}},
        {"a light switched off", [&] { light.SwitchedOn = false; }},
        {"a light's colour", [&] { light.Diffuse[1] = 0.9f; }},
        {"the camera moved", [&] { camera = view.PannedCamera(); }},
        {"the map shown", [&] { view.Show(false, true); }},
        {"another deck", [&] { view.Show(true, false, 1); }},
        {"the first deck again", [&] { view.Show(true, false, 0); }},
    };
    for (const auto& [change, apply] : changes) {
        SCOPED_TRACE(change);
        apply();
        for (int step = 0; step < 3; ++step) {
            view.KeepDeck(true);
            const QImage kept = view.Draw(camera);
            view.KeepDeck(false);
            const QImage anew = view.Draw(camera);
            ASSERT_FALSE(anew.isNull());
            EXPECT_EQ(DifferingPixels(kept, anew), 0) << "step " << step;
            ferry.Replay.StepForward();
        }
    }
}

// Persons on one cell facing one way are one prism: the first of them shows, in its colour, as
// if the others were not there, kept deck or not.
TEST(DeckRenderer, OfPersonsInOnePlaceTheFirstShows) {
    const auto frameOf = [](int persons, bool kept) {
        std::string log = "<header> pmax " + std::to_string(persons) +
                          " xmax 12 ymax 12 zmax 1 vmax 1 toff 0 </header>\n"
                          "<deck> caption Flat\nlevel 0 (celldata)\n";
        for (int row = 0; row < 12; ++row) {
            log += "P12x0\n";
        }
        log += "</deck>\n<persons> <startpositions>\n";
        for (int person = 0; person < persons; ++person) {
            log += "5 6 0 2 0\n";
        }
        log += "(movement)\n";
        for (int person = 0; person < persons; ++person) {
            log += "S\n";
        }
        log += "</persons>\n";
        TMappedProject project(log);
        TCanvasRenderer view(project);
        const std::vector<float> waiting{10.0f, 0.0f, 5.0f};
        view.ShadeByWaiting(&waiting);
        view.KeepDeck(kept);
        view.Draw(view.CloseCamera());
        return view.Draw(view.CloseCamera());
    };
    const QImage alone = frameOf(1, false);
    ASSERT_FALSE(alone.isNull());
    for (const bool kept : {false, true}) {
        EXPECT_EQ(DifferingPixels(frameOf(3, kept), alone), 0) << (kept ? "kept" : "anew");
    }
    EXPECT_GT(DifferingPixels(frameOf(0, false), alone), 100) << "the person is in the picture";
}

// A person a few pixels across on screen is one pixel, green as the prism's top is green; one
// seen close keeps its prism.
TEST(DeckRenderer, APersonTooSmallForItsShapeIsOnePixel) {
    const auto frameOf = [](std::int32_t side, const std::vector<std::string>& persons,
                            bool close) {
        std::string log = "<header> pmax " + std::to_string(persons.size()) + " xmax " +
                          std::to_string(side) + " ymax " + std::to_string(side) +
                          " zmax 1 vmax 1 toff 0 </header>\n<deck> caption Flat\nlevel 0 "
                          "(celldata)\n";
        for (std::int32_t row = 0; row < side; ++row) {
            log += "P" + std::to_string(side) + "x0\n";
        }
        log += "</deck>\n<persons> <startpositions>\n";
        for (const std::string& start : persons) {
            log += start + " 0 1 0\n";
        }
        log += "(movement)\n";
        for (std::size_t person = 0; person < persons.size(); ++person) {
            log += "S\n";
        }
        log += "</persons>\n";
        TMappedProject project(log);
        TCanvasRenderer view(project);
        return view.Draw(close ? view.CloseCamera() : view.LoadCamera());
    };
    // Near the middle of the view, where the perspective shows little of their sides.
    const std::vector<std::string> three = {"190 195", "205 210", "215 188"};
    const QImage crowd = frameOf(400, three, false);
    const QImage empty = frameOf(400, {}, false);
    ASSERT_FALSE(crowd.isNull());
    EXPECT_EQ(DifferingPixels(crowd, empty), 3);
    for (int y = 0; y < crowd.height(); ++y) {
        for (int x = 0; x < crowd.width(); ++x) {
            if (crowd.pixel(x, y) != empty.pixel(x, y)) {
                const QColor dot = crowd.pixelColor(x, y);
                EXPECT_GT(dot.green(), 2 * std::max(dot.red(), dot.blue())) << x << ", " << y;
            }
        }
    }
    const std::vector<std::string> one = {"6 6"};
    EXPECT_GT(DifferingPixels(frameOf(12, one, true), frameOf(12, {}, true)), 100);
}

// A person is left out only when all of its prism lies beyond one edge of the view: seen from
// 100 cells straight above through 60 degrees, the floor shows 77 cells to each side at 4:3, and
// the prism's top, nearer the eye, less.
TEST(DeckRenderer, APersonIsLeftOutOnlyWhenAllOfItLiesBeyondTheView) {
    TMappedProject ferry;
    TCanvasRenderer view(ferry); // its context is current
    glViewport(0, 0, FrameWidth, FrameHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, double{FrameWidth} / FrameHeight, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 100, 0, 0, 0, 0, 1, 0);
    const TScreenFootprint footprint = TScreenFootprint::OfCurrentFrame();
    EXPECT_FALSE(footprint.PrismOffScreen(0, 0));
    EXPECT_FALSE(footprint.PrismOffScreen(77.5f, 0)) << "its foot outside, its footprint not";
    EXPECT_TRUE(footprint.PrismOffScreen(78.0f, 0));
    EXPECT_TRUE(footprint.PrismOffScreen(-78.0f, 20));
    EXPECT_FALSE(footprint.PrismOffScreen(-20, 58.0f));
    EXPECT_TRUE(footprint.PrismOffScreen(-20, 58.5f));
    EXPECT_TRUE(footprint.PrismOffScreen(0, -1000));
    EXPECT_FALSE(footprint.PrismOffScreen(76.0f, -57.0f)) << "a corner of the view";
}

// The selected person stands out in its colour, its way is drawn over the floor in white, solid
// where it walked and dashed where it will, and the stair it takes is signed; without the
// selection the same places show the floor.
TEST(DeckRenderer, TheSelectedPersonStandsOutWithItsWayAndItsDeckChangeSigned) {
    std::string log = "<header> pmax 2 xmax 40 ymax 40 zmax 2 vmax 1 toff 0 </header>\n";
    for (int deck = 0; deck < 2; ++deck) {
        log += "<deck> level " + std::to_string(deck) + " (celldata)\n";
        for (int row = 0; row < 40; ++row) {
            log += "P40x0\n";
        }
        log += "</deck>\n";
    }
    // Cell (10, 20) is x = -9.5, y = -0.5: east to x = -1.5 by step 8, then a deck up.
    TMappedProject mapped(log + "<persons> <startpositions>\n10 20 0 3 0\n30 30 0 1 0\n"
                                "(movement)\nP8x3 U0 P4x1 S\nP20x0 S\n</persons>\n");
    mapped.Replay.SeekToStep(4); // on x = -5.5
    TShownSelection selection;
    selection.Person = 0;
    selection.Way = WayOf(mapped.Project.Persons[0], 40, 40);
    selection.Step = 4;

    TCanvasRenderer view(mapped);
    view.Show(false, false);
    const TCamera camera = view.LoadCamera();
    const QImage plain = view.Draw(camera);
    view.ShowSelection(&selection);
    const QImage selected = view.Draw(camera);
    ASSERT_FALSE(selected.isNull());
    const auto pixelAt = [](const QImage& frame, const QPoint& seen) {
        return QColor(frame.pixel(seen.x(), frame.height() - 1 - seen.y()));
    };
    const auto white = [](const QColor& c) {
        return c.red() > 235 && c.green() > 235 && c.blue() > 235;
    };
    const auto floorAt = [&](double x) { return FloorPixel(selected, camera.Distance(), x, -0.5); };
    const auto prism = ProjectedPoint(camera, double{FrameWidth} / FrameHeight, {-5.5, -0.5, 3.0});
    ASSERT_TRUE(prism.has_value());
    const QPoint prismPixel(static_cast<int>((*prism)[0] * FrameWidth / 2 + FrameWidth / 2.0),
                            static_cast<int>(FrameHeight / 2.0 - (*prism)[1] * FrameHeight / 2));
    const QColor prismColour = pixelAt(selected, prismPixel);
    EXPECT_EQ(prismColour, QColor(SelectionColour.R, SelectionColour.G, SelectionColour.B));
    EXPECT_NE(pixelAt(plain, prismPixel), prismColour);
    for (const double walked : {-9.0, -8.5}) { // clear of the prism seen from above
        EXPECT_TRUE(white(pixelAt(selected, floorAt(walked)))) << walked;
        EXPECT_FALSE(white(pixelAt(plain, floorAt(walked)))) << walked;
    }
    EXPECT_TRUE(white(pixelAt(selected, floorAt(-1.5)))) << "the sign of the stair";
    int brighter = 0;
    for (int x = floorAt(-4.0).x(); x <= floorAt(-2.5).x(); ++x) {
        const QPoint seen(x, floorAt(-4.0).y());
        brighter += pixelAt(selected, seen).lightness() > pixelAt(plain, seen).lightness() + 20;
    }
    EXPECT_GT(brighter, 0) << "the way to come";
    EXPECT_LT(brighter, floorAt(-2.5).x() - floorAt(-4.0).x() + 1) << "dashed";
}

} // namespace

namespace {

// The deck point at the middle of pixel (x, y) of a plan frame, the frame's rows bottom first.
std::array<double, 2> PlanPoint(const TCamera& plan, int x, int y) {
    const double half = PlanHalfHeight(plan.FDistance);
    return {-plan.FPan[0] + (2.0 * (x + 0.5) / FrameWidth - 1.0) * half * FrameWidth / FrameHeight,
            -plan.FPan[1] + (2.0 * (y + 0.5) / FrameHeight - 1.0) * half};
}

// The cells persons stand on in the deck shown, as the whole cell's lower left corner.
std::set<std::array<std::int64_t, 2>> CellsHeld(const TLogFile& project, std::int32_t deck) {
    std::set<std::array<std::int64_t, 2>> cells;
    for (const TPersonData& person : project.Persons) {
        const TPersonData::TState state = person.GetState();
        if (state.Level == deck) {
            cells.insert({static_cast<std::int64_t>(std::floor(state.X - 0.5f)),
                          static_cast<std::int64_t>(std::floor(state.Y - 0.5f))});
        }
    }
    return cells;
}

struct TPersonPixels {
    int Outside = 0;                                  // pixels on no cell a person holds
    std::set<std::array<std::int64_t, 2>> CellsShown; // held cells with a person's pixel
};

// The pixels persons change in a frame, by the cell of the floor under each, as the plan's
// projection puts it.
TPersonPixels PersonPixels(const QImage& persons, const QImage& none, const TCamera& plan,
                           const std::set<std::array<std::int64_t, 2>>& held) {
    TPersonPixels found;
    for (int y = 0; y < persons.height(); ++y) {
        for (int x = 0; x < persons.width(); ++x) {
            if (persons.pixel(x, y) == none.pixel(x, y)) {
                continue;
            }
            const auto point = PlanPoint(plan, x, y);
            const std::array<std::int64_t, 2> cell{static_cast<std::int64_t>(std::floor(point[0])),
                                                   static_cast<std::int64_t>(std::floor(point[1]))};
            if (held.contains(cell)) {
                found.CellsShown.insert(cell);
            } else {
                ++found.Outside;
            }
        }
    }
    return found;
}

// A corridor between two walls packed with persons facing every way.
std::string CrowdedCorridor() {
    std::string log = "<header> pmax 280 xmax 30 ymax 14 zmax 1 vmax 1 toff 0 </header>\n"
                      "<deck> caption Corridor\nlevel 0 (celldata)\nP30x1\n";
    for (int row = 1; row < 13; ++row) {
        log += "1 P28x0 1\n";
    }
    log += "P30x1\n</deck>\n<persons> <startpositions>\n";
    for (int y = 2; y < 12; ++y) {
        for (int x = 1; x < 29; ++x) {
            log += std::to_string(x) + " " + std::to_string(y) + " 0 " +
                   std::to_string((x + y) % 8 + 1) + " 0\n";
        }
    }
    log += "(movement)\n";
    for (int person = 0; person < 280; ++person) {
        log += "S\n";
    }
    return log + "</persons>\n";
}

} // namespace

// In the plan every pixel a person changes lies on the cell that holds it, and every person shows:
// packed in a corridor and facing every way, and on the ferry; the perspective view straight
// from above keeps its prisms, which lean out of their cells towards the edges of the view.
TEST(DeckRenderer, InThePlanEveryPersonStaysInsideItsCell) {
    TMappedProject crowd(CrowdedCorridor());
    TMappedProject ferry;
    ferry.Replay.SeekToStep(StepShown);
    for (TMappedProject* mapped : {&crowd, &ferry}) {
        SCOPED_TRACE(mapped == &crowd ? "crowd" : "ferry");
        const auto held = CellsHeld(mapped->Project, 0);
        ASSERT_GT(held.size(), 20U);
        TCanvasRenderer view(*mapped);
        view.Show(false, false);
        const TCamera plan = view.PresetCamera(TCameraPreset::Plan);
        const TCamera top = view.PresetCamera(TCameraPreset::Top);
        const QImage planWith = view.Draw(plan);
        const QImage topWith = view.Draw(top);
        view.HidePersons();
        const QImage planWithout = view.Draw(plan);
        const QImage topWithout = view.Draw(top);
        ASSERT_FALSE(planWith.isNull());
        const TPersonPixels inPlan = PersonPixels(planWith, planWithout, plan, held);
        EXPECT_EQ(inPlan.Outside, 0);
        EXPECT_EQ(inPlan.CellsShown.size(), held.size());
        // The same frame of the top view taken as a plan: the prisms spill over.
        TCamera topAsPlan = top;
        topAsPlan.FPlan = true;
        EXPECT_GT(PersonPixels(topWith, topWithout, topAsPlan, held).Outside, 100);
    }
}

// The light makes persons of the waiting colours nearly white from the side; the selected person
// is cyan, a colour no lit person takes in any view, the plan included.
TEST(DeckRenderer, NoLightGivesAPersonTheSelectedPersonsColour) {
    TMappedProject ferry;
    ferry.Replay.SeekToStep(StepShown);
    std::vector<float> waiting(ferry.Project.Persons.size());
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        waiting[i] = static_cast<float>(i % 13);
    }
    std::size_t shown = 0;
    while (ferry.Project.Persons[shown].GetState().Level != 0) {
        ++shown;
    }
    TShownSelection selection;
    selection.Person = shown;
    const auto cyanLike = [](QRgb p) { return qRed(p) < 100 && qGreen(p) > 150 && qBlue(p) > 150; };
    const auto count = [](const QImage& frame, const auto& wanted) {
        int found = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                found += wanted(frame.pixel(x, y)) ? 1 : 0;
            }
        }
        return found;
    };
    TCanvasRenderer view(ferry);
    view.Show(false, false);
    view.ShadeByWaiting(&waiting);
    int nearlyWhite = 0;
    for (const TCameraPreset preset :
         {TCameraPreset::Side, TCameraPreset::Oblique, TCameraPreset::Top, TCameraPreset::Plan}) {
        SCOPED_TRACE(static_cast<int>(preset));
        const TCamera camera = view.PresetCamera(preset);
        view.ShowSelection(nullptr);
        const QImage plain = view.Draw(camera);
        ASSERT_FALSE(plain.isNull());
        EXPECT_EQ(count(plain, cyanLike), 0);
        nearlyWhite += count(plain, [](QRgb p) {
            return std::min({qRed(p), qGreen(p), qBlue(p)}) > 215;
        });
        view.ShowSelection(&selection);
        EXPECT_GT(count(view.Draw(camera), cyanLike), 0);
    }
    EXPECT_GT(nearlyWhite, 10) << "what a white selection would be confused with";
}
