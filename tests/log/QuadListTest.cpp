#include "RecordingUiServices.h"
#include "Tlogfile1.h"

#include <gtest/gtest.h>

TEST(QuadList, SmokeThreeByTwoFreeDeck) {
    TRecordingUiServices ui;
    TScopedUiServices installed(ui);
    TNoProgressWindow progress;
    TLogFile1 project("Level");
    project.LoadFromMemory("t",
                           "<header> pmax 0 xmax 3 ymax 2 zmax 1 vmax 1 </header>\n<deck>\ncaption "
                           "Main deck\nlevel 0\n(celldata)\n0 0 0\nP3x0\n</deck>\n",
                           progress);
    ASSERT_EQ(project.Decks.size(), 1u);
    EXPECT_EQ(project.Decks[0].Caption, "Main deck");
    EXPECT_EQ(project.Decks[0].QuadCount, 1);
    EXPECT_EQ(project.Decks[0].CellCount, 6);
}
