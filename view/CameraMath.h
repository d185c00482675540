#pragma once
// The orbiting camera of the 3D view and its projection, as plain numbers: the OpenGL widget
// feeds it mouse events and reads back the eye, the up vector, the pan and what to do next.

#include <array>
#include <cstdint>
#include <optional>

// Vertical field of view of the cell view in degrees; the radians of the camera fit take π as
// 3.1415.
inline constexpr std::int32_t CellViewFieldOfView = 60;
inline constexpr double CellViewFieldOfViewRadians = CellViewFieldOfView * 3.1415 / 180.0;

// The camera never comes closer to the look-at point than this; the near plane lies at 1.
inline constexpr double MinimumDistance = 1.1;

enum class TMouseMode : std::uint8_t { None, Rotate, Pan };
enum class TMouseButton : std::uint8_t { Left, Right, Other };
enum class TCursor : std::uint8_t { Unchanged, Cross, Hand, Arrow };

// The views a user can ask for, each fitted to the whole deck: straight down; level with the deck
// from the bottom edge of the view after a load, the deck upright; halfway between; and the plan,
// straight down without perspective, north up.
enum class TCameraPreset : std::uint8_t { Top, Side, Oblique, Plan };

// The space a deck takes in deck coordinates: its floor, and its walls up to Height.
struct TDeckBox {
    double MinX = 0.0;
    double MaxX = 0.0;
    double MinY = 0.0;
    double MaxY = 0.0;
    double Height = 0.0;
};

// What the widget does after a mouse event. Mouse capture needs no flag: the toolkit keeps
// sending moves to the widget while any button is held.
struct TMouseResponse {
    bool SetOrthoAndInvalidate = false;
    TCursor Cursor = TCursor::Unchanged;
};

// The look-at point is always the scene origin; panning moves the scene, not the camera.
// The eye sits on a sphere of radius FDistance, placed by the azimuth FPhi (from +y towards
// +x) and the polar angle FTheta (from +z). Neither angle is limited, so the camera may pass
// over the pole and below the floor.
//
// In the plan the camera looks straight down, north up, without perspective: every point of the
// deck shows where it lies, whatever its height, so that nothing leans over a wall. The view's
// half height there is what the perspective shows of the floor from the same distance, so zoom
// and pan work as in the other views; dragging to orbit leaves it straight down.
class TCamera {
public:
    bool FIsControlEnabled = false; // mouse presses and moves are ignored while false
    std::int32_t FLastX = 0;
    std::int32_t FLastY = 0;
    TMouseMode FMouseMode = TMouseMode::None;
    double FPhi = 0.0;
    double FTheta = 0.0;
    double FDistance = 0.0;
    std::array<double, 3> FEye{0.0, 0.0, 0.0};
    std::array<double, 2> FPan{0.0, 0.0};
    std::array<double, 3> FUp{0.0, 1.0, 0.0};
    bool FPlan = false;

    double Distance() const { return FDistance; }

    // Moves the eye along its line of sight; never closer than MinimumDistance, no upper limit.
    // A value that is not a finite number leaves the distance as it was. The up vector depends
    // on the angles only, so it stays. The caller sets the projection again: the far plane
    // follows the distance.
    void SetDistance(double value);

    // Places the camera so that a deck whose larger side is maxExtent cells fills the view;
    // the angles and the pan stay.
    void FitToDeck(std::int32_t maxExtent);
    // The camera of a fresh start on such a deck: straight down in perspective, north up, no
    // pan, fitted.
    void Reset(std::int32_t maxExtent);
    // Looks at the middle of the box from the camera's angles, from the distance at which the box
    // fills 95 % of the limiting side of a view of that aspect (width / height).
    void FitToBox(const TDeckBox& box, double aspect);
    // Turns to the preset's angles, and into or out of the plan; FitToBox then fits the deck.
    void TurnTo(TCameraPreset preset);
    // Takes the angles, the distance and the pan as they are, as a camera saved from another
    // view has them, and places the eye and the up vector by them; a plan looks straight down,
    // north up, whatever the angles.
    void Place(double phi, double theta, double distance, const std::array<double, 2>& pan,
               bool plan = false);

    TMouseResponse MouseDown(TMouseButton button, std::int32_t x, std::int32_t y);
    TMouseResponse MouseMove(std::int32_t x, std::int32_t y);
    // Ends any drag, also while the control is disabled, so the cursor never stays a cross.
    TMouseResponse MouseUp();

    // The point of the deck under the centre of the view.
    std::array<float, 2> ViewCentre() const;

private:
    void Rotate(double dx, double dy);
    void Pan(double dx, double dy);
    void RecomputeEye();
    void RecomputeUp();
};

// The directions of the view: where the eye looks, and the view's right and up; none for an eye
// on the look-at point.
struct TViewAxes {
    std::array<double, 3> Forward;
    std::array<double, 3> Right;
    std::array<double, 3> Up;
};
std::optional<TViewAxes> ViewAxesOf(const TCamera& camera);

// Where a point of the deck appears in a view of that aspect: -1 .. 1 across its width and
// height, +y up; nothing for a point on or behind the near plane.
std::optional<std::array<double, 2>> ProjectedPoint(const TCamera& camera, double aspect,
                                                    const std::array<double, 3>& point);

// The share of the view's limiting side that FitToBox fills.
inline constexpr double FittedShare = 0.95;

// Half the height of the plan's view, in cells, seen from that distance: what the perspective
// view shows of the floor from there.
double PlanHalfHeight(double distance);

// Distance at which the larger deck side just fills the vertical field of view, but never below
// MinimumDistance: a deck of one cell, or none, would otherwise put the eye inside the near plane
// or onto the look-at point.
double FitDistance(std::int32_t maxExtent);

// The distances the zoom commands and one mouse-wheel event ask for; SetDistance applies the
// lower limit.
double ZoomedIn(double distance);
double ZoomedOut(double distance);
double WheelZoomed(double distance, std::int32_t wheelDelta);

// Arguments for a perspective projection (fovy in degrees, aspect, near and far planes).
struct TProjection {
    double FieldOfViewY = 0.0;
    float Aspect = 1.0f;
    double Near = 1.0;
    double Far = 1.0;
};

// The far plane grows with the distance and the pan so that the deck never falls behind it, and
// stays behind the near plane even for an empty deck.
TProjection ProjectionFor(std::int32_t width, std::int32_t height, std::int32_t fieldOfView,
                          double distance, const std::array<double, 2>& pan,
                          std::int32_t maxExtent);
