#pragma once
// Draws one deck of the loaded project: its quad list, the persons standing on it as small
// prisms facing their heading, an optional origin marker, and the deck's lights.

#include "Deck.h"
#include "DeckGeometry.h"
#include "GLControl.h"
#include "LogFile.h"
#include "PersonData.h"
#include "PersonPrisms.h"

#include <cstdint>
#include <vector>

class TCellView3D : public TGLControl {
    Q_OBJECT

public:
    explicit TCellView3D(QWidget* owner);
    ~TCellView3D() override;

    // Shows deck 0 of a loaded project with its persons, the camera fitted to the deck size.
    // The view keeps pointers into the project until ClearProject.
    void ShowProject(TLogFile1& project);
    // Forgets the project's arrays before the project is destroyed, so that no frame drawn
    // while the next file loads reads freed memory.
    void ClearProject();
    void SelectDeck(std::int32_t index);
    void ToggleOrigin();
    bool ShowOrigin() const { return FShowOrigin; }
    std::int32_t DeckIndex() const { return FDeckIndex; }

    void AddLight();
    void RemoveLight();
    std::int32_t GetLightCount() const;

    // Persons go as one vertex array a frame; a display-list call each gives the same picture
    // and is kept to measure what the batch saves.
    void SetPersonsBatched(bool batched) { PersonsBatched = batched; }
    // Draws the deck without persons, to measure what drawing them costs.
    void HidePersons() { FPersons = nullptr; }

protected:
    void SetOrtho() override;
    void RenderScene() override;
    // Draws the persons and the quads of the deck shown, in deck coordinates, lit; a benchmark
    // draws the same triangles its own way here.
    virtual void DrawDeckContents();

private:
    void SetProject(std::int32_t xMax, std::int32_t yMax, std::int32_t zMax, std::int32_t pMax);
    void BuildDisplayLists();
    void DeleteDisplayLists();
    // Runs release with the context current; nothing to release before the first frame.
    template <typename TRelease> void ReleaseInContext(TRelease release);
    void LookFromCamera() const;
    // Calls draw(state) for every person on the deck shown.
    template <typename TDraw> void ForEachPersonShown(TDraw draw);
    void DrawPersons();
    void DrawPersonsBatched();
    void PlaceLights();
    void DrawQuads();
    void RebuildDeckGeometry();
    TDeck* CurrentDeck() const;
    void ChangeLightsAtViewCentre(void (TDeck::*change)(float, float));
    void ReportBadHeadingLater();

    bool FShowOrigin = true;
    std::int32_t FDeckIndex = 0;
    std::int32_t FXExtent = 0;
    std::int32_t FYExtent = 0;
    std::int32_t FDeckCount = 0;
    std::int32_t FPersonCount = 0;
    std::int32_t FMaxExtent = 0;
    std::int32_t FFieldOfView = 0;
    double FFieldOfViewRadians = 0.0;
    unsigned FOriginList = 0;
    unsigned FPersonList = 0;
    std::vector<TDeck>* FDecks = nullptr;
    std::vector<TPersonData>* FPersons = nullptr;

    bool DisplayListsWanted = false;
    bool PersonsBatched = true;
    TPersonPrisms PersonBatch;
    // Built at the first frame after the deck shown changed, where the context is current.
    TDeckGeometry DeckGeometry;
    bool DeckGeometryWanted = false;

    // A person with a heading outside 1 .. 8 is reported once per project, after the frame:
    // a modal box inside a paint would paint again.
    bool BadHeadingReported = false;
};
