#include "CellView3D.h"

#include "CongestionLegend.h"

#include <QTimer>

TCellView3D::TCellView3D(QWidget* owner) : TCellView3D(owner, std::make_unique<TDeckRenderer>()) {}

TCellView3D::TCellView3D(QWidget* owner, std::unique_ptr<TDeckRenderer> renderer)
    : TGLControl(owner), Renderer(std::move(renderer)) {
    Renderer->OnBadHeading = [this] { ReportBadHeadingLater(); };
}

TCellView3D::~TCellView3D() {
    ReleaseInContext([this] { Renderer->ReleaseGraphics(); });
}

template <typename TRelease> void TCellView3D::ReleaseInContext(TRelease release) {
    if (context() != nullptr) {
        makeCurrent();
        release();
        doneCurrent();
    }
}

void TCellView3D::ShowProject(TLogFile1& project) {
    Renderer->ShowProject(project);
    Renderer->FitCamera(Camera);
    Invalidate();
}

void TCellView3D::ClearProject() {
    Renderer->ClearProject();
    CongestionMap = nullptr;
    // A large deck's buffers are let go before the next file loads.
    ReleaseInContext([this] { Renderer->ReleaseDeckGeometry(); });
    Invalidate();
}

void TCellView3D::SelectDeck(std::int32_t index) {
    if (Renderer->SelectDeck(index)) {
        ShowCongestionLegend(); // each deck has a scale of its own
        Invalidate();
    }
}

void TCellView3D::ShowCongestionMap(const TCongestionMap* map) {
    CongestionMap = map;
    Renderer->ShowCongestionMap(map);
    ShowCongestionLegend();
    Invalidate();
}

void TCellView3D::ShowCongestionLegend() {
    Renderer->SetCornerPicture(CongestionMap != nullptr
                                   ? CongestionLegend(CongestionMap->MostSeconds(DeckIndex()))
                                   : QImage());
}

void TCellView3D::ToggleOrigin() {
    Renderer->ToggleOrigin();
    Invalidate();
}

void TCellView3D::AddLight() {
    ChangeLightsAtViewCentre(&TDeck::AddLightAt);
}

void TCellView3D::RemoveLight() {
    ChangeLightsAtViewCentre(&TDeck::RemoveNearestLight);
}

// Lights are placed at the point of the deck under the centre of the view; the new set takes
// effect at the next frame.
void TCellView3D::ChangeLightsAtViewCentre(void (TDeck::*change)(float, float)) {
    if (TDeck* deck = Renderer->CurrentDeck()) {
        const auto centre = Camera.ViewCentre();
        (deck->*change)(centre[0], centre[1]);
        Invalidate();
    }
}

std::int32_t TCellView3D::GetLightCount() const {
    const TDeck* deck = Renderer->CurrentDeck();
    return deck != nullptr ? deck->LightCount : 0;
}

void TCellView3D::InitializeScene() {
    Renderer->InitializeContext();
}

void TCellView3D::PaintScene() {
    Renderer->DrawFrame(Camera, width(), height());
}

// A modal box inside a paint would paint again: the box waits until the frame is done.
void TCellView3D::ReportBadHeadingLater() {
    QTimer::singleShot(0, this, &TDeckRenderer::ShowBadHeadingBox);
}
