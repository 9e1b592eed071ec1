// Writes the delivered database and the Res/ pictures into the build folder.
#include "db/Schema.h"
#include "ui/Artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrova-assets <build folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString db = out.filePath(QStringLiteral("Kestrova.mdb"));
    // The build folder's copy is ours to remake; the user's copy lives elsewhere.
    QFile::remove(db);
    QString error;
    if (!Schema::CreateDatabase(db, &error)) {
        std::fprintf(stderr, "kestrova-assets: %s\n", qPrintable(error));
        return 1;
    }
    const QString res = out.filePath(QStringLiteral("Res"));
    if (!Artwork::WriteResFolder(res)) {
        std::fprintf(stderr, "kestrova-assets: cannot write %s\n", qPrintable(res));
        return 1;
    }
    // The icon the desktop entry shows.
    if (!Artwork::AppIcon(256).save(out.filePath(QStringLiteral("Kestrova.png")), "PNG")) {
        std::fprintf(stderr, "kestrova-assets: cannot write the program icon\n");
        return 1;
    }
    QFile stamp(QDir(res).filePath(QStringLiteral(".stamp")));
    if (!stamp.open(QIODevice::WriteOnly))
        return 1;
    return 0;
}
