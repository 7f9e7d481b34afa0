#include "platform/Plugins.h"

#include "platform/Diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPluginLoader>

namespace Plugins {

QString directory()
{
    // The same place relative to the executable in the build tree and once
    // installed.
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/'
                           + QStringLiteral(QUILLFEN_PLUGIN_DIR_FROM_BINARY));
}

QObject *instance(const QString &baseName)
{
    static QHash<QString, QObject *> loaded;
    if (QObject *root = loaded.value(baseName))
        return root;
    QPluginLoader loader(directory() + u'/' + baseName);
    QObject *root = loader.instance();
    if (!root) {
        Diagnostics::print(QStringLiteral("Failed to load %1: %2").arg(baseName, loader.errorString()));
        return nullptr;
    }
    loaded.insert(baseName, root);
    return root;
}

} // namespace Plugins
