// The settings store against its real file in a private config folder.

#include "SettingsStore.h"
#include "SettingsTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>

using ::testing::HasSubstr;
using namespace std::chrono_literals;

namespace {

// Makes this binary a second copy of the program: WriterFlag gate key prefix count.
constexpr char WriterFlag[] = "--write-values";
const QString Key = "\\Test";
constexpr qint32 Min = -2147483647 - 1;

class SettingsStore : public ::testing::Test {
protected:
    TTempConfigHome Home;
};

TEST_F(SettingsStore, ReadsGiveOnlyTheTypeAskedFor) {
    WriteStoreFile(R"({"\\Test": {"int": 5, "fraction": 1.5, "big": 4294967296, "text": "5",
        "expand": {"expand": "$HOME/x"}, "flag": true}, "\\Bad": 3})");
    const TSettingsStore store;
    const struct {
        const char* Name;
        std::optional<qint32> Integer;
        std::optional<QString> String, Either;
    } cases[] = {{"int", 5, {}, {}},     {"fraction", {}, {}, {}},      {"big", {}, {}, {}},
                 {"text", {}, "5", "5"}, {"expand", {}, {}, "$HOME/x"}, {"flag", {}, {}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(store.ReadInteger(Key, c.Name), c.Integer);
        EXPECT_EQ(store.ReadString(Key, c.Name), c.String);
        EXPECT_EQ(store.ReadStringOrExpandable(Key, c.Name), c.Either);
        EXPECT_TRUE(store.HasValue(Key, c.Name));
    }
    EXPECT_FALSE(store.HasValue(Key, "missing"));
    EXPECT_EQ(store.ReadInteger("\\Bad", "x"), std::nullopt);
}

TEST_F(SettingsStore, WritesReachTheFileAndKeysAreCreatedWhenAsked) {
    TSettingsStore store;
    EXPECT_EQ(store.ReadInteger(Key, "x"), std::nullopt);
    EXPECT_FALSE(QFile::exists(store.FilePath())) << "a read wrote the file";
    ASSERT_TRUE(store.CreateKey(Key + "\\Sub")) << store.LastError().toStdString();
    ASSERT_TRUE(store.WriteInteger(Key, "x", 1));
    ASSERT_TRUE(store.WriteString(Key, "s", "\u00e9t\u00e9"));
    ASSERT_TRUE(store.WriteInteger(Key, "x", Min));
    ASSERT_TRUE(store.CreateKey(Key));

    EXPECT_EQ(store.FilePath(), Home.Dir.path() + "/Morvane/registry.json");
    EXPECT_EQ(StoreJson(), (QJsonObject{{Key, QJsonObject{{"x", Min}, {"s", "\u00e9t\u00e9"}}},
                                        {Key + "\\Sub", QJsonObject()}}));
    EXPECT_EQ(TSettingsStore().ReadInteger(Key, "x"), Min);
    EXPECT_EQ(TSettingsStore().ReadString(Key, "s"), "\u00e9t\u00e9");
}

TEST_F(SettingsStore, ADamagedFileReadsAsEmptyAndIsKeptAsideByTheNextWrite) {
    const QByteArray damaged = R"({"\\Test": {"x": 1)";
    WriteStoreFile(damaged);
    TSettingsStore store;
    EXPECT_EQ(store.ReadInteger(Key, "x"), std::nullopt);
    ASSERT_TRUE(store.WriteInteger(Key, "y", 2)) << store.LastError().toStdString();
    EXPECT_EQ(ReadFile(store.FilePath() + ".corrupt"), damaged);
    EXPECT_EQ(StoreJson(), (QJsonObject{{Key, QJsonObject{{"y", 2}}}}));

    // A second damage keeps the copy of the first.
    WriteStoreFile("[1]");
    ASSERT_TRUE(store.WriteInteger(Key, "z", 3));
    EXPECT_EQ(ReadFile(store.FilePath() + ".corrupt"), damaged);
    EXPECT_EQ(ReadFile(store.FilePath() + ".corrupt.1"), "[1]");
}

TEST_F(SettingsStore, RefusedWritesSayWhyAndChangeNothing) {
    TSettingsStore store;
    ASSERT_TRUE(store.WriteInteger(Key, "x", 1));
    QLockFile otherWriter(store.FilePath() + ".lock");
    ASSERT_TRUE(otherWriter.tryLock(0ms));
    store.SetLockWait(200ms);
    EXPECT_FALSE(store.WriteInteger(Key, "x", 2));
    EXPECT_THAT(store.LastError().toStdString(), HasSubstr("another program"));
    otherWriter.unlock();
    EXPECT_EQ(store.ReadInteger(Key, "x"), 1);

    Home.BlockConfigFolder();
    TSettingsStore blocked;
    EXPECT_FALSE(blocked.CreateKey(Key));
    EXPECT_THAT(blocked.LastError().toStdString(), HasSubstr("/blocker/config/Morvane"));
    EXPECT_FALSE(blocked.WriteString(Key, "x", "a"));
}

TEST_F(SettingsStore, TwoCopiesWritingAtOnceKeepEveryValue) {
    constexpr int Count = 40;
    const QString gate = Home.Dir.path() + "/go";
    const std::array<QString, 2> prefixes{"a", "b"};
    std::array<QProcess, 2> writers;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        writers[i].start(QCoreApplication::applicationFilePath(),
                         {WriterFlag, gate, Key, prefixes[i], QString::number(Count)});
        ASSERT_TRUE(writers[i].waitForStarted()) << writers[i].errorString().toStdString();
    }
    ASSERT_TRUE(QFile(gate).open(QIODevice::WriteOnly));
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(60'000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }
    const QJsonObject values = StoreJson().value(Key).toObject();
    EXPECT_EQ(values.size(), 2 * Count);
    for (const QString& prefix : prefixes) {
        for (int i = 0; i < Count; ++i) {
            EXPECT_EQ(values.value(prefix + QString::number(i)), QJsonValue(i)) << i;
        }
    }
}

// Waits for the gate file so that both copies start together, then writes prefix0 = 0, ...
int RunWriter(const QString& gate, const QString& key, const QString& prefix, int count) {
    for (const QDeadlineTimer deadline(30'000); !QFile::exists(gate); QThread::msleep(1)) {
        if (deadline.hasExpired()) {
            return 2;
        }
    }
    TSettingsStore store;
    for (int i = 0; i < count; ++i) {
        if (!store.WriteInteger(key, prefix + QString::number(i), i)) {
            std::fprintf(stderr, "%s\n", qPrintable(store.LastError()));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 6 && std::strcmp(argv[1], WriterFlag) == 0) {
        return RunWriter(argv[2], argv[3], argv[4], QString(argv[5]).toInt());
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
