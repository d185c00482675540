#include "DeckView.h"

#include "PersonPicking.h"
#include "ScaleLegends.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

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

// Each label a box of text centred on its point of the floor, over the scene.
void TDeckView::DrawFloorLabels(QPainter& painter) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    const double aspect = static_cast<double>(width()) / height();
    QFont font = painter.font();
    font.setPointSizeF(std::max(7.0, font.pointSizeF() - 1.0));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const TFloorLabel& label : FloorLabels) {
        if (label.Deck != DeckIndex()) {
            continue;
        }
        const auto seen = ProjectedPoint(Camera, aspect, {label.X, label.Y, 0.0});
        if (!seen) {
            continue;
        }
        const QPoint centre(static_cast<int>((1.0 + (*seen)[0]) * width() / 2),
                            static_cast<int>((1.0 - (*seen)[1]) * height() / 2));
        QRect box = metrics.boundingRect(label.Text).adjusted(-3, -1, 3, 1);
        box.moveCenter(centre);
        painter.fillRect(box, QColor(255, 255, 255, 210));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, label.Text);
    }
}
