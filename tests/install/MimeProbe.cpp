// Tells which file type Qt's file dialogs and Qt programs give a file by its name. Run with
// XDG_DATA_DIRS naming the database to ask.

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: ambla_mime_probe FILE\n", stderr);
        return 2;
    }
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QFile::decodeName(argv[1]), QMimeDatabase::MatchExtension);
    std::printf("%s\n", type.name().toUtf8().constData());
    return 0;
}
