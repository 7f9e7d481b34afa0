#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

QJsonObject fileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(PreferencesFile::path());
        QDir dir(QFileInfo(PreferencesFile::path()).absolutePath());
        for (const QString &aside : dir.entryList({QStringLiteral("*.corrupt-*")}))
            dir.remove(aside);
        diagnostics.clear();
        Diagnostics::setSinkForTesting([this](const QString &line) { diagnostics << line; });
    }

    void valuesKeepTheirTypes()
    {
        Preferences::setRefreshInterval(60);
        Preferences::setNotificationsEnabled(true);
        Preferences::setNotificationSoundEnabled(false);
        Preferences::setUpdateChannel(QStringLiteral("beta"));
        Preferences::setAutomaticallyChecksForUpdates(true);

        // Written at once, in the XDG config folder, with JSON types that match.
        QCOMPARE(PreferencesFile::path(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quillfen/preferences.json"));
        QCOMPARE(fileContents(PreferencesFile::path()), QJsonObject({{"refreshInterval", 60},
                                                                     {"notificationsEnabled", true},
                                                                     {"notificationSoundEnabled", false},
                                                                     {"updateChannel", "beta"},
                                                                     {"automaticallyChecksForUpdates", true}}));
        QVERIFY(fileContents(PreferencesFile::path()).value("refreshInterval").toVariant().typeId()
                == QMetaType::LongLong);
    }

    // A user who never chose gets alerts with the first token; a choice, on or off, stays.
    void alertsTurnOnUnlessChosen()
    {
        QVERIFY(!Preferences::notificationsEnabled());
        QVERIFY(Preferences::enableNotificationsUnlessChosen());
        QVERIFY(Preferences::notificationsEnabled());
        QVERIFY(!fileContents(PreferencesFile::path()).contains("notificationSoundEnabled"));
        Preferences::setNotificationsEnabled(false);
        QVERIFY(!Preferences::enableNotificationsUnlessChosen());
        QVERIFY(!Preferences::notificationsEnabled());
    }

    // That an unreadable file is kept aside byte for byte is the preferences
    // fuzz target's check; here, what the user and the next write see.
    void corruptFileIsKeptAsideAndDefaultsApply()
    {
        writeFile(PreferencesFile::path(), "{\"refreshInterval\": 60, \x01\xff truncated");
        QCOMPARE(Preferences::refreshInterval(), 300);
        const QDir dir(QFileInfo(PreferencesFile::path()).absolutePath());
        const QStringList aside = dir.entryList({QStringLiteral("preferences.json.corrupt-*")});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(diagnostics.size(), 1);
        QVERIFY(diagnostics.first().contains(aside.first()));

        Preferences::setRefreshInterval(120);
        QCOMPARE(fileContents(PreferencesFile::path()).value("refreshInterval"), QJsonValue(120));
        QCOMPARE(dir.entryList({QStringLiteral("preferences.json.corrupt-*")}), aside);
    }

    void noticesArriveInALaterStepWhileTheirObserverLives()
    {
        NoticeCenter &center = NoticeCenter::instance();
        const QString name = QString::fromLatin1(Notices::refreshIntervalChanged);
        QVariantList received;
        auto observer = std::make_unique<QObject>();
        center.observe(name, observer.get(), [&](const QVariant &value) { received << value; });
        center.post(name, 120);
        QVERIFY2(received.isEmpty(), "delivered after the poster's step, not inside it");
        QTRY_COMPARE(received, QVariantList{120});
        observer.reset();
        center.post(name, 1);
        QTest::qWait(50);
        QCOMPARE(received, QVariantList{120});
    }

private:
    QStringList diagnostics;
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
