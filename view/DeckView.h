#pragma once
// The window's view of one deck of the loaded project: the deck renderer draws it in the
// control's context, seen from the camera the mouse drives.

#include "DeckRenderer.h"
#include "GLControl.h"
#include "LogFile.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>

class QPainter;

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// A short text standing on the floor of a deck, such as the persons that passed an exit, and the
// longer text of its tool tip, shown while the mouse is over the label or the floor it is about.
struct TFloorLabel {
    std::int32_t Deck = 0;
    float X = 0.0f; // deck coordinates
    float Y = 0.0f;
    QString Text;
    QRectF Floor; // deck coordinates
    QString ToolTip;
};

// A label as the last frame drew it: its index among the labels shown and its box in the view.
struct TDrawnLabel {
    std::size_t Label = 0;
    QRect Box;
};

class TDeckView : public TGLControl {
    Q_OBJECT

public:
    explicit TDeckView(QWidget* owner);
    ~TDeckView() override;

    // Shows deck 0 of a loaded project with its persons, the camera fitted to the deck size.
    // The view keeps pointers into the project until ClearProject.
    void ShowProject(TLogFile& project);
    // Forgets the project's arrays before the project is destroyed, so that no frame drawn
    // while the next file loads reads freed memory.
    void ClearProject();
    void SelectDeck(std::int32_t index);
    // The whole deck in view from where the camera is; the camera of a fresh start; a preset's
    // side, fitted.
    void FitDeck();
    void ResetView();
    void LookFrom(TCameraPreset preset);
    // Looks from where the camera stands, as a camera file has it: its angles, distance, pan
    // and whether it is a plan.
    void PlaceCamera(const TCamera& placed);
    void ToggleOrigin();
    bool ShowOrigin() const { return Renderer->ShowOrigin(); }
    std::int32_t DeckIndex() const { return Renderer->DeckIndex(); }

    void AddLight();
    void RemoveLight();
    std::int32_t GetLightCount() const;

    // The congestion map over the floor with its legend, or none; the map must outlive its
    // showing.
    void ShowCongestionMap(const TCongestionMap* map);
    // The ways persons came, by deck, fading over `seconds`; none shows no trails. The stretches
    // are kept by the caller until replaced, and updated by it as the replay steps.
    void ShowTrails(const std::vector<std::vector<TTrailPoint>>* stretchesByDeck, float seconds) {
        Renderer->ShowTrails(stretchesByDeck, seconds);
        Invalidate();
    }
    // Whether persons are left out while the map is shown.
    void HidePersonsOnMap(bool hide) {
        Renderer->HidePersonsOnMap(hide);
        Invalidate();
    }
    // Persons coloured by the seconds each has stood still (by person index; kept by the caller
    // until replaced, and updated by it as the replay steps), up to the limit, with a legend;
    // none draws them green.
    void ShadePersonsByWaiting(const std::vector<float>* waitingSeconds, float limit);

    // The congested regions outlined (see TDeckRenderer::ShowRegionOutlines); none shows none.
    void ShowRegionOutlines(const TRegionOutlines* outlines) {
        Renderer->ShowRegionOutlines(outlines);
        Invalidate();
    }
    // Texts on the floor of the decks, those of the deck shown drawn over the frame; none shows
    // none. A label that would cover one before it in the list moves aside or is left out at this
    // zoom (see FloorLabelLayout.h). They show in screen shots, not in frames rendered without a
    // window.
    void ShowFloorLabels(std::vector<TFloorLabel> labels) {
        FloorLabels = std::move(labels);
        DrawnLabels.clear();
        setMouseTracking(!FloorLabels.empty()); // for the tool tips
        Invalidate();
    }
    const std::vector<TFloorLabel>& ShownFloorLabels() const { return FloorLabels; }
    const std::vector<TDrawnLabel>& DrawnFloorLabels() const { return DrawnLabels; }
    // The tool tip of the label drawn at a point of the view, else of the label whose floor lies
    // under it; empty over neither.
    QString FloorLabelTipAt(QPointF point) const;
    // The selected person and its way (see TDeckRenderer::ShowSelection); none shows none.
    void ShowSelection(const TShownSelection* selection) {
        Renderer->ShowSelection(selection);
        Invalidate();
    }
    // A scale bar in metres in the lower right corner, a cell being that many metres; none
    // shows none.
    void ShowScaleBar(std::optional<double> cellMetres) {
        Renderer->ShowScaleBar(cellMetres);
        Invalidate();
    }
    // The person whose prism is nearest the eye under a point of the view, in the view's pixels;
    // none over the floor, or with no project shown.
    std::optional<std::size_t> PersonAt(QPointF point) const;
    // The point of the floor (height 0, deck coordinates) under a point of the view, in the
    // view's pixels; none where the view looks above the horizon or no project is shown.
    std::optional<std::array<double, 2>> FloorPointAt(QPointF point) const;
    // Brings a point of the deck into the centre of the view; the angles and the distance stay.
    void CentreOn(float x, float y);

    // A caption over the upper left corner of the frames drawn from now on, such as those of a
    // shot; a null picture removes it. The view does not draw anew for it.
    void SetCaption(const QImage& picture) { Renderer->SetCaption(picture); }

    // What the view draws over the deck, for a film that shows the same.
    TDrawnLayers Layers() const { return Renderer->Layers(); }

    void SetPersonsBatched(bool batched) { Renderer->SetPersonsBatched(batched); }
    void HidePersons() { Renderer->HidePersons(); }

    static constexpr const char* EmptyHintText = "Open a log file with Ctrl+L, or drop one here";
    static constexpr QColor EmptyHintColour{200, 200, 220};

signals:
    // A person of the project has a heading outside 1 .. 8 and is drawn facing north; sent at
    // most once a project, from inside the frame, so whatever it opens must wait for the frame.
    void BadHeadingFound();
    // A left click without a drag, while the mouse drives the camera: on a person (its index), or
    // beside every person (none).
    void Clicked(std::optional<std::size_t> person);
    // The same click, as the point of the floor under it (see FloorPointAt).
    void FloorClicked(std::optional<std::array<double, 2>> point);
    // The user moved the scene with the mouse.
    void PannedByUser();

protected:
    // A benchmark draws the deck its own way through a renderer of its own.
    TDeckView(QWidget* owner, std::unique_ptr<TDeckRenderer> renderer);

    void InitializeScene() override;
    void PaintScene() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Runs release with the context current; nothing to release before the first frame.
    template <typename TRelease> void ReleaseInContext(TRelease release);
    void ChangeLightsAtViewCentre(void (TDeck::*change)(float, float));
    // The hint in the middle of an empty view, drawn while no deck is shown.
    void DrawEmptyHint(QPainter& painter);
    void ShowLegends();
    void DrawFloorLabels(QPainter& painter);
    // The point of the view a point of the deck's floor is seen at; none behind the eye.
    std::optional<QPoint> ViewPointOf(float x, float y) const;
    void ShowFloorLabelTip(QMouseEvent* event);

    std::unique_ptr<TDeckRenderer> Renderer;
    // The legends in the lower left corner, the map's below; null while not shown.
    QImage MapLegend;
    QImage WaitingShadesLegend;
    std::vector<TFloorLabel> FloorLabels;
    std::vector<TDrawnLabel> DrawnLabels;
    // Where the left button went down, until it goes up; a click unless it moved further.
    std::optional<QPoint> LeftPressedAt;
};
