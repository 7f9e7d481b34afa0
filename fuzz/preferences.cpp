// A preferences file of any content: every reader returns a usable value
// that agrees with what the file says, and a file that cannot be read is
// kept aside, byte for byte, never overwritten.

#include "FuzzTarget.h"

#include "platform/PreferencesFile.h"
#include "settings/Preferences.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool expectedBool(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1StringView(key));
    return value.isBool() && value.toBool();
}

// Whole positive seconds, at most INT_MAX; anything else is the default.
int expectedInterval(const QJsonObject &object)
{
    const QVariant value = object.value(QLatin1StringView(Preferences::refreshIntervalKey)).toVariant();
    if (value.typeId() != QMetaType::LongLong || value.toLongLong() <= 0)
        return Preferences::defaultRefreshInterval;
    return int(std::min<qlonglong>(value.toLongLong(), std::numeric_limits<int>::max()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static int round = 0;
    // A fresh name each round: the settings cache must not answer from an
    // earlier file of the same size and time.
    const QString path = folder.filePath(QStringLiteral("preferences-%1.json").arg(++round));
    const QByteArray contents = fuzzBytes(data, size);
    {
        QFile file(path);
        FUZZ_EXPECT(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }
    PreferencesFile::setPathForTesting(path);

    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(contents, &error);
    const bool readable =
        contents.trimmed().isEmpty() || (error.error == QJsonParseError::NoError && document.isObject());
    const QJsonObject object = document.object();

    FUZZ_EXPECT(Preferences::refreshInterval() == expectedInterval(object));
    FUZZ_EXPECT(Preferences::notificationsEnabled() == expectedBool(object, Preferences::notificationsEnabledKey));
    FUZZ_EXPECT(Preferences::notificationSoundEnabled()
                == expectedBool(object, Preferences::notificationSoundEnabledKey));
    FUZZ_EXPECT(Preferences::automaticallyChecksForUpdates()
                == expectedBool(object, Preferences::automaticallyChecksForUpdatesKey));
    FUZZ_EXPECT(Preferences::participatingOnly() == expectedBool(object, Preferences::participatingOnlyKey));
    const QJsonValue channel = object.value(QLatin1StringView(Preferences::updateChannelKey));
    FUZZ_EXPECT(Preferences::updateChannel() == (channel.isString() ? channel.toString() : QStringLiteral("stable")));

    const QStringList aside =
        QDir(folder.path()).entryList({QFileInfo(path).fileName() + QStringLiteral(".corrupt-*")});
    if (readable) {
        FUZZ_EXPECT(aside.isEmpty() && contentsOf(path) == contents);
    } else {
        FUZZ_EXPECT(!QFile::exists(path) && aside.size() == 1);
        FUZZ_EXPECT(contentsOf(folder.filePath(aside.first())) == contents);
    }
    for (const QString &name : aside)
        QFile::remove(folder.filePath(name));
    QFile::remove(path);
    return 0;
}
