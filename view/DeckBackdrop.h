#pragma once
// The deck alone, colour and depth, as a frame starts: kept in a framebuffer object while the
// camera, the view's size, the deck and its lights stay as they were, and copied into the
// frame's framebuffer at the start of each frame instead of drawing every quad again. A replay
// that plays with the camera still then draws only what moves.

#include "Light.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// Everything the picture of the deck alone depends on.
struct TBackdropKey {
    std::array<double, 3> Eye{};
    std::array<double, 3> Up{};
    std::array<double, 2> Pan{};
    double Distance = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t FieldOfView = 0;
    bool Plan = false;
    std::int32_t MaxExtent = 0;
    std::int32_t Deck = 0;
    // Counts the deck geometry's builds: quads of another deck or project.
    std::uint64_t Geometry = 0;
    std::array<TLight, DeckLightSlots> Lights{};

    friend bool operator==(const TBackdropKey&, const TBackdropKey&) = default;
};

class TDeckBackdrop {
public:
    TDeckBackdrop() = default;
    TDeckBackdrop(const TDeckBackdrop&) = delete;
    TDeckBackdrop& operator=(const TDeckBackdrop&) = delete;

    // With the context current and the frame's framebuffer bound: fills it with the deck alone,
    // cleared and drawn by drawDeck, and true. The picture is kept from the second frame of the
    // same key on, so that a camera that moves at every frame costs no copies. False, with
    // nothing done, where a copy could differ from drawing (the window system's own framebuffer,
    // another depth format, multisampling, a frame too large to keep twice): the caller then
    // clears and draws the deck itself.
    bool Fill(const TBackdropKey& key, const std::function<void()>& drawDeck);
    // Lets go of what it made in OpenGL; with the context current.
    void Release();

private:
    // The depth format of the framebuffer bound, when a copy of the deck can go into it exactly.
    std::optional<int> CopyableDepthFormat() const;
    bool Open(std::int32_t width, std::int32_t height, int depthFormat);
    void Draw(const std::function<void()>& drawDeck, int target) const;
    void CopyTo(int target) const;

    unsigned Framebuffer = 0;
    unsigned ColorBuffer = 0;
    unsigned DepthBuffer = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    int DepthFormat = 0;
    // The key of the last frame, and whether the kept picture is of it.
    TBackdropKey LastKey;
    bool Kept = false;
};
