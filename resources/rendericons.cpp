// SPDX-License-Identifier: MIT
// Build step: draws the window icon as the files desktops look up.
//   rendericons <output folder> <size>...   PNG files as the Linux desktop
//       looks them up, <folder>/hicolor/<n>x<n>/apps/orlo-clipboard.png
//   rendericons --ico <file>                a Windows icon with every size
//       Explorer and the task bar ask for
#include "ui/artwork.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename T> void put(QByteArray &out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

/// An .ico file of PNG pictures: a directory of entries, then the pictures.
bool writeIco(const QString &path) {
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    constexpr int count = int(std::size(sizes));
    QByteArray head, pictures;
    put<quint16>(head, 0);
    put<quint16>(head, 1); // an icon
    put<quint16>(head, count);
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !windowIconPicture(size).save(&buffer, "PNG"))
            return false;
        head.append(char(size == 256 ? 0 : size)).append(char(size == 256 ? 0 : size));
        head.append(2, '\0');   // no palette, reserved
        put<quint16>(head, 1);  // planes
        put<quint16>(head, 32); // bits a pixel
        put<quint32>(head, quint32(png.size()));
        put<quint32>(head, quint32(6 + 16 * count + pictures.size()));
        pictures.append(png);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(head + pictures) == head.size() + pictures.size();
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fputs("usage: rendericons <output folder> <size>... | --ico <file>\n", stderr);
        return 2;
    }
    // Drawing needs no screen, whatever the session the build runs in.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (QByteArrayView(argv[1]) == "--ico") {
        if (writeIco(QFile::decodeName(argv[2])))
            return 0;
        std::fprintf(stderr, "rendericons: cannot write %s\n", argv[2]);
        return 1;
    }
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
