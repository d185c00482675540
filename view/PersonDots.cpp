#include "PersonDots.h"

#include "PersonPrisms.h"

#include <algorithm>
#include <cmath>

#include <GL/gl.h>

namespace {

// Half the width of a prism's footprint, with room: its triangle has sides of one cell.
constexpr float HalfFootprint = 0.6f;
constexpr float BehindTheEye = 1e9f;

std::array<float, 16> Product(const std::array<float, 16>& a, const std::array<float, 16>& b) {
    std::array<float, 16> product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[static_cast<std::size_t>(k * 4 + row)] *
                       b[static_cast<std::size_t>(column * 4 + k)];
            }
            product[static_cast<std::size_t>(column * 4 + row)] = sum;
        }
    }
    return product;
}

} // namespace

TScreenFootprint TScreenFootprint::OfCurrentFrame() {
    std::array<float, 16> projection{};
    std::array<float, 16> modelView{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    TScreenFootprint footprint;
    footprint.ModelViewProjection = Product(projection, modelView);
    footprint.HalfWidth = static_cast<float>(viewport[2]) / 2.0f;
    footprint.HalfHeight = static_cast<float>(viewport[3]) / 2.0f;
    footprint.Up = footprint.StepOf(0.0f, 0.0f, TPersonPrisms::Height);
    footprint.East = footprint.StepOf(HalfFootprint, 0.0f, 0.0f);
    footprint.North = footprint.StepOf(0.0f, HalfFootprint, 0.0f);
    return footprint;
}

TScreenFootprint::TClip TScreenFootprint::StepOf(float x, float y, float z) const {
    const std::array<float, 16>& m = ModelViewProjection;
    TClip clip{};
    for (std::size_t row = 0; row < clip.size(); ++row) {
        clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z;
    }
    return clip;
}

TScreenFootprint::TClip TScreenFootprint::ClipOf(float x, float y, float z) const {
    TClip clip = StepOf(x, y, z);
    for (std::size_t row = 0; row < clip.size(); ++row) {
        clip[row] += ModelViewProjection[12 + row];
    }
    return clip;
}

std::array<float, 2> TScreenFootprint::Pixel(const TClip& clip) const {
    return {clip[0] / clip[3] * HalfWidth, clip[1] / clip[3] * HalfHeight};
}

bool TScreenFootprint::PrismOffScreen(float x, float y) const {
    const TClip foot = ClipOf(x, y, 0.0f);
    // Beyond the left, right, lower and upper edge: -w > x, x > w, -w > y, y > w.
    std::array<bool, 4> allBeyond{true, true, true, true};
    for (const float height : {0.0f, 1.0f}) {
        for (const float across : {-1.0f, 1.0f}) {
            for (const float along : {-1.0f, 1.0f}) {
                TClip corner = foot;
                for (std::size_t i = 0; i < corner.size(); ++i) {
                    corner[i] += height * Up[i] + across * East[i] + along * North[i];
                }
                const float w = corner[3];
                allBeyond[0] = allBeyond[0] && corner[0] < -w;
                allBeyond[1] = allBeyond[1] && corner[0] > w;
                allBeyond[2] = allBeyond[2] && corner[1] < -w;
                allBeyond[3] = allBeyond[3] && corner[1] > w;
            }
        }
    }
    return std::find(allBeyond.begin(), allBeyond.end(), true) != allBeyond.end();
}

float TScreenFootprint::PrismPixels(float x, float y) const {
    const TClip foot = ClipOf(x, y, 0.0f);
    const auto plus = [&foot](const TClip& step) {
        TClip sum = foot;
        for (std::size_t i = 0; i < sum.size(); ++i) {
            sum[i] += step[i];
        }
        return sum;
    };
    const TClip top = plus(Up);
    const TClip east = plus(East);
    const TClip north = plus(North);
    constexpr float NearestW = 1e-3f;
    if (std::min({foot[3], top[3], east[3], north[3]}) < NearestW) {
        return BehindTheEye;
    }
    const auto distance = [](const std::array<float, 2>& a, const std::array<float, 2>& b) {
        return std::hypot(a[0] - b[0], a[1] - b[1]);
    };
    const std::array<float, 2> footPixel = Pixel(foot);
    const float across =
        2.0f * std::max(distance(Pixel(east), footPixel), distance(Pixel(north), footPixel));
    return distance(Pixel(top), footPixel) + across;
}

void TPersonDots::Clear() {
    Positions.clear();
    Colours.clear();
}

void TPersonDots::Add(float x, float y, TRgba colour) {
    Positions.insert(Positions.end(), {x, y, TPersonPrisms::Height});
    Colours.push_back(colour);
}

void TPersonDots::Draw() const {
    if (Colours.empty()) {
        return;
    }
    glNormal3f(0.0f, 0.0f, 1.0f);
    glPointSize(1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, Positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, Colours.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(Colours.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
