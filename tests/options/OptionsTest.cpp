// The options record read from and written to the real settings file.

#include "Options.h"
#include "ProgramSettings.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

class Options : public ::testing::Test {
protected:
    TTempConfigHome Home;
    // Values left from before must not survive a failed read.
    TOptions Record{"/old", true, TShotPlace::AskEachTime, TShotSizing::FixedHeight, 50, 99, 99};

    // Through the store as a run of the program opens it at that moment.
    void Read() {
        TProgramSettings settings;
        Record.ReadOptions(settings);
    }
    QString Write() const {
        TProgramSettings settings;
        return Record.WriteOptions(settings);
    }
};

TEST_F(Options, FirstRunCreatesTheKeyAndGivesTheDefaults) {
    Read();
    EXPECT_EQ(Record.ScreenShotSaveDirectory, "");
    EXPECT_FALSE(Record.IsOverwritingAsked);
    EXPECT_EQ(Record.ShotPlace, TShotPlace::BesideLog);
    EXPECT_EQ(Record.ShotSizing, TShotSizing::Percentage);
    EXPECT_EQ(Record.ScreenShotResizeValue, 100);
    EXPECT_EQ(Record.WaitingLimit, 30);
    EXPECT_EQ(Record.TrailSeconds, 10);
    EXPECT_EQ(Record.ShotFormat, TShotFormat::Jpeg);
    EXPECT_FALSE(Record.CaptionOnShots);
    EXPECT_TRUE(Record.CaptionOnVideos);
    EXPECT_EQ(StoreJson().value("\\Software\\Morvane\\Ambla Viewer"), QJsonValue(QJsonObject()));

    Home.BlockConfigFolder();
    EXPECT_NE(Write(), "");
}

// Seconds or measures of none or fewer, and a share beyond 0 .. 100, read as the default.
TEST_F(Options, EachValueIsTakenAsStoredOrFallsBackAloneAndTheBooleanIsWrittenAsOneOrZero) {
    WriteStoreFile(R"({"\\Software\\Morvane\\Ambla Viewer": {
        "ScreenShotSaveOption": "7", "ScreenShotSaveDirectory": {"expand": "$HOME/shots"},
        "IsOverwritingAsked": 5, "ScreenShotResizeOption": 0, "ScreenShotResizeValue": "640",
        "MaxAnimationSpeed": 9, "WaitingLimit": 0, "TrailSeconds": 4, "CellSizeMm": 500,
        "DensityWindowMm": -1, "CongestionDensity": 35, "SignificantShare": 101,
        "ScreenShotFormat": "PNG", "CaptionOnShots": 1, "CaptionOnVideos": 0}})");
    Read();
    EXPECT_EQ(Record.ShotPlace, TShotPlace::BesideLog);
    EXPECT_EQ(Record.ScreenShotSaveDirectory, "$HOME/shots");
    EXPECT_TRUE(Record.IsOverwritingAsked);
    EXPECT_EQ(Record.ShotSizing, TShotSizing{0});
    EXPECT_EQ(Record.ScreenShotResizeValue, 100);
    EXPECT_EQ(Record.WaitingLimit, 30);
    EXPECT_EQ(Record.TrailSeconds, 4);
    EXPECT_EQ(Record.CellSizeMm, 500);
    EXPECT_EQ(Record.DensityWindowMm, 2000);
    EXPECT_EQ(Record.CongestionDensity, 35);
    EXPECT_EQ(Record.SignificantShare, 10);
    EXPECT_EQ(Record.ShotFormat, TShotFormat::Png);
    EXPECT_TRUE(Record.CaptionOnShots);
    EXPECT_FALSE(Record.CaptionOnVideos);

    ASSERT_EQ(Write(), "");
    const QJsonObject written{{"ScreenShotSaveOption", 1},
                              {"ScreenShotSaveDirectory", "$HOME/shots"},
                              {"IsOverwritingAsked", 1},
                              {"ScreenShotResizeOption", 0},
                              {"ScreenShotResizeValue", 100},
                              {"MaxAnimationSpeed", 9},
                              {"WaitingLimit", 30},
                              {"TrailSeconds", 4},
                              {"CellSizeMm", 500},
                              {"DensityWindowMm", 2000},
                              {"CongestionDensity", 35},
                              {"SignificantShare", 10},
                              {"ScreenShotFormat", "png"},
                              {"CaptionOnShots", 1},
                              {"CaptionOnVideos", 0}};
    EXPECT_EQ(StoreJson().value("\\Software\\Morvane\\Ambla Viewer"), written);

    Record.IsOverwritingAsked = false;
    ASSERT_EQ(Write(), "");
    EXPECT_EQ(StoreJson()
                  .value("\\Software\\Morvane\\Ambla Viewer")
                  .toObject()
                  .value("IsOverwritingAsked"),
              QJsonValue(0));
}

} // namespace
