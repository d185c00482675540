#pragma once
// Draws one deck of the loaded project: its quad list, the persons standing on it as small
// prisms facing their heading, an optional origin marker, and the deck's lights.

#include "Deck.h"
#include "GLControl.h"
#include "LogFile.h"
#include "PersonData.h"

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

    // Draws the persons as one vertex array instead of a display-list call each: the same
    // picture, kept to measure which of the two is cheaper.
    void SetPersonsBatched(bool batched) { PersonsBatched = batched; }
    // Draws the deck without persons, to measure what drawing them costs.
    void HidePersons() { FPersons = nullptr; }

protected:
    void SetOrtho() override;
    void RenderScene() override;

private:
    void SetProject(std::int32_t xMax, std::int32_t yMax, std::int32_t zMax, std::int32_t pMax);
    void BuildDisplayLists();
    void DeleteDisplayLists();
    // Calls draw(state, degrees) for every person on the deck shown.
    template <typename TDraw> void ForEachPersonShown(TDraw draw);
    void DrawPersons();
    void DrawPersonsBatched();
    void PlaceLights();
    void DrawQuads() const;
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
    bool PersonsBatched = false;
    std::vector<float> PersonVertices; // x, y, z, then normal x, y, z, per vertex

    // A person with a heading outside 1 .. 8 is reported once per project, after the frame:
    // a modal box inside a paint would paint again.
    bool BadHeadingReported = false;
};
