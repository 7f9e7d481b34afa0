// Writes the tray icon's named icons into a hicolor theme folder, for hosts
// that draw a named icon at their own size and colour:
//   scalable/status/quillfen-tray[-unread][-symbolic].svg
//   <side>x<side>/status/quillfen-tray[-unread].png
// Every SVG carries KDE's colour-scheme stylesheet, so Plasma draws the bell
// in its panel's text colour; GTK hosts recolour the -symbolic ones
// themselves (the badge as an "error" part).
//
//   render_tray_theme_icons <hicolor folder> <side>...

#include "model/AlertRed.h"
#include "views/IconCatalog.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cstdio>

namespace {

// Where the badge sits in the bell's 16-unit square, as TrayIcon draws it.
constexpr double badgeX = 12.48, badgeY = 3.52, badgeRadius = 3.2, ringRadius = 4.32;

QString bellPath()
{
    QFile octicon(IconCatalog::resourcePath(QStringLiteral("bell")));
    if (!octicon.open(QIODevice::ReadOnly))
        return {};
    return QRegularExpression(QStringLiteral(" d=\"([^\"]+)\""))
        .match(QString::fromUtf8(octicon.readAll()))
        .captured(1);
}

QByteArray svg(const QString &path, const QString &colour, bool badge, bool symbolic)
{
    QString body = QStringLiteral("<path class=\"ColorScheme-Text\" style=\"fill:currentColor\" d=\"%1\"/>").arg(path);
    if (badge) {
        // The bell is cut back around the badge, which keeps a gap of the panel's colour.
        body = QStringLiteral("<clipPath id=\"ring\"><path clip-rule=\"evenodd\" d=\"M0 0h16v16H0z"
                              "M%1 %2a%3 %3 0 1 0 0.001 0z\"/></clipPath><g clip-path=\"url(#ring)\">%4</g>"
                              "<circle class=\"ColorScheme-NegativeText%5\" style=\"fill:currentColor\" "
                              "cx=\"%1\" cy=\"%6\" r=\"%7\"/>")
                   .arg(badgeX)
                   .arg(badgeY - ringRadius)
                   .arg(ringRadius)
                   .arg(body, symbolic ? QStringLiteral(" error") : QString())
                   .arg(badgeY)
                   .arg(badgeRadius);
    }
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 "
                          "16\"><style id=\"current-color-scheme\" type=\"text/css\">.ColorScheme-Text{color:%1}"
                          ".ColorScheme-NegativeText{color:%2}</style>%3</svg>\n")
        .arg(colour, QColor::fromRgba(alertRed).name(), body)
        .toUtf8();
}

QImage png(int side, bool badge)
{
    QImage image = IconCatalog::render(QStringLiteral("bell"), QSize(side, side), QColor(0x8c, 0x8c, 0x8c));
    if (badge && !image.isNull()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const double scale = side / 16.0;
        const QPointF centre(badgeX * scale, badgeY * scale);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.drawEllipse(centre, ringRadius * scale, ringRadius * scale);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(alertRed));
        painter.drawEllipse(centre, badgeRadius * scale, badgeRadius * scale);
    }
    return image;
}

bool write(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return QDir().mkpath(QFileInfo(fileName).path()) && file.open(QIODevice::WriteOnly)
           && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: render_tray_theme_icons <hicolor folder> <side>...\n");
        return 2;
    }
    const QDir out(args.at(1));
    const QString path = bellPath();
    if (path.isEmpty()) {
        std::fprintf(stderr, "the bell's drawing is missing\n");
        return 1;
    }
    for (const bool badge : {false, true}) {
        const QString name = badge ? QStringLiteral("quillfen-tray-unread") : QStringLiteral("quillfen-tray");
        for (const bool symbolic : {false, true}) {
            // #bebebe is the grey GTK recolours in symbolic icons.
            const QString file =
                out.filePath(QStringLiteral("scalable/status/%1%2.svg").arg(name, symbolic ? "-symbolic" : ""));
            if (!write(file,
                       svg(path, symbolic ? QStringLiteral("#bebebe") : QStringLiteral("#8c8c8c"), badge, symbolic))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
        for (const QString &arg : args.mid(2)) {
            const int side = arg.toInt();
            const QString file = out.filePath(QStringLiteral("%1x%1/status/%2.png").arg(side).arg(name));
            const QImage image = png(side, badge);
            if (image.isNull() || !QDir().mkpath(QFileInfo(file).path()) || !image.save(file, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
