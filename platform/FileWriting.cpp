#include "FileWriting.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class TDurability { Synced, Unsynced };

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// All of the bytes, however many calls it takes; false with errno set on failure. A write that
// takes only part of them is not a success.
bool WriteAll(int descriptor, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return false;
        }
        if (written == 0) {
            errno = ENOSPC; // nothing taken and no reason given: the device is full
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// The file it replaces keeps its permissions; a new one is made as any new file is (0666 less
// the umask).
bool TakeOverMode(int descriptor, const QByteArray& target) {
    struct stat existing {};
    if (::stat(target.constData(), &existing) != 0) {
        return true;
    }
    return ::fchmod(descriptor, existing.st_mode & 07777) == 0;
}

// Everything after opening: the first failure's reason, or empty.
QString WriteAndClose(int descriptor, const QByteArray& target, const QByteArray& bytes,
                      TDurability durability) {
    QString error;
    if (!TakeOverMode(descriptor, target) || !WriteAll(descriptor, bytes) ||
        (durability == TDurability::Synced && ::fsync(descriptor) != 0)) {
        error = SystemError();
    }
    if (::close(descriptor) != 0 && error.isEmpty()) {
        error = SystemError();
    }
    return error;
}

// Beside the file, so that the rename stays within one file system; named after the process,
// so that two programs writing into one folder do not meet.
QByteArray TemporaryBeside(const QByteArray& target) {
    return target + ".part-" + QByteArray::number(::getpid());
}

// The written temporary file renamed over the target when writing it went well (error empty);
// otherwise, or when the rename fails, the temporary file removed and the reason returned.
QString PutInPlace(const QByteArray& temporary, const QByteArray& target, QString error) {
    if (error.isEmpty() && std::rename(temporary.constData(), target.constData()) == 0) {
        return {};
    }
    if (error.isEmpty()) {
        error = SystemError();
    }
    ::unlink(temporary.constData());
    return error;
}

// The bytes in the temporary file beside the file, written whole; on failure the temporary file
// is removed and the reason comes back.
QString WriteTemporary(const QByteArray& target, const QByteArray& bytes, TDurability durability) {
    const QByteArray temporary = TemporaryBeside(target);
    const int descriptor =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return SystemError();
    }
    const QString error = WriteAndClose(descriptor, target, bytes, durability);
    if (!error.isEmpty()) {
        ::unlink(temporary.constData());
    }
    return error;
}

QString WriteWhole(const QString& fileName, const QByteArray& bytes, TDurability durability) {
    const QByteArray target = QFile::encodeName(fileName);
    const QString error = WriteTemporary(target, bytes, durability);
    if (!error.isEmpty()) {
        return error;
    }
    return PutInPlace(TemporaryBeside(target), target, {});
}

} // namespace

QString WriteFileAtomically(const QString& fileName, const QByteArray& bytes) {
    return WriteWhole(fileName, bytes, TDurability::Synced);
}

QString WriteFileReplacing(const QString& fileName, const QByteArray& bytes) {
    return WriteWhole(fileName, bytes, TDurability::Unsynced);
}

QString TemporaryFileFor(const QString& fileName) {
    return QFile::decodeName(TemporaryBeside(QFile::encodeName(fileName)));
}

QString ReplaceByTemporary(const QString& temporaryName, const QString& fileName) {
    const QByteArray temporary = QFile::encodeName(temporaryName);
    const QByteArray target = QFile::encodeName(fileName);
    QString error;
    const int descriptor = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || !TakeOverMode(descriptor, target) || ::fsync(descriptor) != 0) {
        error = SystemError();
    }
    if (descriptor >= 0 && ::close(descriptor) != 0 && error.isEmpty()) {
        error = SystemError();
    }
    return PutInPlace(temporary, target, error);
}

TWriteFailure WriteFilesAtomically(const std::vector<TFileToWrite>& files) {
    std::vector<QByteArray> written;
    const auto removeWritten = [&] {
        for (const QByteArray& target : written) {
            ::unlink(TemporaryBeside(target).constData());
        }
    };
    for (const TFileToWrite& file : files) {
        const QByteArray target = QFile::encodeName(file.Name);
        if (QString error = WriteTemporary(target, file.Bytes, TDurability::Synced);
            !error.isEmpty()) {
            removeWritten();
            return {file.Name, error};
        }
        written.push_back(target);
    }
    // Every file is complete on the disk: the renames need no room.
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (QString error = PutInPlace(TemporaryBeside(written[i]), written[i], {});
            !error.isEmpty()) {
            written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(i + 1));
            removeWritten();
            return {files[i].Name, error};
        }
    }
    return {};
}
