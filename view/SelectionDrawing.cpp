#include "SelectionDrawing.h"

#include "PersonDiscs.h"

#include <GL/gl.h>

namespace {

constexpr float WayHeight = 0.08f; // above the trails
constexpr float SignHalfSize = 0.4f;
constexpr float SelectedWidening = 1.6f;
constexpr float SelectedHeightening = 1.15f;

void AddLine(std::vector<float>& lines, float x0, float y0, float x1, float y1) {
    lines.insert(lines.end(), {x0, y0, x1, y1});
}

void DrawLines(const std::vector<float>& lines) {
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        glVertex3f(lines[i], lines[i + 1], WayHeight);
    }
    glEnd();
}

void DrawSigns(const std::vector<TWayLines::TDeckSign>& signs) {
    glBegin(GL_TRIANGLES);
    for (const TWayLines::TDeckSign& sign : signs) {
        const float tip = sign.Up ? SignHalfSize : -SignHalfSize;
        glVertex3f(sign.X - SignHalfSize, sign.Y - tip, WayHeight);
        glVertex3f(sign.X + SignHalfSize, sign.Y - tip, WayHeight);
        glVertex3f(sign.X, sign.Y + tip, WayHeight);
    }
    glEnd();
}

} // namespace

void BuildWayLines(const std::vector<TWayPoint>& way, std::int32_t step, std::int32_t deck,
                   TWayLines& lines) {
    lines.Walked.clear();
    lines.ToCome.clear();
    lines.Signs.clear();
    for (std::size_t i = 1; i < way.size(); ++i) {
        const TWayPoint& from = way[i - 1];
        const TWayPoint& to = way[i];
        const float x0 = SceneX(from.CellX);
        const float y0 = SceneY(from.CellY);
        const float x1 = SceneX(to.CellX);
        const float y1 = SceneY(to.CellY);
        if (from.Level != to.Level) {
            const bool up = to.Level > from.Level;
            if (from.Level == deck) {
                lines.Signs.push_back({x0, y0, up});
            }
            if (to.Level == deck) {
                lines.Signs.push_back({x1, y1, up});
            }
            continue;
        }
        if (from.Level != deck || (x0 == x1 && y0 == y1)) {
            continue;
        }
        if (to.Step <= step) {
            AddLine(lines.Walked, x0, y0, x1, y1);
        } else if (from.Step >= step) {
            AddLine(lines.ToCome, x0, y0, x1, y1);
        } else {
            const float share =
                static_cast<float>(step - from.Step) / static_cast<float>(to.Step - from.Step);
            const float x = x0 + (x1 - x0) * share;
            const float y = y0 + (y1 - y0) * share;
            AddLine(lines.Walked, x0, y0, x, y);
            AddLine(lines.ToCome, x, y, x1, y1);
        }
    }
}

void DrawWayLines(const TWayLines& lines) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT |
                 GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glLineWidth(3.0f);
    glColor4ub(255, 255, 255, 240);
    DrawLines(lines.Walked);
    DrawSigns(lines.Signs);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, 0x0F0F);
    glColor4ub(255, 255, 255, 150);
    DrawLines(lines.ToCome);
    glPopAttrib();
}

// Larger than the others, so that it covers its own prism, outlined in black.
void DrawSelectedPrism(unsigned prismList, float x, float y, float degrees) {
    if (prismList == 0) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glRotatef(degrees, 0, 0, 1);
    glScalef(SelectedWidening, SelectedWidening, SelectedHeightening);
    // Unlit: one colour from every side, the outline showing its shape.
    glDisable(GL_LIGHTING);
    glColor3ub(SelectionColour.R, SelectionColour.G, SelectionColour.B);
    glCallList(prismList);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(2.0f);
    glColor3ub(0, 0, 0);
    glCallList(prismList);
    glPopMatrix();
    glPopAttrib();
}

namespace {

void DrawDiscFan(const TPersonDiscs::TRim& rim, float x, float y, float z, float scale) {
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(x, y, z);
    for (std::size_t i = 0; i <= rim.size(); ++i) {
        const auto& point = rim[i % rim.size()];
        glVertex3f(x + (point[0] - x) * scale, y + (point[1] - y) * scale, z);
    }
    glEnd();
}

} // namespace

void DrawSelectedDisc(float x, float y, std::int32_t heading) {
    constexpr float Inner = 0.7f; // of the rim; the rest is the black edge
    const TPersonDiscs::TRim rim = TPersonDiscs::RimAt(x, y, heading);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColor3ub(0, 0, 0);
    DrawDiscFan(rim, x, y, TPersonDiscs::FloorHeight + 0.01f, 1.0f);
    glColor3ub(SelectionColour.R, SelectionColour.G, SelectionColour.B);
    DrawDiscFan(rim, x, y, TPersonDiscs::FloorHeight + 0.02f, Inner);
    glPopAttrib();
}
