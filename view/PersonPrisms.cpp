#include "PersonPrisms.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr std::size_t HeadingCount = 8;

TPersonPrisms::TPrism MakeUpright() {
    const float a[2] = {-0.5f, -0.289f};
    const float b[2] = {0.0f, 0.577f};
    const float c[2] = {0.5f, -0.289f};
    const float h = TPersonPrisms::Height;
    TPersonPrisms::TPrism prism{};
    std::size_t next = 0;
    const auto triangle = [&](const float* p, const float* q, const float* r, float pz, float qz,
                              float rz, const std::array<float, 3>& n) {
        prism[next++] = {{p[0], p[1], pz}, {n[0], n[1], n[2]}};
        prism[next++] = {{q[0], q[1], qz}, {n[0], n[1], n[2]}};
        prism[next++] = {{r[0], r[1], rz}, {n[0], n[1], n[2]}};
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
    return prism;
}

TPersonPrisms::TPrism Turned(const TPersonPrisms::TPrism& upright, float degrees) {
    const float radians = degrees * 3.14159265f / 180.0f;
    const float cosA = std::cos(radians);
    const float sinA = std::sin(radians);
    TPersonPrisms::TPrism prism{};
    std::transform(upright.begin(), upright.end(), prism.begin(), [&](const TPrismVertex& v) {
        return TPrismVertex{{cosA * v.P[0] - sinA * v.P[1], sinA * v.P[0] + cosA * v.P[1], v.P[2]},
                            {cosA * v.N[0] - sinA * v.N[1], sinA * v.N[0] + cosA * v.N[1], v.N[2]}};
    });
    return prism;
}

// A flat face of a prism: its vertices, a point on it and the normal its winding gives (front
// where the vertices run counter-clockwise, as OpenGL takes them).
struct TFace {
    std::size_t First;
    std::size_t Count;
    std::array<float, 3> Point;
    std::array<float, 3> Normal;
};
// The bottom, the top and the three sides, as MakeUpright lays them out.
constexpr std::array<std::pair<std::size_t, std::size_t>, 5> FaceVertices{
    {{0, 3}, {3, 3}, {6, 6}, {12, 6}, {18, 6}}};
using TFaces = std::array<TFace, FaceVertices.size()>;

TFaces FacesOf(const TPersonPrisms::TPrism& prism) {
    TFaces faces{};
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const auto [first, count] = FaceVertices[f];
        const float* p = prism[first].P;
        const float* q = prism[first + 1].P;
        const float* r = prism[first + 2].P;
        const std::array<float, 3> u{q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        const std::array<float, 3> v{r[0] - p[0], r[1] - p[1], r[2] - p[2]};
        faces[f] = {
            first,
            count,
            {p[0], p[1], p[2]},
            {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]}};
    }
    return faces;
}

// Whether the face of a person at (x, y) turns away from the eye by more than a hair: OpenGL
// culls it then whatever its rounding.
bool TurnsAwayFrom(const TFace& face, float x, float y, const std::array<float, 3>& eye) {
    constexpr float Hair = 1e-3f; // the cosine of the angle between the face and the eye's ray
    const float ex = eye[0] - (face.Point[0] + x);
    const float ey = eye[1] - (face.Point[1] + y);
    const float ez = eye[2] - face.Point[2];
    const std::array<float, 3>& n = face.Normal;
    const float facing = ex * n[0] + ey * n[1] + ez * n[2];
    return facing < 0 && facing * facing > Hair * Hair * (ex * ex + ey * ey + ez * ez) *
                                               (n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
}

// Element k faces heading k + 1.
const std::array<TPersonPrisms::TPrism, HeadingCount>& TurnedPrisms() {
    static const auto prisms = [] {
        std::array<TPersonPrisms::TPrism, HeadingCount> turned{};
        for (std::size_t k = 0; k < HeadingCount; ++k) {
            const auto heading = static_cast<std::int32_t>(k + 1);
            turned[k] = Turned(TPersonPrisms::Upright(), *TPersonPrisms::HeadingDegrees(heading));
        }
        return turned;
    }();
    return prisms;
}

const std::array<TFaces, HeadingCount>& TurnedFaces() {
    static const auto faces = [] {
        std::array<TFaces, HeadingCount> turned{};
        for (std::size_t k = 0; k < HeadingCount; ++k) {
            turned[k] = FacesOf(TurnedPrisms()[k]);
        }
        return turned;
    }();
    return faces;
}

} // namespace

const TPersonPrisms::TPrism& TPersonPrisms::Upright() {
    static const TPrism prism = MakeUpright();
    return prism;
}

std::optional<float> TPersonPrisms::HeadingDegrees(std::int32_t heading) {
    constexpr float degrees[HeadingCount] = {0, 315, 270, 225, 180, 135, 90, 45};
    if (heading < 1 || heading > static_cast<std::int32_t>(HeadingCount)) {
        return std::nullopt;
    }
    return degrees[heading - 1];
}

void TPersonPrisms::Add(float x, float y, std::int32_t heading) {
    if (Vertices.size() - Used < VerticesPerPerson) {
        Grow();
    }
    const bool known = heading >= 1 && heading <= static_cast<std::int32_t>(HeadingCount);
    const std::size_t turn = known ? static_cast<std::size_t>(heading - 1) : 0;
    const TPrism& prism = TurnedPrisms()[turn];
    TPrismVertex* out = Vertices.data() + Used;
    for (const TFace& face : TurnedFaces()[turn]) {
        if (Eye && TurnsAwayFrom(face, x, y, *Eye)) {
            continue;
        }
        for (std::size_t i = face.First; i < face.First + face.Count; ++i) {
            const TPrismVertex& v = prism[i];
            *out++ = {{v.P[0] + x, v.P[1] + y, v.P[2]}, {v.N[0], v.N[1], v.N[2]}};
        }
    }
    Used = static_cast<std::size_t>(out - Vertices.data());
}

void TPersonPrisms::AddShaded(float x, float y, std::int32_t heading, TRgba colour) {
    const std::size_t first = Used;
    Add(x, y, heading);
    if (Colours.size() < Vertices.size()) {
        Colours.resize(Vertices.size());
    }
    std::fill(Colours.begin() + static_cast<std::ptrdiff_t>(first),
              Colours.begin() + static_cast<std::ptrdiff_t>(Used), colour);
}

// Doubling keeps the number of reallocations small while a frame adds its persons one by one.
void TPersonPrisms::Grow() {
    constexpr std::size_t minimum = 1024 * VerticesPerPerson;
    Vertices.resize(std::max(minimum, 2 * Vertices.size()));
}
