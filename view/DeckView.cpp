#include "DeckView.h"

#include "FloorLabelLayout.h"
#include "PersonPicking.h"
#include "ScaleLegends.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>

#include <GL/gl.h>

TDeckView::TDeckView(QWidget* owner) : TDeckView(owner, std::make_unique<TDeckRenderer>()) {}

TDeckView::TDeckView(QWidget* owner, std::unique_ptr<TDeckRenderer> renderer)
    : TGLControl(owner), Renderer(std::move(renderer)) {
    Renderer->OnBadHeading = [this] { emit BadHeadingFound(); };
}

TDeckView::~TDeckView() {
    ReleaseInContext([this] { Renderer->ReleaseGraphics(); });
}

template <typename TRelease> void TDeckView::ReleaseInContext(TRelease release) {
    if (Context() != nullptr) {
        MakeCurrent();
        release();
        DoneCurrent();
    }
}

void TDeckView::ShowProject(TLogFile& project) {
    Renderer->ShowProject(project);
    Renderer->FitCamera(Camera);
    Invalidate();
}

void TDeckView::FitDeck() {
    const double aspect = height() > 0 ? static_cast<double>(width()) / height() : 1.0;
    Renderer->FitCameraToDeck(Camera, aspect);
    Invalidate();
}

void TDeckView::ResetView() {
    Renderer->ResetCamera(Camera);
    Invalidate();
}

void TDeckView::LookFrom(TCameraPreset preset) {
    Camera.TurnTo(preset);
    FitDeck();
}

void TDeckView::PlaceCamera(const TCamera& placed) {
    Camera.Place(placed.FPhi, placed.FTheta, placed.FDistance, placed.FPan, placed.FPlan);
    Invalidate();
}

std::optional<std::size_t> TDeckView::PersonAt(QPointF point) const {
    const std::vector<TPersonData>* persons = Renderer->Persons();
    if (persons == nullptr || width() <= 0 || height() <= 0) {
        return std::nullopt;
    }
    const double aspect = static_cast<double>(width()) / height();
    const std::array<double, 2> seen{2.0 * point.x() / width() - 1.0,
                                     1.0 - 2.0 * point.y() / height()};
    const std::optional<TViewRay> ray = RayThrough(Camera, aspect, seen);
    return ray ? PickPerson(*ray, *persons, Renderer->DeckIndex()) : std::nullopt;
}

std::optional<std::array<double, 2>> TDeckView::FloorPointAt(QPointF point) const {
    if (Renderer->Persons() == nullptr || width() <= 0 || height() <= 0) {
        return std::nullopt;
    }
    const double aspect = static_cast<double>(width()) / height();
    const std::array<double, 2> seen{2.0 * point.x() / width() - 1.0,
                                     1.0 - 2.0 * point.y() / height()};
    const std::optional<TViewRay> ray = RayThrough(Camera, aspect, seen);
    if (!ray || ray->Direction[2] == 0.0) {
        return std::nullopt;
    }
    const double along = -ray->Origin[2] / ray->Direction[2];
    if (along <= 0.0) {
        return std::nullopt;
    }
    return std::array{ray->Origin[0] + along * ray->Direction[0],
                      ray->Origin[1] + along * ray->Direction[1]};
}

void TDeckView::CentreOn(float x, float y) {
    Camera.FPan = {-double{x}, -double{y}};
    Invalidate();
}

void TDeckView::mousePressEvent(QMouseEvent* event) {
    TGLControl::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && IsControlEnabled()) {
        LeftPressedAt = event->position().toPoint();
    }
}

void TDeckView::mouseMoveEvent(QMouseEvent* event) {
    const std::array<double, 2> panBefore = Camera.FPan;
    TGLControl::mouseMoveEvent(event);
    if (LeftPressedAt && (event->position().toPoint() - *LeftPressedAt).manhattanLength() >=
                             QApplication::startDragDistance()) {
        LeftPressedAt.reset(); // a drag, which orbits
    }
    if (Camera.FPan != panBefore) {
        emit PannedByUser();
    }
    ShowFloorLabelTip(event);
}

void TDeckView::mouseReleaseEvent(QMouseEvent* event) {
    TGLControl::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && std::exchange(LeftPressedAt, std::nullopt)) {
        emit Clicked(PersonAt(event->position()));
        emit FloorClicked(FloorPointAt(event->position()));
    }
}

void TDeckView::ClearProject() {
    Renderer->ClearProject();
    // A large deck's buffers are let go before the next file loads.
    ReleaseInContext([this] { Renderer->ReleaseDeckGeometry(); });
    Invalidate();
}

void TDeckView::SelectDeck(std::int32_t index) {
    if (Renderer->SelectDeck(index)) {
        Invalidate(); // the map's legend is the same on every deck
    }
}

void TDeckView::ShowCongestionMap(const TCongestionMap* map) {
    Renderer->ShowCongestionMap(map);
    MapLegend = map != nullptr ? CongestionLegend(*map) : QImage();
    ShowLegends();
    Invalidate();
}

void TDeckView::ShadePersonsByWaiting(const std::vector<float>* waitingSeconds, float limit) {
    Renderer->ShadePersonsByWaiting(waitingSeconds, limit);
    WaitingShadesLegend = waitingSeconds != nullptr ? WaitingLegend(limit) : QImage();
    ShowLegends();
    Invalidate();
}

void TDeckView::ShowLegends() {
    Renderer->SetCornerPicture(StackedLegends(MapLegend, WaitingShadesLegend));
}

void TDeckView::ToggleOrigin() {
    Renderer->ToggleOrigin();
    Invalidate();
}

void TDeckView::AddLight() {
    ChangeLightsAtViewCentre(&TDeck::AddLightAt);
}

void TDeckView::RemoveLight() {
    ChangeLightsAtViewCentre(&TDeck::RemoveNearestLight);
}

// Lights are placed at the point of the deck under the centre of the view; the new set takes
// effect at the next frame.
void TDeckView::ChangeLightsAtViewCentre(void (TDeck::*change)(float, float)) {
    if (TDeck* deck = Renderer->CurrentDeck()) {
        const auto centre = Camera.ViewCentre();
        (deck->*change)(centre[0], centre[1]);
        Invalidate();
    }
}

std::int32_t TDeckView::GetLightCount() const {
    const TDeck* deck = Renderer->CurrentDeck();
    return deck != nullptr ? deck->LightCount : 0;
}

void TDeckView::InitializeScene() {
    Renderer->InitializeContext();
}

void TDeckView::PaintScene() {
    Renderer->DrawFrame(Camera, width(), height());
    const bool empty = Renderer->CurrentDeck() == nullptr;
    if (!empty && FloorLabels.empty()) {
        return;
    }
    // The painter draws flat over the scene: the scene's culling and depth test must not reach it.
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    QPainter painter(Canvas());
    if (empty) {
        DrawEmptyHint(painter);
    } else {
        DrawFloorLabels(painter);
    }
}

// In the middle of an empty view, how to fill it.
void TDeckView::DrawEmptyHint(QPainter& painter) {
    painter.setPen(EmptyHintColour);
    painter.drawText(QRect(0, 0, width(), height()), Qt::AlignCenter, EmptyHintText);
}

std::optional<QPoint> TDeckView::ViewPointOf(float x, float y) const {
    const double aspect = static_cast<double>(width()) / height();
    const auto seen = ProjectedPoint(Camera, aspect, {x, y, 0.0});
    if (!seen) {
        return std::nullopt;
    }
    return QPoint(static_cast<int>((1.0 + (*seen)[0]) * width() / 2),
                  static_cast<int>((1.0 - (*seen)[1]) * height() / 2));
}

// Each label a box of text centred on its point of the floor, over the scene, unless it would
// cover a label drawn before it; one moved off its point is tied to it by a line.
void TDeckView::DrawFloorLabels(QPainter& painter) {
    DrawnLabels.clear();
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QFont font = painter.font();
    font.setPointSizeF(std::max(7.0, font.pointSizeF() - 1.0));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    std::vector<std::size_t> shown;
    std::vector<QPoint> points;
    std::vector<QRect> boxes;
    for (std::size_t i = 0; i < FloorLabels.size(); ++i) {
        const TFloorLabel& label = FloorLabels[i];
        const std::optional<QPoint> point =
            label.Deck == DeckIndex() ? ViewPointOf(label.X, label.Y) : std::nullopt;
        if (point) {
            QRect box = metrics.boundingRect(label.Text).adjusted(-3, -1, 3, 1);
            box.moveCenter(*point);
            shown.push_back(i);
            points.push_back(*point);
            boxes.push_back(box);
        }
    }
    const std::vector<std::optional<QRect>> laidOut = LaidOutLabels(boxes);
    painter.setPen(Qt::black);
    // The lines first, so that no line crosses a label.
    for (std::size_t k = 0; k < laidOut.size(); ++k) {
        if (laidOut[k] && !laidOut[k]->contains(points[k])) {
            const QRect& box = *laidOut[k];
            painter.drawLine(points[k], QPoint(std::clamp(points[k].x(), box.left(), box.right()),
                                               std::clamp(points[k].y(), box.top(), box.bottom())));
        }
    }
    for (std::size_t k = 0; k < laidOut.size(); ++k) {
        if (laidOut[k]) {
            painter.fillRect(*laidOut[k], QColor(255, 255, 255, 210));
            painter.drawText(*laidOut[k], Qt::AlignCenter, FloorLabels[shown[k]].Text);
            DrawnLabels.push_back({shown[k], *laidOut[k]});
        }
    }
}

QString TDeckView::FloorLabelTipAt(QPointF point) const {
    for (const TDrawnLabel& drawn : DrawnLabels) {
        if (drawn.Box.contains(point.toPoint())) {
            return FloorLabels[drawn.Label].ToolTip;
        }
    }
    if (const std::optional<std::array<double, 2>> floor = FloorPointAt(point)) {
        const QPointF floorPoint((*floor)[0], (*floor)[1]);
        for (const TFloorLabel& label : FloorLabels) {
            if (label.Deck == DeckIndex() && label.Floor.contains(floorPoint)) {
                return label.ToolTip;
            }
        }
    }
    return {};
}

// While no button is down, the figures of the exit or stair under the mouse.
void TDeckView::ShowFloorLabelTip(QMouseEvent* event) {
    if (FloorLabels.empty() || event->buttons() != Qt::NoButton) {
        return;
    }
    const QString tip = FloorLabelTipAt(event->position());
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), tip, this);
    }
}
