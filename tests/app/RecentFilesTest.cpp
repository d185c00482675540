// The recent-files list: its order rules, and how it is kept in the real settings file.

#include "RecentFiles.h"
#include "ProgramSettings.h"
#include "SettingsStore.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

QStringList Paths(const TRecentFiles& list) {
    QStringList paths;
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        paths << list.Path(i);
    }
    return paths;
}

TRecentFiles ListOf(std::initializer_list<const char*> oldestFirst) {
    TRecentFiles list;
    for (const char* path : oldestFirst) {
        list.Add(path);
    }
    return list;
}

TEST(RecentFiles, AddPutsThePathFirstWithoutDuplicatesAndDropsTheOldest) {
    TRecentFiles list = ListOf({"/a", "/b"});
    EXPECT_EQ(Paths(list), QStringList({"/b", "/a", "", ""}));
    list = ListOf({"/a", "/b", "/c", "/d", "/e"});
    EXPECT_EQ(Paths(list), QStringList({"/e", "/d", "/c", "/b"}));
    list.Add("/d"); // second: only the first moves down
    EXPECT_EQ(Paths(list), QStringList({"/d", "/e", "/c", "/b"}));
    list.Add("/b"); // last: nothing drops out
    EXPECT_EQ(Paths(list), QStringList({"/b", "/d", "/e", "/c"}));
    list.Add("/B"); // compared exactly
    list.Add("");
    EXPECT_EQ(Paths(list), QStringList({"/B", "/b", "/d", "/e"}));
    EXPECT_EQ(list.MenuCaption(0), "&1 /B");
    EXPECT_EQ(ListOf({"/R&D/x.3dl"}).MenuCaption(0), "&1 /R&&D/x.3dl");
}

TEST(RecentFiles, ReadingSkipsEmptyValuesStopsAtAnotherTypeAndCreatesTheKey) {
    const TTempConfigHome home;
    TProgramSettings store;
    TRecentFiles list = ListOf({"/left/over"});
    list.ReadFromStore(store);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(StoreJson().value("\\Software\\Morvane\\Ambla Viewer\\Last Projects"),
              QJsonValue(QJsonObject()));

    const auto readFrom = [&](const QByteArray& values) {
        WriteStoreFile(R"({"\\Software\\Morvane\\Ambla Viewer\\Last Projects": )" + values + "}");
        list.ReadFromStore(store);
        return Paths(list);
    };
    EXPECT_EQ(readFrom(R"({"1": "", "2": "/two", "4": "/four"})"),
              QStringList({"/two", "/four", "", ""}));
    EXPECT_EQ(readFrom(R"({"1": "/one", "2": 5, "3": "/three"})"),
              QStringList({"/one", "", "", ""}));
    EXPECT_EQ(readFrom(R"({"1": "/one", "2": {"expand": "/two"}, "3": "/one", "4": "/four"})"),
              QStringList({"/one", "/two", "/four", ""}));
}

TEST(RecentFiles, WritingStoresTheEntriesAndLeavesTheOtherValues) {
    TTempConfigHome home;
    WriteStoreFile(R"({"\\Software\\Morvane\\Ambla Viewer\\Last Projects":
        {"1": "/old1", "2": "/old2", "3": "/old3"}})");
    TProgramSettings store;
    ASSERT_TRUE(ListOf({"/a", "/b"}).WriteToStore(store)) << store.LastError().toStdString();
    TRecentFiles reread;
    reread.ReadFromStore(store);
    EXPECT_EQ(Paths(reread), QStringList({"/b", "/a", "/old3", ""}));

    home.BlockConfigFolder();
    TProgramSettings blocked;
    EXPECT_FALSE(ListOf({"/a"}).WriteToStore(blocked));
    EXPECT_NE(blocked.LastError(), "");
}

} // namespace
