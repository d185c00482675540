#pragma once
// Files the program writes are replaced whole or not at all: the bytes go to a temporary file
// beside the file, every one of them checked, and only then is it renamed over the file. On any
// failure (a full disk, a file size limit, a folder that cannot be written) the file stays as it
// was, the temporary file is removed, and the system's reason comes back.

#include <QByteArray>
#include <QString>

#include <vector>

// Waits until the bytes are on the disk before the rename. Empty on success; otherwise the
// system's reason.
QString WriteFileAtomically(const QString& fileName, const QByteArray& bytes);

// As WriteFileAtomically, without waiting until the file is on the disk: for long series of
// frames, where that wait would cost more than drawing. A file is still only ever replaced
// whole; after a crash of the machine the last few may be missing.
QString WriteFileReplacing(const QString& fileName, const QByteArray& bytes);

// Files that belong together, such as a table and the picture of it: every one is written whole
// and waited for before any replaces its older file, so that a failure (a full disk) leaves all of
// them as they were. Only a failing rename, after all of them were written, can leave the first
// ones replaced.
struct TFileToWrite {
    QString Name;
    QByteArray Bytes;
};
struct TWriteFailure {
    QString FileName; // the file that could not be written
    QString Reason;   // the system's reason; empty on success
};
TWriteFailure WriteFilesAtomically(const std::vector<TFileToWrite>& files);

// For a file written by another library that takes a path: the temporary file beside fileName
// to write it to, and the replacing once it is complete (waiting until it is on the disk, then
// renamed over the file). On failure the temporary file is removed and the reason comes back.
QString TemporaryFileFor(const QString& fileName);
QString ReplaceByTemporary(const QString& temporaryName, const QString& fileName);
