#include "platform/PreferencesFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSettings>
#include <QStandardPaths>
#include "platform/Diagnostics.h"

namespace PreferencesFile {
namespace {

bool readJson(QIODevice &device, QSettings::SettingsMap &map)
{
    const QByteArray contents = device.readAll();
    if (contents.trimmed().isEmpty())
        return true;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(contents, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), it.value().toVariant());
    return true;
}

bool writeJson(QIODevice &device, const QSettings::SettingsMap &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), QJsonValue::fromVariant(it.value()));
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

QString &overriddenPath()
{
    static QString path;
    return path;
}

// A damaged file is kept for the user to inspect, under a name no later
// write will touch, and the program carries on with defaults.
void setAside(const QString &filePath)
{
    const QString aside = filePath + QStringLiteral(".corrupt-")
                          + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (QFile::rename(filePath, aside)) {
        Diagnostics::print(
            QStringLiteral("Preferences file was unreadable; kept it as %1 and using defaults").arg(aside));
    } else {
        Diagnostics::print(
            QStringLiteral("Preferences file is unreadable and could not be moved aside; using defaults"));
    }
}

// QSettings parses the file once and keeps it until it changes on disk.
std::unique_ptr<QSettings> open()
{
    const QString filePath = path();
    auto settings = std::make_unique<QSettings>(filePath, jsonFormat());
    if (settings->status() != QSettings::FormatError)
        return settings;
    settings.reset();
    setAside(filePath);
    return std::make_unique<QSettings>(filePath, jsonFormat());
}

} // namespace

QString path()
{
    if (!overriddenPath().isEmpty())
        return overriddenPath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/quillfen/preferences.json");
}

QVariant value(const QString &key)
{
    const auto settings = open();
    // Still unreadable (it could not be moved aside): defaults apply.
    if (settings->status() != QSettings::NoError)
        return {};
    return settings->value(key);
}

void setValue(const QString &key, const QVariant &value)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const auto settings = open();
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        Diagnostics::print(QStringLiteral("Failed to write preferences to %1").arg(path()));
}

void setPathForTesting(const QString &filePath)
{
    overriddenPath() = filePath;
}

} // namespace PreferencesFile
