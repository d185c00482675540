#include "PersonDiscs.h"

#include "PersonPrisms.h"

#include <array>
#include <cmath>
#include <numbers>

#include <GL/gl.h>

namespace {

// How deep the notch reaches towards the middle, as a share of the radius.
constexpr float NotchDepth = 0.65f;

} // namespace

const TPersonDiscs::TRim& TPersonDiscs::NorthRim() {
    static const TRim rim = [] {
        TRim points{};
        for (std::size_t i = 0; i < RimPoints; ++i) {
            const double angle = 2.0 * std::numbers::pi * static_cast<double>(i) / RimPoints;
            const float reach = i == 0 ? Radius * (1.0f - NotchDepth) : Radius;
            points[i] = {static_cast<float>(-std::sin(angle)) * reach,
                         static_cast<float>(std::cos(angle)) * reach};
        }
        return points;
    }();
    return rim;
}

namespace {

// The rim turned towards each heading, around the origin; element k faces heading k + 1.
const std::array<TPersonDiscs::TRim, 8>& TurnedRims() {
    static const auto rims = [] {
        std::array<TPersonDiscs::TRim, 8> turned{};
        for (std::size_t k = 0; k < turned.size(); ++k) {
            const float radians = *TPersonPrisms::HeadingDegrees(static_cast<std::int32_t>(k + 1)) *
                                  std::numbers::pi_v<float> / 180.0f;
            const float c = std::cos(radians);
            const float s = std::sin(radians);
            turned[k] = TPersonDiscs::NorthRim();
            for (auto& point : turned[k]) {
                point = {c * point[0] - s * point[1], s * point[0] + c * point[1]};
            }
        }
        return turned;
    }();
    return rims;
}

} // namespace

TPersonDiscs::TRim TPersonDiscs::RimAt(float x, float y, std::int32_t heading) {
    const bool known = TPersonPrisms::HeadingDegrees(heading).has_value();
    TRim rim = TurnedRims()[known ? static_cast<std::size_t>(heading - 1) : 0];
    for (auto& point : rim) {
        point = {x + point[0], y + point[1]};
    }
    return rim;
}

void TPersonDiscs::Clear() {
    Positions.clear();
    Colours.clear();
    DotPositions.clear();
    DotColours.clear();
}

void TPersonDiscs::AddDot(float x, float y, TRgba colour) {
    DotPositions.insert(DotPositions.end(), {x, y, FloorHeight});
    DotColours.push_back(colour);
}

// A fan of triangles from the middle to each piece of the rim.
void TPersonDiscs::Add(float x, float y, std::int32_t heading, TRgba colour) {
    const TRim rim = RimAt(x, y, heading);
    for (std::size_t i = 0; i < RimPoints; ++i) {
        const auto& from = rim[i];
        const auto& to = rim[(i + 1) % RimPoints];
        Positions.insert(Positions.end(), {x, y, FloorHeight, from[0], from[1], FloorHeight, to[0],
                                           to[1], FloorHeight});
        Colours.insert(Colours.end(), {colour, colour, colour});
    }
}

void TPersonDiscs::Draw() const {
    if (Positions.empty() && DotPositions.empty()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, Positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, Colours.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(VertexCount()));
    glPointSize(1.0f);
    glVertexPointer(3, GL_FLOAT, 0, DotPositions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, DotColours.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(DotColours.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
}
