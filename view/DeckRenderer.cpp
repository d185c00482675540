#include "DeckRenderer.h"

#include "ColourScales.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr double MarkerSize = 0.1;
constexpr GLint QuadricSlices = 8;

// A shaft along +z with a cone on top whose base is closed by a disk.
void CompileArrow(GLUquadric* quadric) {
    const double s = MarkerSize;
    gluCylinder(quadric, s, s, 40 * s, QuadricSlices, 1);
    glTranslated(0, 0, 40 * s);
    gluCylinder(quadric, 4 * s, 0, 12 * s, QuadricSlices, 1);
    glRotated(180, 0, 1, 0);
    gluDisk(quadric, 0, 4 * s, QuadricSlices, 1);
}

void CompileOriginMarker() {
    GLUquadric* quadric = gluNewQuadric();
    glColor3f(0, 1, 0);
    glPushMatrix();
    glRotated(90, 0, 1, 0);
    CompileArrow(quadric);
    glPopMatrix();
    glPushMatrix();
    glRotated(-90, 1, 0, 0);
    CompileArrow(quadric);
    glPopMatrix();
    glPushMatrix();
    CompileArrow(quadric);
    glPopMatrix();
    gluSphere(quadric, 2 * MarkerSize, QuadricSlices, 8);
    gluDeleteQuadric(quadric);
}

// Without a colour of its own: each person is drawn in its colour.
void CompilePersonPrism() {
    glBegin(GL_TRIANGLES);
    for (const TPrismVertex& v : TPersonPrisms::Upright()) {
        glNormal3fv(v.N);
        glVertex3fv(v.P);
    }
    glEnd();
}

constexpr GLfloat Green[] = {0.0f, 1.0f, 0.0f, 1.0f};

// Lights what follows in one colour, given as the material itself. A material that follows the
// current colour takes up a new colour in Mesa only at a vertex given one by one, not at a draw
// from arrays or a display list: what is drawn that way would be shaded in the colour of the
// last such vertex, such as the selected person's black outline.
void BeginPlainMaterial(const GLfloat (&rgba)[4]) {
    glDisable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, rgba);
}

void EndPlainMaterial() {
    glEnable(GL_COLOR_MATERIAL);
}

GLuint CompileList(void (*compile)()) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    compile();
    glEndList();
    return list;
}

} // namespace

void TDeckRenderer::ShowProject(TLogFile& project) {
    FDeckCount = project.ZMax;
    FPersonCount = project.PMax;
    FMaxExtent = std::max(project.XMax, project.YMax);
    FDeckWidth = std::max(project.XMax, 0);
    FDeckDepth = std::max(project.YMax, 0);
    FFieldOfView = CellViewFieldOfView;
    FDecks = &project.Decks;
    FPersons = &project.Persons;
    // The lists and the deck are built at the next frame, where the context is current.
    DisplayListsWanted = true;
    DeckGeometryWanted = true;
    BadHeadingReported = false;
    SelectDeck(0);
}

void TDeckRenderer::ClearProject() {
    FDecks = nullptr;
    FPersons = nullptr;
    FLights = nullptr;
    FDeckCount = 0;
    FPersonCount = 0;
    DeckGeometryWanted = false;
    PersonBatch = TPersonPrisms();
    ShowCongestionMap(nullptr);
    SetCornerPicture(QImage());
    SetCaption(QImage());
}

bool TDeckRenderer::SelectDeck(std::int32_t index) {
    if (index < 0 || index >= FDeckCount || FDecks == nullptr ||
        static_cast<std::size_t>(index) >= FDecks->size()) {
        return false;
    }
    DeckGeometryWanted = DeckGeometryWanted || index != FDeckIndex;
    CongestionOverlayWanted = CongestionOverlayWanted || index != FDeckIndex;
    FDeckIndex = index;
    FLights = &(*FDecks)[static_cast<std::size_t>(index)].Lights;
    return true;
}

TDeck* TDeckRenderer::CurrentDeck() const {
    if (FDecks == nullptr || FDeckIndex < 0 ||
        static_cast<std::size_t>(FDeckIndex) >= FDecks->size()) {
        return nullptr;
    }
    return &(*FDecks)[static_cast<std::size_t>(FDeckIndex)];
}

// The floor runs from the centre cell's left edge back half the deck, as the quads are placed;
// the walls stand on it. Persons are left out: they come and go, and one at the very edge may
// stand out of the view a little.
void TDeckRenderer::FitCameraToDeck(TCamera& camera, double aspect) const {
    const double left = -(FDeckWidth / 2);
    const double top = FDeckDepth / 2;
    const TDeck* deck = CurrentDeck();
    camera.FitToBox({left, left + FDeckWidth, top - FDeckDepth, top,
                     deck != nullptr ? double{deck->WallHeight} : 0.0},
                    aspect);
}

void TDeckRenderer::ShowCongestionMap(const TCongestionMap* map) {
    CongestionMap = map;
    CongestionOverlayWanted = true;
}

TDrawnLayers TDeckRenderer::Layers() const {
    TDrawnLayers layers;
    layers.ShowOrigin = FShowOrigin;
    layers.Map = CongestionMap;
    layers.HidePersonsOnMap = PersonsHiddenOnMap;
    if (WaitingSeconds != nullptr) {
        layers.WaitingLimit = WaitingLimit;
    }
    if (TrailStretches != nullptr) {
        layers.TrailSeconds = TrailSeconds;
    }
    layers.Outlines = Outlines;
    layers.ScaleBarCellMetres = ScaleBarCellMetres;
    if (Selection != nullptr) {
        layers.Selected = Selection->Person;
    }
    return layers;
}

void TDeckRenderer::InitializeContext() {
    SetFrameState();
}

// Every state the frame relies on, set anew at the start of each: a frame must look the same
// whatever the frames before it, or the window's toolkit, left behind in the context.
void TDeckRenderer::SetFrameState() {
    glClearColor(0.0f, 0.0f, 0.2f, 1.0f);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    SwitchLights();
    // The colour and normal of a new context, not those of the last primitive drawn: the material
    // takes up the colour as colour tracking is set.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat specular[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMateriali(GL_FRONT, GL_SHININESS, 128);
}

// The deck's lights on with their colours, the others off; without a deck all are off, so that
// nothing is lit by the lights of a project shown before.
void TDeckRenderer::SwitchLights() {
    glEnable(GL_LIGHTING);
    for (std::size_t i = 0; i < static_cast<std::size_t>(DeckLightSlots); ++i) {
        const GLenum id = GL_LIGHT0 + static_cast<GLenum>(i);
        const TLight* light = FLights != nullptr ? &(*FLights)[i] : nullptr;
        if (light != nullptr && light->SwitchedOn) {
            glLightfv(id, GL_AMBIENT, light->Ambient);
            glLightfv(id, GL_DIFFUSE, light->Diffuse);
            glLightfv(id, GL_SPECULAR, light->Specular);
            glEnable(id);
        } else {
            glDisable(id);
        }
    }
}

// The deck alone is the frame's backdrop, kept while the camera and the deck stay; what moves
// is drawn over it. Persons win ties of depth with the deck, as when they were drawn first:
// they are drawn with LEQUAL, the last person first, so that among persons in one place the
// first still shows. The origin marker wins ties with both, drawn last the same way.
void TDeckRenderer::DrawFrame(const TCamera& camera, std::int32_t width, std::int32_t height) {
    SetFrameState();
    SetProjection(camera, width, height);
    if (DisplayListsWanted) {
        BuildDisplayLists();
    }
    if (DeckGeometryWanted) {
        RebuildDeckGeometry();
    }
    LookFromCamera(camera);
    // Lights are placed before anything is drawn: otherwise the first things are lit where the
    // last frame left the lights, or where a new context has them.
    PlaceLights(camera);
    const auto drawDeck = [this, &camera] {
        glPushMatrix();
        glTranslated(camera.FPan[0], camera.FPan[1], 0);
        DrawDeck();
        glPopMatrix();
    };
    if (!DeckKept || !Backdrop.Fill(BackdropKeyOf(camera, width, height), drawDeck)) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawDeck();
    }
    glFlush();
    DrawMovingScene(camera);
    CornerPicture.Draw(width, height);
    Caption.Draw(width, height);
    DrawScaleBar(camera, width, height);
    glFlush();
}

void TDeckRenderer::DrawScaleBar(const TCamera& camera, std::int32_t width, std::int32_t height) {
    const std::optional<double> cellPixels =
        FFieldOfView > 0 ? CellPixelsAtCentre(camera, width, height) : std::nullopt;
    const std::optional<TScaleBarLength> length =
        ScaleBarCellMetres && cellPixels ? RoundScaleBar(*cellPixels, *ScaleBarCellMetres, width)
                                         : std::nullopt;
    const std::optional<std::pair<double, int>> shown =
        length ? std::optional(
                     std::pair{length->Metres, static_cast<int>(std::floor(length->Pixels + 0.5))})
               : std::nullopt;
    if (shown != ScaleBarShown) {
        ScaleBarShown = shown;
        ScaleBarCorner.Set(length ? ScaleBarPicture(*length) : QImage());
    }
    ScaleBarCorner.Draw(width, height);
}

TBackdropKey TDeckRenderer::BackdropKeyOf(const TCamera& camera, std::int32_t width,
                                          std::int32_t height) const {
    TBackdropKey key;
    key.Eye = camera.FEye;
    key.Up = camera.FUp;
    key.Pan = camera.FPan;
    key.Distance = camera.FDistance;
    key.Width = width;
    key.Height = height;
    key.FieldOfView = FFieldOfView;
    key.Plan = camera.FPlan;
    key.MaxExtent = FMaxExtent;
    key.Deck = FDeckIndex;
    key.Geometry = GeometryBuilds;
    if (FLights != nullptr) {
        key.Lights = *FLights;
    }
    return key;
}

void TDeckRenderer::SetProjection(const TCamera& camera, std::int32_t width,
                                  std::int32_t height) const {
    const TProjection projection =
        ProjectionFor(width, height, FFieldOfView, camera.FDistance, camera.FPan, FMaxExtent);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (FFieldOfView > 0 && camera.FPlan) {
        // Everything from far below the floor to far above the eye: the plan shows a wall's top
        // and the floor beside it alike, whatever the distance.
        const double halfHeight = PlanHalfHeight(camera.FDistance);
        const double halfWidth = halfHeight * double{projection.Aspect};
        glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -projection.Far, projection.Far);
    } else if (FFieldOfView > 0) {
        gluPerspective(projection.FieldOfViewY, double{projection.Aspect}, projection.Near,
                       projection.Far);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void TDeckRenderer::BuildDisplayLists() {
    DeleteDisplayLists();
    FOriginList = CompileList(CompileOriginMarker);
    FPersonList = CompileList(CompilePersonPrism);
    DisplayListsWanted = false;
}

void TDeckRenderer::DeleteDisplayLists() {
    if (FOriginList != 0) {
        glDeleteLists(FOriginList, 1);
        FOriginList = 0;
    }
    if (FPersonList != 0) {
        glDeleteLists(FPersonList, 1);
        FPersonList = 0;
    }
}

void TDeckRenderer::ReleaseDeckGeometry() {
    DeckGeometry.Release();
    CongestionOverlay.Release();
    Backdrop.Release();
}

void TDeckRenderer::ReleaseGraphics() {
    DeleteDisplayLists();
    ReleaseDeckGeometry();
    CornerPicture.Release();
    Caption.Release();
    ScaleBarCorner.Release();
    // A later frame in a new context builds them again.
    DisplayListsWanted = FDecks != nullptr;
    DeckGeometryWanted = FDecks != nullptr;
    CongestionOverlayWanted = CongestionMap != nullptr;
}

void TDeckRenderer::DrawMovingScene(const TCamera& camera) {
    glPushMatrix();
    glTranslated(camera.FPan[0], camera.FPan[1], 0);
    glDepthFunc(GL_LEQUAL);
    // The eye in deck coordinates, which the pan moves; without a perspective the eye's place
    // does not tell which faces show.
    PersonBatch.SetEye(FFieldOfView > 0 ? std::optional(std::array{
                                              static_cast<float>(camera.FEye[0] - camera.FPan[0]),
                                              static_cast<float>(camera.FEye[1] - camera.FPan[1]),
                                              static_cast<float>(camera.FEye[2])})
                                        : std::nullopt);
    if (CongestionMap == nullptr || !PersonsHiddenOnMap) {
        if (camera.FPlan) {
            DrawPersonDiscs();
        } else if (PersonsBatched) {
            DrawPersonsBatched();
        } else {
            DrawPersons();
        }
    }
    glPopMatrix();
    // Drawn before the pan: it marks the centre of rotation, not the deck's origin.
    if (FShowOrigin && FOriginList != 0) {
        BeginPlainMaterial(Green);
        glCallList(FOriginList);
        EndPlainMaterial();
    }
    glDepthFunc(GL_LESS);
    glPushMatrix();
    glTranslated(camera.FPan[0], camera.FPan[1], 0);
    DrawCongestionMap();
    if (Outlines != nullptr) {
        DrawRegionOutlines(*Outlines, FDeckIndex);
    }
    DrawTrails();
    DrawSelection(camera.FPlan);
    glPopMatrix();
}

void TDeckRenderer::LookFromCamera(const TCamera& camera) const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto& eye = camera.FEye;
    const auto& up = camera.FUp;
    gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, up[0], up[1], up[2]);
}

// Thin lines just above the floor and the map, the older the paler; unlit, drawn over in blend.
void TDeckRenderer::DrawTrails() {
    if (TrailStretches == nullptr || TrailSeconds <= 0.0f || FDeckIndex < 0 ||
        static_cast<std::size_t>(FDeckIndex) >= TrailStretches->size()) {
        return;
    }
    const std::vector<TTrailPoint>& stretches =
        (*TrailStretches)[static_cast<std::size_t>(FDeckIndex)];
    if (stretches.empty()) {
        return;
    }
    constexpr float TrailHeight = 0.05f;
    std::vector<float>& points = TrailPoints;
    std::vector<std::uint8_t>& colours = TrailColours;
    points.clear();
    colours.clear();
    for (const TTrailPoint& point : stretches) {
        points.insert(points.end(), {point.X, point.Y, TrailHeight});
        const float fresh = std::clamp(1.0f - point.Age / TrailSeconds, 0.15f, 1.0f);
        colours.insert(colours.end(),
                       {40, 200, 255, static_cast<std::uint8_t>(fresh * 255.0f + 0.5f)});
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glLineWidth(2.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(stretches.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
}

void TDeckRenderer::DrawSelection(bool plan) {
    if (Selection == nullptr) {
        return;
    }
    BuildWayLines(Selection->Way, Selection->Step, FDeckIndex, SelectionLines);
    DrawWayLines(SelectionLines);
    const bool personsShown = CongestionMap == nullptr || !PersonsHiddenOnMap;
    if (!personsShown || FPersons == nullptr || Selection->Person >= FPersons->size()) {
        return;
    }
    const TPersonData::TState state = (*FPersons)[Selection->Person].GetState();
    const auto drawMark = [&](float x, float y) {
        if (plan) {
            DrawSelectedDisc(x, y, state.Heading);
        } else {
            DrawSelectedPrism(FPersonList, x, y,
                              TPersonPrisms::HeadingDegrees(state.Heading).value_or(0.0f));
        }
    };
    if (state.Level == FDeckIndex) {
        drawMark(state.X, state.Y);
        return;
    }
    // Once it has left, it stays marked on the cell it left from, where its way ends.
    if (state.Level >= 0 || Selection->Way.empty()) {
        return;
    }
    const TWayPoint& end = Selection->Way.back();
    if (Selection->Step >= end.Step && end.Level == FDeckIndex) {
        drawMark(SceneX(end.CellX), SceneY(end.CellY));
    }
}

void TDeckRenderer::DrawDeck() {
    DeckGeometry.Draw();
}

// In deck coordinates, which the pan moves.
void TDeckRenderer::PlaceLights(const TCamera& camera) {
    if (FLights == nullptr) {
        return;
    }
    glPushMatrix();
    glTranslated(camera.FPan[0], camera.FPan[1], 0);
    for (std::size_t i = 0; i < FLights->size(); ++i) {
        const TLight& light = (*FLights)[i];
        if (light.SwitchedOn) {
            const GLfloat position[4] = {light.Position[0], light.Position[1], 10.0f, 1.0f};
            glLightfv(GL_LIGHT0 + static_cast<GLenum>(i), GL_POSITION, position);
        }
    }
    glPopMatrix();
}

// A heading outside 1 .. 8 is drawn as north and reported. draw(state, index) for each person on
// the deck shown, the last first (see DrawFrame).
template <typename TDraw> void TDeckRenderer::ForEachPersonShown(TDraw draw) {
    if (FPersons == nullptr) {
        return;
    }
    const std::size_t count =
        std::min(FPersons->size(), static_cast<std::size_t>(std::max(FPersonCount, 0)));
    for (std::size_t i = count; i-- > 0;) {
        const TPersonData::TState state = (*FPersons)[i].GetState();
        if (state.Level != FDeckIndex) {
            continue;
        }
        if (!TPersonPrisms::HeadingDegrees(state.Heading)) {
            ReportBadHeading();
        }
        draw(state, i);
    }
}

// Green, unless persons are shaded by waiting.
TRgba TDeckRenderer::PersonColour(std::size_t person) const {
    const float waiting = WaitingSeconds != nullptr && person < WaitingSeconds->size()
                              ? (*WaitingSeconds)[person]
                              : 0.0f;
    return WaitingColour(waiting, WaitingLimit);
}

void TDeckRenderer::DrawPersons() {
    if (FPersonList == 0) {
        return;
    }
    ForEachPersonShown([this](const TPersonData::TState& state, std::size_t person) {
        const TRgba colour = PersonColour(person);
        glColor3ub(colour.R, colour.G, colour.B);
        glPushMatrix();
        glTranslatef(state.X, state.Y, 0);
        glRotatef(TPersonPrisms::HeadingDegrees(state.Heading).value_or(0.0f), 0, 0, 1);
        glCallList(FPersonList);
        glPopMatrix();
    });
}

// Persons wholly outside the view are not sent; those too small on screen for their shape to
// show go as points (see TPersonDots).
void TDeckRenderer::DrawPersonsBatched() {
    PersonBatch.Clear();
    Dots.Clear();
    const TScreenFootprint footprint = TScreenFootprint::OfCurrentFrame();
    const bool shaded = WaitingSeconds != nullptr;
    ForEachPersonShown([&](const TPersonData::TState& state, std::size_t person) {
        if (footprint.PrismOffScreen(state.X, state.Y)) {
            return; // OpenGL would clip all of it
        }
        if (const float pixels = footprint.PrismPixels(state.X, state.Y);
            pixels < TPersonDots::SmallestPrism) {
            Dots.Add(state.X, state.Y, PersonColour(person));
        } else if (shaded) {
            PersonBatch.AddShaded(state.X, state.Y, state.Heading, PersonColour(person));
        } else {
            PersonBatch.Add(state.X, state.Y, state.Heading);
        }
    });
    if (PersonBatch.VertexCount() > 0) {
        DrawPrisms(shaded);
    }
    Dots.Draw();
}

// Every person as a disc inside its cell, or as the pixel at its middle where the disc would be
// too small for its shape to show; persons wholly outside the view are not sent.
void TDeckRenderer::DrawPersonDiscs() {
    Discs.Clear();
    const TScreenFootprint footprint = TScreenFootprint::OfCurrentFrame();
    ForEachPersonShown([&](const TPersonData::TState& state, std::size_t person) {
        if (footprint.PrismOffScreen(state.X, state.Y)) {
            return;
        }
        // Seen straight down, a prism's pixels are its footprint's, a little over a cell.
        if (footprint.PrismPixels(state.X, state.Y) < TPersonDots::SmallestPrism) {
            Discs.AddDot(state.X, state.Y, PersonColour(person));
        } else {
            Discs.Add(state.X, state.Y, state.Heading, PersonColour(person));
        }
    });
    Discs.Draw();
}

void TDeckRenderer::DrawPrisms(bool shaded) {
    constexpr GLsizei Stride = sizeof(TPrismVertex);
    glColor3f(0, 1, 0);
    if (!shaded) {
        BeginPlainMaterial(Green);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    if (shaded) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, PersonBatch.ColourData());
    }
    glVertexPointer(3, GL_FLOAT, Stride, PersonBatch.Data()->P);
    glNormalPointer(GL_FLOAT, Stride, PersonBatch.Data()->N);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(PersonBatch.VertexCount()));
    EndPlainMaterial();
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// Once a deck: its quads are not sent again until another deck or project is shown.
void TDeckRenderer::RebuildDeckGeometry() {
    DeckGeometryWanted = false;
    ++GeometryBuilds;
    if (const TDeck* deck = CurrentDeck()) {
        DeckGeometry.Build(deck->Quads);
    } else {
        DeckGeometry.Release();
    }
}

void TDeckRenderer::DrawCongestionMap() {
    if (CongestionOverlayWanted) {
        CongestionOverlayWanted = false;
        if (CongestionMap != nullptr) {
            CongestionOverlay.Build(*CongestionMap, FDeckIndex);
        } else {
            CongestionOverlay.Release();
        }
    }
    CongestionOverlay.Draw();
}

void TDeckRenderer::ReportBadHeading() {
    if (BadHeadingReported) {
        return;
    }
    BadHeadingReported = true;
    if (OnBadHeading) {
        OnBadHeading();
    }
}
