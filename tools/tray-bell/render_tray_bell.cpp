// Draws the tray icon's bell at each size the tray may ask for, at build
// time, so that the running tray needs no SVG renderer: the glyph's coverage
// alone, flat and about 16 px in a 22 px cell as the desktops' own tray icons
// are, which the tray colours for its panel. Each size is written as raw
// premultiplied ARGB32 pixels in the machine's byte order: reading a PNG back
// would make Qt load every image format plugin, the SVG one too.
//
//   render_tray_bell <output folder> <side>...

#include "views/IconCatalog.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: render_tray_bell <output folder> <side>...\n");
        return 2;
    }
    const QDir out(args.at(1));
    for (const QString &arg : args.mid(2)) {
        const int side = arg.toInt();
        const int glyphSide = (side * 16 + 11) / 22;
        const QImage bell = IconCatalog::render(QStringLiteral("bell"), QSize(glyphSide, glyphSide), Qt::white);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.drawImage((side - glyphSide) / 2, (side - glyphSide) / 2, bell);
        }
        QFile file(out.filePath(QStringLiteral("bell-%1.argb32").arg(side)));
        const auto size = image.sizeInBytes();
        if (bell.isNull() || !file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char *>(image.constBits()), size) != size) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
