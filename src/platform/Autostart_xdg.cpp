#include "platform/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace Autostart {
namespace {

const QString desktopFile = QStringLiteral("com.quillfen.app.desktop");

// The command the installed desktop entry runs, so a package's own path
// is kept; a build run from its folder starts that build.
QString command()
{
    QFile installed(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopFile));
    if (installed.open(QIODevice::ReadOnly)) {
        static const QRegularExpression exec(QStringLiteral("^Exec=([^%\\n]*)"), QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = exec.match(QString::fromUtf8(installed.readAll()));
        if (match.hasMatch())
            return match.captured(1).trimmed();
    }
    return QStringLiteral("\"%1\"").arg(QCoreApplication::applicationFilePath());
}

} // namespace

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + desktopFile;
}

bool isEnabled()
{
    return QFileInfo::exists(entryPath());
}

std::optional<QString> setEnabled(bool enabled)
{
    if (!enabled) {
        QFile entry(entryPath());
        if (entry.exists() && !entry.remove())
            return entry.errorString();
        return std::nullopt;
    }
    QDir().mkpath(QFileInfo(entryPath()).absolutePath());
    QSaveFile entry(entryPath());
    const QByteArray content = "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Quillfen\n"
                               "Comment=GitHub notifications in the system tray\n"
                               "Exec="
                               + command().toUtf8()
                               + " --background\n"
                                 "Icon=com.quillfen.app\n"
                                 "X-GNOME-Autostart-enabled=true\n"
                                 "NoDisplay=true\n";
    if (!entry.open(QIODevice::WriteOnly) || entry.write(content) != content.size() || !entry.commit())
        return entry.errorString();
    return std::nullopt;
}

} // namespace Autostart
