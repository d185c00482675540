#include "CellView3D.h"

#include "UiServices.h"

#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr double MarkerSize = 0.1;
constexpr GLint QuadricSlices = 8;
constexpr float PersonHeight = 6.0f;

// Rotation about z that turns a person facing +y towards its heading.
std::optional<float> HeadingAngle(std::int32_t heading) {
    constexpr float angles[9] = {0, 0, 315, 270, 225, 180, 135, 90, 45};
    if (heading < 1 || heading > 8) {
        return std::nullopt;
    }
    return angles[heading];
}

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

// A person: an upright prism on an equilateral triangle of side 1, its apex pointing to +y, as
// triangles: vertex x, y, z then normal x, y, z.
struct TPrismVertex {
    float P[3];
    float N[3];
};

std::vector<TPrismVertex> PersonPrismTriangles() {
    const float a[2] = {-0.5f, -0.289f};
    const float b[2] = {0.0f, 0.577f};
    const float c[2] = {0.5f, -0.289f};
    const float h = PersonHeight;
    std::vector<TPrismVertex> v;
    const auto triangle = [&v](const float* p, const float* q, const float* r, float pz, float qz,
                               float rz, const std::array<float, 3>& n) {
        v.push_back({{p[0], p[1], pz}, {n[0], n[1], n[2]}});
        v.push_back({{q[0], q[1], qz}, {n[0], n[1], n[2]}});
        v.push_back({{r[0], r[1], rz}, {n[0], n[1], n[2]}});
    };
    // A side quad p0 q0 q6 p6 as two triangles.
    const auto side = [&](const float* p, const float* q, const std::array<float, 3>& n) {
        triangle(p, q, q, 0, 0, h, n);
        triangle(p, q, p, 0, h, h, n);
    };
    triangle(a, b, c, 0, 0, 0, {0, 0, -1});
    triangle(a, c, b, h, h, h, {0, 0, 1});
    side(a, c, {0, -1, 0});
    side(b, a, {-0.866f, 0.866f, 0});
    side(c, b, {0.866f, 0.866f, 0});
    return v;
}

void CompilePersonPrism() {
    glColor3f(0, 1, 0);
    glBegin(GL_TRIANGLES);
    for (const TPrismVertex& v : PersonPrismTriangles()) {
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
    if (context() != nullptr) {
        makeCurrent();
        DeleteDisplayLists();
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
    // The lists are compiled at the next frame, where the context is current.
    DisplayListsWanted = true;
    BadHeadingReported = false;
    Invalidate();
}

void TCellView3D::ClearProject() {
    FDecks = nullptr;
    FPersons = nullptr;
    FLights = nullptr;
    FDeckCount = 0;
    FPersonCount = 0;
    Invalidate();
}

void TCellView3D::SelectDeck(std::int32_t index) {
    if (index < 0 || index >= FDeckCount || FDecks == nullptr ||
        static_cast<std::size_t>(index) >= FDecks->size()) {
        return;
    }
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
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto& eye = Camera.FEye;
    const auto& up = Camera.FUp;
    gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, up[0], up[1], up[2]);
    glPushMatrix();
    // Drawn before the pan: it marks the centre of rotation, not the deck's origin.
    if (FShowOrigin && FOriginList != 0) {
        glCallList(FOriginList);
    }
    glTranslated(Camera.FPan[0], Camera.FPan[1], 0);
    // Lights are placed before anything is drawn, so every frame is lit where the lights are.
    PlaceLights();
    if (PersonsBatched) {
        DrawPersonsBatched();
    } else {
        DrawPersons();
    }
    if (FXExtent > 0 || FYExtent > 0 || FDeckCount > 0) {
        DrawQuads();
    }
    glPopMatrix();
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
        const std::optional<float> degrees = HeadingAngle(state.Heading);
        if (!degrees) {
            ReportBadHeadingLater();
        }
        draw(state, degrees.value_or(0.0f));
    }
}

void TCellView3D::DrawPersons() {
    if (FPersonList == 0) {
        return;
    }
    ForEachPersonShown([this](const TPersonData::TState& state, float degrees) {
        glPushMatrix();
        glTranslatef(state.X, state.Y, 0);
        glRotatef(degrees, 0, 0, 1);
        glCallList(FPersonList);
        glPopMatrix();
    });
}

void TCellView3D::DrawPersonsBatched() {
    static const std::vector<TPrismVertex> prism = PersonPrismTriangles();
    PersonVertices.clear();
    ForEachPersonShown([this](const TPersonData::TState& state, float degrees) {
        const float radians = degrees * 3.14159265f / 180.0f;
        const float cosA = std::cos(radians);
        const float sinA = std::sin(radians);
        for (const TPrismVertex& v : prism) {
            PersonVertices.insert(PersonVertices.end(), {cosA * v.P[0] - sinA * v.P[1] + state.X,
                                                         sinA * v.P[0] + cosA * v.P[1] + state.Y,
                                                         v.P[2], cosA * v.N[0] - sinA * v.N[1],
                                                         sinA * v.N[0] + cosA * v.N[1], v.N[2]});
        }
    });
    if (PersonVertices.empty()) {
        return;
    }
    constexpr GLsizei Stride = 6 * sizeof(float);
    glColor3f(0, 1, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, Stride, PersonVertices.data());
    glNormalPointer(GL_FLOAT, Stride, PersonVertices.data() + 3);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(PersonVertices.size() / 6));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// One quad primitive per record; a single begin and end carries them all.
void TCellView3D::DrawQuads() const {
    const TDeck* deck = CurrentDeck();
    if (deck == nullptr) {
        return;
    }
    glBegin(GL_QUADS);
    for (const TQuad& quad : deck->Quads) {
        glNormal3fv(quad.Normal);
        glColor3fv(quad.Color);
        for (const auto& vertex : quad.Vertex) {
            glVertex3fv(vertex);
        }
    }
    glEnd();
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
