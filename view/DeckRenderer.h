#pragma once
// Draws one deck of a loaded project into the framebuffer bound, with plain OpenGL calls and no
// window of its own: the deck's quads, the persons standing on it as small prisms facing their
// heading, an optional origin marker, and the deck's lights. The window's view and the frames
// rendered without a display both draw through it, so both show the same picture.

#include "CameraMath.h"
#include "ColourScales.h"
#include "CongestionOverlay.h"
#include "CornerPicture.h"
#include "Deck.h"
#include "DeckBackdrop.h"
#include "DeckGeometry.h"
#include "LogFile.h"
#include "PersonData.h"
#include "PersonDiscs.h"
#include "PersonDots.h"
#include "PersonPrisms.h"
#include "RegionOutlines.h"
#include "ScaleBar.h"
#include "SelectionDrawing.h"
#include "Trails.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// What is drawn over the deck and its persons, as set: so that a film drawn by another renderer
// shows what the window shows.
struct TDrawnLayers {
    bool ShowOrigin = true;
    // The congestion map, kept by its owner; persons left out over it or not.
    const TCongestionMap* Map = nullptr;
    bool HidePersonsOnMap = false;
    // Persons coloured by waiting, the scale ending at the limit; none: all green.
    std::optional<float> WaitingLimit;
    // The ways of that many last seconds; none: no trails.
    std::optional<float> TrailSeconds;
    // The congested regions outlined, kept by their owner.
    const TRegionOutlines* Outlines = nullptr;
    // The person drawn selected with its way.
    std::optional<std::size_t> Selected;
    // A scale bar in the lower right corner, a cell being that many metres; none: no bar.
    std::optional<double> ScaleBarCellMetres;
};

class TDeckRenderer {
public:
    TDeckRenderer() = default;
    // Whatever it made in OpenGL must be let go with ReleaseGraphics before, while the context
    // is current: a destructor cannot know whether it is.
    virtual ~TDeckRenderer() = default;
    TDeckRenderer(const TDeckRenderer&) = delete;
    TDeckRenderer& operator=(const TDeckRenderer&) = delete;

    // Called at most once a project, while a frame is drawn, when a person has a heading outside
    // 1 .. 8; such a person is drawn facing north.
    std::function<void()> OnBadHeading;

    // Shows deck 0 of a loaded project with its persons; the renderer keeps pointers into the
    // project until ClearProject. The camera is fitted with FitCamera.
    void ShowProject(TLogFile& project);
    // Forgets the project's arrays before the project is destroyed.
    void ClearProject();
    // False, and nothing changed, for a deck the project does not have.
    bool SelectDeck(std::int32_t index);
    std::int32_t DeckIndex() const { return FDeckIndex; }
    TDeck* CurrentDeck() const;
    // The persons of the project shown, or none.
    const std::vector<TPersonData>* Persons() const { return FPersons; }
    // Places the camera so that the project's decks fill the view.
    void FitCamera(TCamera& camera) const { camera.FitToDeck(FMaxExtent); }
    // The camera of a fresh start on this project.
    void ResetCamera(TCamera& camera) const { camera.Reset(FMaxExtent); }
    // Looks at the whole deck shown from the camera's angles, filling most of a view of that
    // aspect (width / height).
    void FitCameraToDeck(TCamera& camera, double aspect) const;

    void ToggleOrigin() { FShowOrigin = !FShowOrigin; }
    bool ShowOrigin() const { return FShowOrigin; }
    // The congestion map over the floor of the deck shown, from the next frame on; none hides
    // it. The map must outlive its showing.
    void ShowCongestionMap(const TCongestionMap* map);
    // Whether persons are left out while the congestion map is shown, so that nothing hides it.
    void HidePersonsOnMap(bool hide) { PersonsHiddenOnMap = hide; }
    // A picture over the lower left corner of the frame from the next frame on, such as the
    // map's legend; a null picture removes it.
    void SetCornerPicture(const QImage& picture) { CornerPicture.Set(picture); }
    // A picture over the upper left corner from the next frame on, such as the time and the
    // deck; a null picture removes it.
    void SetCaption(const QImage& picture) { Caption.Set(picture); }

    // Persons coloured by how long each has stood still (seconds, by person index, kept by the
    // caller until replaced), up to the limit; none draws them all green.
    void ShadePersonsByWaiting(const std::vector<float>* waitingSeconds, float limit) {
        WaitingSeconds = waitingSeconds;
        WaitingLimit = limit;
    }

    // The ways persons came, as stretches (pairs of points) by deck, kept by the caller until
    // replaced, that fade over `seconds`; the deck shown shows its own. None draws no trails.
    void ShowTrails(const std::vector<std::vector<TTrailPoint>>* stretchesByDeck, float seconds) {
        TrailStretches = stretchesByDeck;
        TrailSeconds = seconds;
    }

    // The congested regions outlined on the floor of the deck shown; kept by the caller until
    // replaced. None draws no outlines.
    void ShowRegionOutlines(const TRegionOutlines* outlines) { Outlines = outlines; }

    // The person the user selected, drawn so that it stands out, with its way on the deck shown;
    // kept by the caller until replaced, and updated by it as the replay steps. None draws no
    // selection.
    void ShowSelection(const TShownSelection* selection) { Selection = selection; }

    // A scale bar in metres in the lower right corner from the next frame on, a cell being that
    // many metres wide; none removes it. Its picture is made when its length changes, which
    // needs a GUI application for the font.
    void ShowScaleBar(std::optional<double> cellMetres) { ScaleBarCellMetres = cellMetres; }

    // Persons go as one vertex array a frame; a display-list call each gives the same picture
    // and is kept to measure what the batch saves.
    void SetPersonsBatched(bool batched) { PersonsBatched = batched; }
    // Draws the deck without persons, to measure what drawing them costs.
    void HidePersons() { FPersons = nullptr; }
    // Whether the deck alone is kept from frame to frame while it looks the same (see
    // TDeckBackdrop); without, every frame draws it, as a benchmark's floor does.
    void SetDeckKept(bool kept) { DeckKept = kept; }

    TDrawnLayers Layers() const;

    // The state a new context starts from; with the context current. Every frame sets it again.
    void InitializeContext();
    // Draws the frame seen from the camera into the framebuffer bound, whose viewport is
    // width x height; with the context current.
    void DrawFrame(const TCamera& camera, std::int32_t width, std::int32_t height);
    // Lets go of the deck's buffers, keeping the display lists; with the context current.
    void ReleaseDeckGeometry();
    // Lets go of everything made in OpenGL; with the context current.
    void ReleaseGraphics();

protected:
    // Draws the quads of the deck shown, in deck coordinates, lit; a benchmark draws its own
    // triangles here.
    virtual void DrawDeck();

private:
    void SetFrameState();
    void SwitchLights();
    void SetProjection(const TCamera& camera, std::int32_t width, std::int32_t height) const;
    TBackdropKey BackdropKeyOf(const TCamera& camera, std::int32_t width,
                               std::int32_t height) const;
    // Everything over the deck: persons, the origin marker, the map, outlines, trails and the
    // selection.
    void DrawMovingScene(const TCamera& camera);
    void BuildDisplayLists();
    void DeleteDisplayLists();
    void LookFromCamera(const TCamera& camera) const;
    // Calls draw(state) for every person on the deck shown.
    template <typename TDraw> void ForEachPersonShown(TDraw draw);
    void DrawPersons();
    void DrawPersonsBatched();
    void DrawPersonDiscs();
    void DrawPrisms(bool shaded);
    void PlaceLights(const TCamera& camera);
    void RebuildDeckGeometry();
    void DrawCongestionMap();
    void DrawTrails();
    // The selected person as a disc in the plan, else as a prism.
    void DrawSelection(bool plan);
    TRgba PersonColour(std::size_t person) const;
    void ReportBadHeading();
    void DrawScaleBar(const TCamera& camera, std::int32_t width, std::int32_t height);

    bool FShowOrigin = true;
    std::int32_t FDeckIndex = 0;
    std::int32_t FDeckCount = 0;
    std::int32_t FPersonCount = 0;
    const std::vector<float>* WaitingSeconds = nullptr;
    const std::vector<std::vector<TTrailPoint>>* TrailStretches = nullptr;
    float TrailSeconds = 0.0f;
    // The trails' vertices and colours of the last frame, their memory kept for the next.
    std::vector<float> TrailPoints;
    std::vector<std::uint8_t> TrailColours;
    float WaitingLimit = 0.0f;
    const TShownSelection* Selection = nullptr;
    const TRegionOutlines* Outlines = nullptr;
    TWayLines SelectionLines; // of the last frame, the memory kept for the next
    std::int32_t FMaxExtent = 0;
    std::int32_t FDeckWidth = 0; // cells along x and y
    std::int32_t FDeckDepth = 0;
    // None until a project is shown: the view then draws without a perspective.
    std::int32_t FFieldOfView = 0;
    unsigned FOriginList = 0;
    unsigned FPersonList = 0;
    std::vector<TDeck>* FDecks = nullptr;
    std::vector<TPersonData>* FPersons = nullptr;
    const std::array<TLight, DeckLightSlots>* FLights = nullptr;

    bool DisplayListsWanted = false;
    bool PersonsBatched = true;
    TPersonPrisms PersonBatch;
    TPersonDots Dots;
    TPersonDiscs Discs;
    // Built at the first frame after the deck shown changed, where the context is current.
    TDeckGeometry DeckGeometry;
    bool DeckGeometryWanted = false;
    std::uint64_t GeometryBuilds = 0;
    TDeckBackdrop Backdrop;
    bool DeckKept = true;
    bool BadHeadingReported = false;

    const TCongestionMap* CongestionMap = nullptr;
    bool PersonsHiddenOnMap = false;
    TCongestionOverlay CongestionOverlay;
    bool CongestionOverlayWanted = false;
    TCornerPicture CornerPicture{TCorner::LowerLeft};
    TCornerPicture Caption{TCorner::UpperLeft};
    std::optional<double> ScaleBarCellMetres;
    TCornerPicture ScaleBarCorner{TCorner::LowerRight};
    // The length the bar's picture shows, to make it again only when that changes.
    std::optional<std::pair<double, int>> ScaleBarShown;
};
