// SPDX-License-Identifier: MIT
// Build step: writes the window icon as the PNG files the desktop looks up
// by name, <folder>/hicolor/<n>x<n>/apps/orlo-clipboard.png, for each size n
// named after the folder.
#include "ui/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fputs("usage: rendericons <output folder> <size>...\n", stderr);
        return 2;
    }
    // Drawing needs no screen, whatever the session the build runs in.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QFile::decodeName(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !windowIconPicture(size).save(folder + QStringLiteral("/orlo-clipboard.png"))) {
            std::fprintf(stderr, "rendericons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
