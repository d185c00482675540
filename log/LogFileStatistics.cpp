#include "LogFile.h"

#include "ModelViews.h"

#include <cmath>
#include <string>

namespace {

// How much the merge cut the face count, in whole percent; negative when the boxes of obstacles
// make more records than there are cells. A deck without cells has nothing to reduce.
std::string ReductionText(std::int32_t cellCount, std::int32_t quadCount) {
    if (cellCount <= 0) {
        return "n/a";
    }
    const double reduction = 100.0 - double(quadCount) * 100.0 / double(cellCount);
    return std::to_string(static_cast<long long>(std::trunc(reduction))) + "%";
}

void AddBoldLine(IRichTextView& view, const std::string& text) {
    view.SetBold(true);
    view.AddLine(text);
    view.SetBold(false);
}

} // namespace

void TLogFile::FillStatistics(IRichTextView& view) const {
    view.Clear();
    view.AddLine(" ");
    AddBoldLine(view, "Project Size:");
    view.AddLine("\tLenght [cells]:\t\t\t" + std::to_string(XMax));
    view.AddLine("\tWidth [cells]:\t\t\t" + std::to_string(YMax));
    view.AddLine("\t" + FloorWord + "s:\t\t\t\t" + std::to_string(ZMax));
    view.AddLine("\tAgents:\t\t\t\t" + std::to_string(PMax) + "\n");
    AddBoldLine(view, "3D-Statistics:");
    for (std::int32_t i = 0; i < ZMax && static_cast<std::size_t>(i) < Decks.size(); ++i) {
        const TDeck& deck = Decks[static_cast<std::size_t>(i)];
        view.AddLine("\t" + FloorWord + " " + std::to_string(i) +
                     " [cells, polygons, reduction]:\t" + std::to_string(deck.CellCount) + ",\t" +
                     std::to_string(deck.QuadCount) + ",\t" +
                     ReductionText(deck.CellCount, deck.QuadCount));
    }
}
