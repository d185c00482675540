#pragma once
// What the window, and the command-line modes that echo its boxes, make of the model's reports:
// each fault a message box, the first ten data faults of a load and then one box that says there
// are more, a move the replay cannot apply once per load, and at most ten boxes a load and ten
// a replay (the rest held back and counted). Long work lets the window handle its messages at
// each new stage and every few milliseconds in between.

#include "BoxCap.h"
#include "MessagePacer.h"
#include "ModelReports.h"

#include <string>
#include <vector>

class TBoxReports final : public IModelReports {
public:
    static constexpr int MaxDataFaultBoxes = 10;

    void LoadBegins(const std::string& name) override;
    void LoadEnds() override { Loading = false; }
    bool Wants(TFaultKind kind) const override;
    void Report(const TModelFault& fault) override;
    void Breathe(TWorkPoint point) override;

    // The boxes the last load held back, each distinct box once.
    const std::vector<THeldBackBox>& LoadHeldBack() const { return LoadBoxes.HeldBack(); }

private:
    void ReportDataFault(const TModelFault& fault);
    void ShowBox(const std::string& title, const std::string& text, TMsgIcon icon);

    bool Loading = false;
    TBoxCap LoadBoxes;
    TBoxCap ReplayBoxes;
    int DataFaultsTold = 0; // up to MaxDataFaultBoxes + 1, the box that says there are more
    bool BadDirectionTold = false;
    TMessagePacer Pacer;
};

// The box of a person the renderer could not turn; shown after the frame, never inside it.
void ShowBadHeadingBox();
