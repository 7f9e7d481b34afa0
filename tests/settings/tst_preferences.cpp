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
#include <QThread>

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
        QCOMPARE(PreferencesFile::path(), qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quillfen/preferences.json"));
        QCOMPARE(fileContents(PreferencesFile::path()),
                 QJsonObject({{"refreshInterval", 60}, {"notificationsEnabled", true}, {"notificationSoundEnabled", false},
                              {"updateChannel", "beta"}, {"automaticallyChecksForUpdates", true}}));
        QVERIFY(fileContents(PreferencesFile::path()).value("refreshInterval").toVariant().typeId() == QMetaType::LongLong);
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

    void noticesArriveOnTheMainThread()
    {
        NoticeCenter &center = NoticeCenter::instance();
        const QString name = QString::fromLatin1(Notices::refreshIntervalChanged);
        QList<QPair<QVariant, QThread *>> received;
        auto observer = std::make_unique<QObject>();
        center.observe(name, observer.get(), [&](const QVariant &value) { received.append({value, QThread::currentThread()}); });
        center.observe(QString::fromLatin1(Notices::updateChannelChanged), observer.get(),
                       [&](const QVariant &) { received.append({QStringLiteral("channel"), QThread::currentThread()}); });

        center.post(name, 120);
        QVERIFY2(received.isEmpty(), "delivered after the poster's step, not inside it");
        std::unique_ptr<QThread> worker(QThread::create([&] { center.post(name, 60); }));
        worker->start();
        worker->wait();
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received[0].first, QVariant(120));
        QCOMPARE(received[1].first, QVariant(60));
        QCOMPARE(received[1].second, QCoreApplication::instance()->thread());

        // Observers end with their context.
        observer.reset();
        center.post(name, 1);
        QTest::qWait(50);
        QCOMPARE(received.size(), 2);
    }

private:
    QStringList diagnostics;
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
