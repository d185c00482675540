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

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <string_view>
#include <unistd.h>

using ::testing::HasSubstr;

// The system's fsync and close, made to fail on demand for the temporary files the writer makes
// (as a disk that fails late, or a network file system that reports at close, makes them fail):
// this program's own definitions come before the C library's.
namespace {

enum class TFailingCall { None, Sync, Close };
std::atomic<TFailingCall> FailingCall{TFailingCall::None};

bool IsTemporaryFile(int descriptor) {
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    const ssize_t length = ::readlink(link, target, sizeof target);
    return length > 0 &&
           std::string_view(target, static_cast<std::size_t>(length)).find(".part-") !=
               std::string_view::npos;
}

template <typename TFunction> TFunction* NextDefinition(const char* name) {
    return reinterpret_cast<TFunction*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int descriptor) {
    static auto* const system = NextDefinition<int(int)>("fsync");
    if (FailingCall == TFailingCall::Sync && IsTemporaryFile(descriptor)) {
        errno = EIO;
        return -1;
    }
    return system(descriptor);
}

extern "C" int close(int descriptor) {
    static auto* const system = NextDefinition<int(int)>("close");
    if (FailingCall == TFailingCall::Close && IsTemporaryFile(descriptor)) {
        system(descriptor);
        errno = EIO;
        return -1;
    }
    return system(descriptor);
}

namespace {

// Makes the call fail while it lives.
class TFailing {
public:
    explicit TFailing(TFailingCall call) { FailingCall = call; }
    ~TFailing() { FailingCall = TFailingCall::None; }
    TFailing(const TFailing&) = delete;
    TFailing& operator=(const TFailing&) = delete;
};

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

// A file whose bytes all went out but which the system then fails to put on the disk or to close
// is no file: the older one stays, the temporary one goes, and the system's reason comes back.
// A writer that does not wait for the disk never asks it, and succeeds.
TEST(FileWriting, ASyncOrCloseThatFailsKeepsTheOlderFile) {
    const auto viaLibrary = [](const QString& path, const QByteArray& bytes) {
        const QString temporary = TemporaryFileFor(path);
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            return QStringLiteral("cannot write the temporary file");
        }
        file.close();
        return ReplaceByTemporary(temporary, path);
    };
    const auto together = [](const QString& path, const QByteArray& bytes) {
        return WriteFilesAtomically({{path + ".csv", "table"}, {path, bytes}}).Reason;
    };
    const struct {
        const char* Writer;
        std::function<QString(const QString&, const QByteArray&)> Write;
        TFailingCall Failing;
        bool Fails;
    } cases[] = {
        {"atomically", WriteFileAtomically, TFailingCall::Sync, true},
        {"atomically", WriteFileAtomically, TFailingCall::Close, true},
        {"replacing", WriteFileReplacing, TFailingCall::Sync, false},
        {"replacing", WriteFileReplacing, TFailingCall::Close, true},
        {"by another library", viaLibrary, TFailingCall::Sync, true},
        {"by another library", viaLibrary, TFailingCall::Close, true},
        {"together", together, TFailingCall::Sync, true},
        {"together", together, TFailingCall::Close, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Writer) +
                     (c.Failing == TFailingCall::Sync ? ", fsync fails" : ", close fails"));
        QTemporaryDir folder;
        const QString path = folder.filePath("curve.png");
        const QByteArray older = Bytes(1024, 'o');
        ASSERT_EQ(WriteFileAtomically(path, older), QString());
        QString error;
        {
            const TFailing failing(c.Failing);
            error = c.Write(path, Bytes(2048, 'n'));
        }
        if (!c.Fails) {
            EXPECT_EQ(error, QString());
            EXPECT_EQ(Contents(path), Bytes(2048, 'n'));
            continue;
        }
        EXPECT_EQ(error, "Input/output error");
        EXPECT_EQ(Contents(path), older);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"curve.png"});
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
