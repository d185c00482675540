// The orbiting camera: distance limits and zoom, drags with each button, fit and projection.

#include "CameraMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

TCamera TopView(double distance) {
    TCamera camera;
    camera.FIsControlEnabled = true;
    camera.SetDistance(distance);
    return camera;
}

void Drag(TCamera& camera, TMouseButton button, int dx, int dy) {
    camera.MouseDown(button, 300, 300);
    camera.MouseMove(300 + dx / 2, 300 + dy / 2);
    camera.MouseMove(300 + dx, 300 + dy); // each move counts from the one before
    camera.MouseUp();
}

} // namespace

TEST(Camera, DistanceHasALowerLimitOnly) {
    for (const auto& [asked, kept] : {std::pair{0.5, 1.1}, {1.1, 1.1}, {1e6, 1e6}}) {
        EXPECT_EQ(TopView(asked).Distance(), kept) << asked;
        EXPECT_EQ(TopView(asked).FEye, (std::array{0.0, 0.0, kept}));
    }
}

TEST(Camera, ZoomStopsAtTheLowerLimitAndBeforeInfinity) {
    TCamera camera = TopView(86.6);
    for (int i = 0; i < 60; ++i) {
        camera.SetDistance(ZoomedIn(camera.Distance()));
    }
    EXPECT_EQ(camera.Distance(), 1.1);
    EXPECT_DOUBLE_EQ(WheelZoomed(100.0, 120), 97.6); // a notch away from the user comes closer
    camera.SetDistance(1.7e308);
    camera.SetDistance(ZoomedOut(camera.Distance()));
    camera.SetDistance(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(camera.FEye[2], 1.7e308);
}

TEST(Camera, LeftDragOrbitsPastThePoleWithUpPerpendicular) {
    TCamera camera = TopView(100.0);
    Drag(camera, TMouseButton::Left, 150, -400);
    EXPECT_DOUBLE_EQ(camera.FPhi, 1.2);
    EXPECT_DOUBLE_EQ(camera.FTheta, -3.2);
    EXPECT_NEAR(camera.FEye[2], -99.829, 1e-3); // below the floor
    const auto& e = camera.FEye;
    const auto& u = camera.FUp;
    EXPECT_NEAR(e[0] * u[0] + e[1] * u[1] + e[2] * u[2], 0.0, 1e-9);
}

// Seen from above the deck follows the pointer: right on the screen is (up y, -up x).
TEST(Camera, RightDragPansAlongTheScreenAtAnyAzimuthFasterFarAway) {
    TCamera camera = TopView(100.0);
    Drag(camera, TMouseButton::Right, 100, 0);
    EXPECT_EQ(camera.FPan, (std::array{12.5, 0.0}));
    for (const double phi : {0.7, 2.0, -2.5}) {
        camera = TopView(200.0);
        camera.FPhi = phi;
        Drag(camera, TMouseButton::Right, 8, 0);
        EXPECT_NEAR(camera.FPan[0], camera.FUp[1] * 2.0, 1e-12) << phi;
        EXPECT_NEAR(camera.FPan[1], -camera.FUp[0] * 2.0, 1e-12) << phi;
        Drag(camera, TMouseButton::Right, -8, -8); // back, and up the screen
        EXPECT_NEAR(camera.FPan[0], camera.FUp[0] * 2.0, 1e-12) << phi;
        EXPECT_NEAR(camera.FPan[1], camera.FUp[1] * 2.0, 1e-12) << phi;
    }
}

TEST(Camera, LastPressSetsModeAndCursorAndAMiddlePressOnlyRestarts) {
    TCamera camera = TopView(100.0);
    EXPECT_EQ(camera.MouseDown(TMouseButton::Right, 0, 0).Cursor, TCursor::Hand);
    EXPECT_EQ(camera.MouseDown(TMouseButton::Left, 0, 0).Cursor, TCursor::Cross);
    EXPECT_EQ(camera.MouseDown(TMouseButton::Other, 50, 0).Cursor, TCursor::Unchanged);
    EXPECT_TRUE(camera.MouseMove(60, 0).SetOrthoAndInvalidate);
    EXPECT_DOUBLE_EQ(camera.FPhi, 0.08);
    EXPECT_EQ(camera.MouseUp().Cursor, TCursor::Arrow);
    Drag(camera, TMouseButton::Other, 200, 90);
    EXPECT_DOUBLE_EQ(camera.FPhi, 0.08);
    EXPECT_EQ(camera.FTheta, 0.0);
    EXPECT_EQ(camera.FPan, (std::array{0.0, 0.0}));
}

TEST(Camera, DisabledControlIgnoresPressesAndMovesButNotReleases) {
    TCamera camera = TopView(100.0);
    camera.MouseDown(TMouseButton::Left, 0, 0);
    camera.FIsControlEnabled = false;
    EXPECT_FALSE(camera.MouseMove(100, 0).SetOrthoAndInvalidate);
    EXPECT_EQ(camera.MouseDown(TMouseButton::Right, 5, 5).Cursor, TCursor::Unchanged);
    EXPECT_EQ(camera.FEye, (std::array{0.0, 0.0, 100.0}));
    camera.FIsControlEnabled = true;
    camera.MouseMove(110, 0); // still rotating, from the last position seen while enabled
    EXPECT_DOUBLE_EQ(camera.FPhi, 0.88);
    camera.FIsControlEnabled = false;
    EXPECT_EQ(camera.MouseUp().Cursor, TCursor::Arrow);
    EXPECT_EQ(camera.FMouseMode, TMouseMode::None);
}

TEST(Camera, FitAndFarPlaneFollowDeckDistanceAndPan) {
    TCamera camera = TopView(100.0);
    camera.FitToDeck(100);
    EXPECT_NEAR(camera.FEye[2], 86.6, 0.01);
    Drag(camera, TMouseButton::Left, 0, 100);
    camera.FitToDeck(100); // the angles stay and so does the eye's place on the sphere
    EXPECT_NEAR(camera.FEye[2], 86.6 * std::cos(0.8), 0.01);
    EXPECT_EQ(FitDistance(0), 1.1); // not onto the look-at point
    const struct {
        double Distance, PanX, PanY;
        int Extent;
        double Far;
    } cases[] = {{camera.Distance(), 0, 0, 100, 186},
                 {86.6, 30, -40, 100, 236},
                 {86.6, -3.9, 0, 100, 189},
                 {1e12, 0, 0, 100, 1e12 + 100},
                 {FitDistance(0), 0, 0, 0, 2}};
    for (const auto& c : cases) {
        const TProjection p = ProjectionFor(800, 600, 60, c.Distance, {c.PanX, c.PanY}, c.Extent);
        EXPECT_EQ(p.Far, c.Far) << c.Distance;
        EXPECT_EQ(p.Aspect, 800.0f / 600.0f);
    }
    EXPECT_EQ(ProjectionFor(640, 0, 60, 10.0, {0, 0}, 10).Aspect, 640.0f);
}

// A deck fitted from any side lies whole in the view and fills 90 % or more of its limiting side,
// whatever the deck's shape, the view's shape, the angles and the pan the camera had.
TEST(Camera, FitDeckShowsTheWholeDeckFillingTheLimitingSide) {
    const TDeckBox decks[] = {{-50, 50, -20, 20, 3}, {-3, 4, -200, 1, 3}, {-6, 7, -4, 5, 3}};
    const std::pair<int, int> drags[] = {{0, 0}, {40, -90}, {310, 140}, {-125, -190}};
    for (const TDeckBox& deck : decks) {
        for (const double aspect : {1.6, 0.5}) {
            for (const auto& [dx, dy] : drags) {
                TCamera camera = TopView(500.0);
                Drag(camera, TMouseButton::Left, dx, dy);
                Drag(camera, TMouseButton::Right, 35, -12);
                const double phi = camera.FPhi;
                camera.FitToBox(deck, aspect);
                double spread = 0.0;
                for (const double x : {deck.MinX, deck.MaxX}) {
                    for (const double y : {deck.MinY, deck.MaxY}) {
                        for (const double z : {0.0, deck.Height}) {
                            const auto seen = ProjectedPoint(camera, aspect, {x, y, z});
                            ASSERT_TRUE(seen) << "a corner behind the camera";
                            spread = std::max({spread, std::abs((*seen)[0]), std::abs((*seen)[1])});
                        }
                    }
                }
                EXPECT_LE(spread, 1.0) << deck.MaxX << " " << aspect << " " << phi;
                EXPECT_GE(spread, 0.9) << deck.MaxX << " " << aspect << " " << phi;
                EXPECT_DOUBLE_EQ(camera.FPhi, phi) << "fitted from where it is";
            }
        }
    }
}

// Straight down north is up; from the side the floor is at the bottom of the view and the near
// edge is the one at the bottom after a load; oblique lies between.
TEST(Camera, PresetsLookFromTheirSideWithTheDeckUpright) {
    const auto seen = [](TCameraPreset preset, std::array<double, 3> point) {
        TCamera camera = TopView(100.0);
        camera.TurnTo(preset);
        camera.FitToBox({-50, 50, -20, 20, 3}, 1.6);
        return *ProjectedPoint(camera, 1.6, point);
    };
    EXPECT_GT(seen(TCameraPreset::Top, {0, 20, 0})[1], 0.5); // north at the top
    EXPECT_GT(seen(TCameraPreset::Top, {50, 0, 0})[0], 0.5); // east to the right
    EXPECT_GT(seen(TCameraPreset::Side, {0, -20, 3})[1], seen(TCameraPreset::Side, {0, -20, 0})[1])
        << "walls stand up";
    EXPECT_GT(seen(TCameraPreset::Side, {50, -20, 0})[0], 0.5);
    EXPECT_NEAR(seen(TCameraPreset::Side, {0, -20, 0})[1], 0.0, 0.01) << "level with the deck";
    EXPECT_GT(seen(TCameraPreset::Oblique, {0, 20, 0})[1],
              seen(TCameraPreset::Oblique, {0, -20, 0})[1]);
}

// The plan shows every point where it lies, whatever its height, north up: a wall's top or a
// person's head never leans out of its cell. Zoom and pan work as elsewhere; a left drag keeps it
// straight down, and Top leaves it for the perspective.
TEST(Camera, ThePlanShowsEveryHeightWhereItsFootIsAndStaysStraightDown) {
    TCamera plan = TopView(100.0);
    plan.FIsControlEnabled = true;
    plan.TurnTo(TCameraPreset::Plan);
    plan.FitToBox({-50, 50, -20, 20, 3}, 1.6);
    for (const std::array<double, 2> foot : {std::array{-49.5, 19.5}, {30.0, -12.0}, {0.0, 0.0}}) {
        EXPECT_EQ(*ProjectedPoint(plan, 1.6, {foot[0], foot[1], 6.0}),
                  *ProjectedPoint(plan, 1.6, {foot[0], foot[1], 0.0}));
    }
    EXPECT_GT((*ProjectedPoint(plan, 1.6, {0, 20, 0}))[1], 0.5); // north at the top
    const auto eye = plan.FEye;
    const auto up = plan.FUp;
    Drag(plan, TMouseButton::Left, 130, -250);
    EXPECT_EQ(plan.FEye, eye);
    EXPECT_EQ(plan.FUp, up);
    const auto east = (*ProjectedPoint(plan, 1.6, {10, 0, 0}))[0];
    plan.SetDistance(ZoomedIn(plan.Distance()));
    EXPECT_NEAR((*ProjectedPoint(plan, 1.6, {10, 0, 0}))[0], east / 0.9, 1e-12);
    Drag(plan, TMouseButton::Right, 40, 0);
    EXPECT_GT(plan.FPan[0], 0.0);
    EXPECT_TRUE(plan.FPlan);
    plan.TurnTo(TCameraPreset::Top);
    EXPECT_FALSE(plan.FPlan);
    EXPECT_NE(*ProjectedPoint(plan, 1.6, {30.0, -12.0, 6.0}),
              *ProjectedPoint(plan, 1.6, {30.0, -12.0, 0.0}));
}

// Reset view is the camera of a fresh start, whatever was done to it.
TEST(Camera, ResetGivesBackTheCameraOfAFreshLoad) {
    TCamera loaded;
    loaded.FitToDeck(120);
    TCamera used = loaded;
    used.FIsControlEnabled = true;
    Drag(used, TMouseButton::Left, 130, -250);
    Drag(used, TMouseButton::Right, 40, 70);
    used.SetDistance(ZoomedIn(used.Distance()));
    used.TurnTo(TCameraPreset::Oblique);
    used.Reset(120);
    EXPECT_EQ(used.FPhi, loaded.FPhi);
    EXPECT_EQ(used.FTheta, loaded.FTheta);
    EXPECT_EQ(used.FDistance, loaded.FDistance);
    EXPECT_EQ(used.FEye, loaded.FEye);
    EXPECT_EQ(used.FPan, loaded.FPan);
    EXPECT_EQ(used.FUp, loaded.FUp);
}
