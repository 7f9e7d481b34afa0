// Draws the tray icon's bell at each size the tray may ask for, at build
// time, so that the running tray needs no SVG renderer: a light bell with a
// dark rim, which reads on dark and light panels alike. Each size is written
// as raw premultiplied ARGB32 pixels in the machine's byte order: reading a
// PNG back would make Qt load every image format plugin, the SVG one too.
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
        const int inset = std::max(1, side / 16);
        const QSize glyph(side - 2 * inset, side - 2 * inset);
        const QImage rim = IconCatalog::render(QStringLiteral("bell"), glyph, QColor(0, 0, 0, 150));
        const QImage bell = IconCatalog::render(QStringLiteral("bell"), glyph, QColor(0xf2, 0xf2, 0xf2));
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy)
                    painter.drawImage(inset + dx, inset + dy, rim);
            }
            painter.drawImage(inset, inset, bell);
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
