#include "platform/StateFile.h"

#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace StateFile {
namespace {

QJsonObject read()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

QString path()
{
    QString root = qEnvironmentVariable("XDG_STATE_HOME");
    if (root.isEmpty() || QDir::isRelativePath(root))
        root = QDir::homePath() + QStringLiteral("/.local/state");
    return root + QStringLiteral("/quillfen/state.json");
}

QVariant value(const QString &key)
{
    return read().value(key).toVariant();
}

void setValue(const QString &key, const QVariant &value)
{
    QJsonObject state = read();
    state.insert(key, QJsonValue::fromVariant(value));
    QDir().mkpath(QFileInfo(path()).absolutePath());
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(state).toJson()) < 0 || !file.commit())
        Diagnostics::print(QStringLiteral("Failed to write %1: %2").arg(path(), file.errorString()));
}

} // namespace StateFile
