// The project report: size lines, then one line per deck with how much the merge saved.

#include "LogTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class TRecordingView final : public IRichTextView {
public:
    void Clear() override { Events = {"<clear>"}; }
    void AddLine(const std::string& text) override { Events.push_back(text); }
    void SetBold(bool bold) override { Events.push_back(bold ? "<b>" : "</b>"); }
    std::vector<std::string> Events = {"left over"};
};

void FillDecks(TLogFile& project, const std::vector<std::pair<int, int>>& cellsAndQuads) {
    project.XMax = 120;
    project.YMax = 40;
    project.ZMax = static_cast<std::int32_t>(cellsAndQuads.size());
    project.PMax = 350;
    project.Decks.resize(cellsAndQuads.size());
    for (std::size_t i = 0; i < cellsAndQuads.size(); ++i) {
        project.Decks[i].CellCount = cellsAndQuads[i].first;
        project.Decks[i].QuadCount = cellsAndQuads[i].second;
    }
}

} // namespace

TEST(Statistics, ReportReplacesTheViewContent) {
    TLogFile project("Level");
    FillDecks(project, {{4200, 310}, {900, 96}});
    TRecordingView view;
    project.FillStatistics(view);
    EXPECT_THAT(view.Events,
                ElementsAre("<clear>", " ", "<b>", "Project Size:", "</b>",
                            "\tLenght [cells]:\t\t\t120", "\tWidth [cells]:\t\t\t40",
                            "\tLevels:\t\t\t\t2", "\tAgents:\t\t\t\t350\n", "<b>", "3D-Statistics:",
                            "</b>", "\tLevel 0 [cells, polygons, reduction]:\t4200,\t310,\t92%",
                            "\tLevel 1 [cells, polygons, reduction]:\t900,\t96,\t89%"));
}

TEST(Statistics, ProjectWithoutDecksHasNoDeckLines) {
    TRecordingView view;
    TLogFile("Deck").FillStatistics(view);
    ASSERT_EQ(view.Events.size(), 12u);
    EXPECT_EQ(view.Events[7], "\tDecks:\t\t\t\t0");
    EXPECT_EQ(view.Events.back(), "</b>");
}

TEST(Statistics, ReductionIsTruncatedTowardZero) {
    const std::vector<std::pair<int, int>> decks = {{100, 1}, {1, 6}, {3, 13},
                                                    {7, 1},   {7, 0}, {0, 0}};
    const std::vector<std::string> shown = {"99%", "-500%", "-333%", "85%", "100%", "n/a"};
    TLogFile project("Level");
    FillDecks(project, decks);
    TRecordingView view;
    project.FillStatistics(view);
    ASSERT_EQ(view.Events.size(), 12 + decks.size());
    for (std::size_t i = 0; i < decks.size(); ++i) {
        const std::string& line = view.Events[12 + i];
        EXPECT_EQ(line.substr(line.rfind('\t') + 1), shown[i]) << line;
    }
}
