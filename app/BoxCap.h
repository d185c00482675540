#pragma once
// Holds back a flood of message boxes. Within one scope (a load, the replay of a project) the
// same box is shown once, and at most ten boxes are shown, then one summary box; the rest is
// held back, counted, so that it can still be listed. Questions always reach the user: their
// answer decides what happens next.

#include "UiServices.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct THeldBackBox {
    std::string Title;
    std::string Text;
    std::int64_t Count = 0;
};

class TBoxCap {
public:
    static constexpr int MaxBoxes = 10;

    // summary: the text of the box shown once the cap is reached.
    explicit TBoxCap(std::string summary = {}) : Summary(std::move(summary)) {}
    void Reset(std::string summary);

    // Shows the box through services unless it is held back; held back boxes answer OK.
    TMsgResult Pass(IUiServices& services, const std::string& title, const std::string& text,
                    TMsgIcon icon, TMsgButtons buttons);

    // Boxes not shown, each distinct box once in the order first held back.
    const std::vector<THeldBackBox>& HeldBack() const { return HeldBackBoxes; }

private:
    void HoldBack(std::string key, const std::string& title, const std::string& text);

    std::string Summary;
    int Shown = 0;
    bool SummaryShown = false;
    // Keys: title and text; values: where a held back box stands in HeldBackBoxes, or -1 for
    // a box that was shown.
    std::unordered_map<std::string, std::int64_t> Seen;
    std::vector<THeldBackBox> HeldBackBoxes;
};
