#pragma once
// Draws one deck of the loaded project: its quad list, the persons standing on it as small
// prisms facing their heading, an optional origin marker, and the deck's lights.

#include "GLControl.h"
#include "Deck.h"
#include "PersonData.h"

#include <cstdint>
#include <vector>

class TCellView3D : public TGLControl {
    Q_OBJECT

public:
    explicit TCellView3D(QWidget* owner);
    ~TCellView3D() override;

    void SetProject(std::int32_t xMax, std::int32_t yMax, std::int32_t zMax, std::int32_t pMax);
    void SetDecks(std::vector<TDeck>* decks) { FDecks = decks; }
    void SetPersons(std::vector<TPersonData>* persons) { FPersons = persons; }
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

protected:
    void SetOrtho() override;
    void RenderScene() override;

private:
    void BuildDisplayLists();
    void DeleteDisplayLists();
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
