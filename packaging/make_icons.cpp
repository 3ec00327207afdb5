// Writes the program's icon as PNG files for the desktop's hicolor icon theme:
// OUT/<n>x<n>/apps/vortak.png and OUT/<n>x<n>/mimetypes/application-x-vortak-model.png for
// each size n given (those the theme's menus, file managers and docks ask for). Run at
// build time.
//
//   vortak-make-icons OUTPUT-FOLDER SIZE...

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

#include "app/icons.h"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vortak-make-icons OUTPUT-FOLDER SIZE...\n");
        return 64;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int k = 2; k < argc; ++k) {
        bool number = false;
        const int size = QString::fromLocal8Bit(argv[k]).toInt(&number);
        if (!number || size < 1 || size > 1024) {
            std::fprintf(stderr, "vortak-make-icons: not an icon size: %s\n", argv[k]);
            return 64;
        }
        const QImage image = vortak::applicationIconImage(size);
        const QString folder = QString("%1x%1").arg(size);
        for (const char* kind : {"apps/vortak.png", "mimetypes/application-x-vortak-model.png"}) {
            const QString path = out.filePath(folder + "/" + kind);
            if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
                std::fprintf(stderr, "vortak-make-icons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
