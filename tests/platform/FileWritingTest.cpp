// Files replaced whole or not at all, on a disk that takes only part of them: a limit on the
// size of files this process may write stands in for a full disk.

#include "FileWriting.h"
#include "FileSizeLimit.h"
#include "SettingsStore.h"
#include "SettingsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using ::testing::HasSubstr;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Larger than the part a single write call takes at once on some systems.
QByteArray Bytes(qsizetype size, char fill) {
    return QByteArray(size, fill);
}

TEST(FileWriting, AFileTheDiskCannotHoldLeavesTheOlderOneWholeAndNoTemporaryFile) {
    const struct {
        const char* Name;
        std::function<QString(const QString&, const QByteArray&)> Write;
    } writers[] = {{"atomically", WriteFileAtomically}, {"replacing", WriteFileReplacing}};
    for (const auto& writer : writers) {
        SCOPED_TRACE(writer.Name);
        QTemporaryDir folder;
        const QString path = folder.filePath("shot.jpg");
        const QByteArray older = Bytes(64 * 1024, 'o');
        ASSERT_EQ(writer.Write(path, older), QString());
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions ownerOnly = QFile::permissions(path);
        {
            const TFileSizeLimit nearlyFull(100 * 1024);
            EXPECT_EQ(writer.Write(path, Bytes(3 * 1024 * 1024, 'n')), "File too large");
            EXPECT_EQ(writer.Write(path, Bytes(100 * 1024 + 1, 'n')), "File too large");
        }
        EXPECT_EQ(Contents(path), older);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"shot.jpg"});

        // What fits replaces it, with the permissions it had.
        const QByteArray newer = Bytes(100 * 1024, 'n');
        {
            const TFileSizeLimit nearlyFull(100 * 1024);
            EXPECT_EQ(writer.Write(path, newer), QString());
        }
        EXPECT_EQ(Contents(path), newer);
        EXPECT_EQ(QFile::permissions(path), ownerOnly);
    }
}

// Room for the lock but not for the new file, and room for nothing at all.
TEST(FileWriting, TheSettingsStoreKeepsItsFileWhenTheDiskIsFullAndSaysWhy) {
    TTempConfigHome home;
    TSettingsStore store;
    ASSERT_TRUE(store.WriteString("\\Test", "x", "kept"));
    const QByteArray older = Contents(store.FilePath());
    const std::string path = store.FilePath().toStdString();
    for (const auto& [room, error] :
         {std::pair{rlim_t{1024}, "Cannot write the settings file " + path + ": File too large"},
          {rlim_t{0}, "Cannot lock the settings file " + path + ": File too large"}}) {
        {
            const TFileSizeLimit nearlyFull(room);
            EXPECT_FALSE(store.WriteString("\\Test", "x", QString(4096, 'y')));
        }
        EXPECT_EQ(store.LastError().toStdString(), error);
        EXPECT_EQ(Contents(store.FilePath()), older);
    }
    EXPECT_EQ(TSettingsStore().ReadString("\\Test", "x"), "kept");
}

} // namespace
