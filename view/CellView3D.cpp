#include "CellView3D.h"

#include "UiServices.h"

#include <QTimer>
#include <algorithm>

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

void CompilePersonPrism() {
    glColor3f(0, 1, 0);
    glBegin(GL_TRIANGLES);
    for (const TPrismVertex& v : TPersonPrisms::Upright()) {
        glNormal3fv(v.N);
        glVertex3fv(v.P);
    }
    glEnd();
}

GLuint CompileList(void (*compile)()) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    compile();
    glEndList();
    return list;
}

} // namespace

TCellView3D::TCellView3D(QWidget* owner) : TGLControl(owner) {}

TCellView3D::~TCellView3D() {
    ReleaseInContext([this] {
        DeleteDisplayLists();
        DeckGeometry.Release();
    });
}

template <typename TRelease> void TCellView3D::ReleaseInContext(TRelease release) {
    if (context() != nullptr) {
        makeCurrent();
        release();
        doneCurrent();
    }
}

void TCellView3D::ShowProject(TLogFile1& project) {
    SetProject(project.XMax, project.YMax, project.ZMax, project.PMax);
    FDecks = &project.Decks;
    FPersons = &project.Persons;
    SelectDeck(0);
}

void TCellView3D::SetProject(std::int32_t xMax, std::int32_t yMax, std::int32_t zMax,
                             std::int32_t pMax) {
    FXExtent = xMax;
    FYExtent = yMax;
    FDeckCount = zMax;
    FPersonCount = pMax;
    FMaxExtent = std::max(xMax, yMax);
    FFieldOfView = CellViewFieldOfView;
    FFieldOfViewRadians = CellViewFieldOfViewRadians;
    Camera.FitToDeck(FMaxExtent);
    // The lists and the deck are built at the next frame, where the context is current.
    DisplayListsWanted = true;
    DeckGeometryWanted = true;
    BadHeadingReported = false;
    Invalidate();
}

void TCellView3D::ClearProject() {
    FDecks = nullptr;
    FPersons = nullptr;
    FLights = nullptr;
    FDeckCount = 0;
    FPersonCount = 0;
    // A large deck's buffers and a crowd's array are let go before the next file loads.
    ReleaseInContext([this] { DeckGeometry.Release(); });
    DeckGeometryWanted = false;
    PersonBatch = TPersonPrisms();
    Invalidate();
}

void TCellView3D::SelectDeck(std::int32_t index) {
    if (index < 0 || index >= FDeckCount || FDecks == nullptr ||
        static_cast<std::size_t>(index) >= FDecks->size()) {
        return;
    }
    DeckGeometryWanted = DeckGeometryWanted || index != FDeckIndex;
    FDeckIndex = index;
    FLights = &(*FDecks)[static_cast<std::size_t>(index)].Lights;
    RequestSetupRC();
    Invalidate();
}

void TCellView3D::ToggleOrigin() {
    FShowOrigin = !FShowOrigin;
    Invalidate();
}

TDeck* TCellView3D::CurrentDeck() const {
    if (FDecks == nullptr || FDeckIndex < 0 ||
        static_cast<std::size_t>(FDeckIndex) >= FDecks->size()) {
        return nullptr;
    }
    return &(*FDecks)[static_cast<std::size_t>(FDeckIndex)];
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
    if (TDeck* deck = CurrentDeck()) {
        const auto centre = Camera.ViewCentre();
        (deck->*change)(centre[0], centre[1]);
        RequestSetupRC();
        Invalidate();
    }
}

std::int32_t TCellView3D::GetLightCount() const {
    const TDeck* deck = CurrentDeck();
    return deck != nullptr ? deck->LightCount : 0;
}

void TCellView3D::SetOrtho() {
    const TProjection projection =
        ProjectionFor(width(), height(), FFieldOfView, Camera.FDistance, Camera.FPan, FMaxExtent);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (FFieldOfView > 0) {
        gluPerspective(projection.FieldOfViewY, double{projection.Aspect}, projection.Near,
                       projection.Far);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void TCellView3D::BuildDisplayLists() {
    DeleteDisplayLists();
    FOriginList = CompileList(CompileOriginMarker);
    FPersonList = CompileList(CompilePersonPrism);
    DisplayListsWanted = false;
}

void TCellView3D::DeleteDisplayLists() {
    if (FOriginList != 0) {
        glDeleteLists(FOriginList, 1);
        FOriginList = 0;
    }
    if (FPersonList != 0) {
        glDeleteLists(FPersonList, 1);
        FPersonList = 0;
    }
}

void TCellView3D::RenderScene() {
    if (DisplayListsWanted) {
        BuildDisplayLists();
    }
    LookFromCamera();
    glPushMatrix();
    // Drawn before the pan: it marks the centre of rotation, not the deck's origin.
    if (FShowOrigin && FOriginList != 0) {
        glCallList(FOriginList);
    }
    glTranslated(Camera.FPan[0], Camera.FPan[1], 0);
    // Lights are placed before anything is drawn, so every frame is lit where the lights are.
    PlaceLights();
    DrawDeckContents();
    glPopMatrix();
}

void TCellView3D::LookFromCamera() const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto& eye = Camera.FEye;
    const auto& up = Camera.FUp;
    gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, up[0], up[1], up[2]);
}

void TCellView3D::DrawDeckContents() {
    if (PersonsBatched) {
        DrawPersonsBatched();
    } else {
        DrawPersons();
    }
    DrawQuads();
}

void TCellView3D::PlaceLights() {
    if (FLights == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < FLights->size(); ++i) {
        const TLight& light = (*FLights)[i];
        if (light.SwitchedOn) {
            const GLfloat position[4] = {light.Position[0], light.Position[1], 10.0f, 1.0f};
            glLightfv(GL_LIGHT0 + static_cast<GLenum>(i), GL_POSITION, position);
        }
    }
}

// A heading outside 1 .. 8 is drawn as north and reported.
template <typename TDraw> void TCellView3D::ForEachPersonShown(TDraw draw) {
    if (FPersons == nullptr) {
        return;
    }
    const std::size_t count =
        std::min(FPersons->size(), static_cast<std::size_t>(std::max(FPersonCount, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        const TPersonData::TState state = (*FPersons)[i].GetState();
        if (state.Level != FDeckIndex) {
            continue;
        }
        if (!TPersonPrisms::HeadingDegrees(state.Heading)) {
            ReportBadHeadingLater();
        }
        draw(state);
    }
}

void TCellView3D::DrawPersons() {
    if (FPersonList == 0) {
        return;
    }
    ForEachPersonShown([this](const TPersonData::TState& state) {
        glPushMatrix();
        glTranslatef(state.X, state.Y, 0);
        glRotatef(TPersonPrisms::HeadingDegrees(state.Heading).value_or(0.0f), 0, 0, 1);
        glCallList(FPersonList);
        glPopMatrix();
    });
}

void TCellView3D::DrawPersonsBatched() {
    PersonBatch.Clear();
    ForEachPersonShown([this](const TPersonData::TState& state) {
        PersonBatch.Add(state.X, state.Y, state.Heading);
    });
    if (PersonBatch.VertexCount() == 0) {
        return;
    }
    constexpr GLsizei Stride = sizeof(TPrismVertex);
    glColor3f(0, 1, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, Stride, PersonBatch.Data()->P);
    glNormalPointer(GL_FLOAT, Stride, PersonBatch.Data()->N);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(PersonBatch.VertexCount()));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void TCellView3D::DrawQuads() {
    if (DeckGeometryWanted) {
        RebuildDeckGeometry();
    }
    DeckGeometry.Draw();
}

// Once a deck: its quads are not sent again until another deck or project is shown.
void TCellView3D::RebuildDeckGeometry() {
    DeckGeometryWanted = false;
    if (const TDeck* deck = CurrentDeck()) {
        DeckGeometry.Build(deck->Quads);
    } else {
        DeckGeometry.Release();
    }
}

void TCellView3D::ReportBadHeadingLater() {
    if (BadHeadingReported) {
        return;
    }
    BadHeadingReported = true;
    QTimer::singleShot(0, this, [] {
        Ui().MessageBox("Error", "Error in:\n\nTCellView3D::RenderScene()\n\nContact Morvane HT!",
                        TMsgIcon::Exclamation, TMsgButtons::Ok);
    });
}
