#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "shell/QuillfenApp.h"
#include "shell/RemoteControl.h"
#include "shell/SingleInstance.h"
#include "shell/StatusInterface.h"
#include "store/NotificationsStore.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

const QString executable = QStringLiteral(QUILLFEN_EXECUTABLE);

QJsonObject status(int unread, const char *kind)
{
    return {{"text", QString::number(unread)},
            {"tooltip", QStringLiteral("Quillfen: %1 unread").arg(unread)},
            {"class", kind},
            {"unread", unread}};
}

QJsonObject readStatus(QProcess &process)
{
    if (!QTest::qWaitFor([&] { return process.canReadLine(); }, 10000))
        return {};
    return QJsonDocument::fromJson(process.readLine()).object();
}

// Runs a later start to its end while this instance keeps answering.
bool finished(QProcess &process)
{
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000);
}

} // namespace

// A running instance, driven as a status bar, a desktop shortcut and a script would.
class TestRemoteControl : public QObject {
    Q_OBJECT

public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface == u"com.quillfen.App1")
            announced.append(changed.value(QStringLiteral("UnreadCount")).toUInt());
    }

private slots:
    void initTestCase()
    {
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_remote")), std::nullopt);
        server.enqueue({200, threadsBody({{.id = "1"}, {.id = "2"}}), {}, ScriptedResponse::Behaviour::respond});
        instance = std::make_unique<SingleInstance>(*SingleInstance::userPath());
        QVERIFY(instance->claim());
        app = std::make_unique<QuillfenApp>();
        remote = std::make_unique<RemoteControl>(*instance, *app);
        app->start();
        QTRY_COMPARE(app->store()->unreadCount(), 2);
    }

    void statusForStatusBars()
    {
        QProcess once;
        once.start(executable, {"--status"});
        QVERIFY(finished(once));
        QCOMPARE(once.readAllStandardError(), QByteArray());
        QCOMPARE(once.exitCode(), 0);
        QCOMPARE(QJsonDocument::fromJson(once.readAllStandardOutput()).object(), status(2, "unread"));

        QProcess watch;
        watch.start(executable, {"--status", "--watch"});
        QCOMPARE(readStatus(watch), status(2, "unread"));
        app->store()->toggleRead(QStringLiteral("1"));
        QCOMPARE(readStatus(watch), status(1, "unread"));
        watch.kill();
        QVERIFY(finished(watch));

        // Without a running instance: a message and status 1.
        QTemporaryDir elsewhere;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), elsewhere.path());
        QProcess alone;
        alone.setProcessEnvironment(environment);
        alone.start(executable, {"--status"});
        QVERIFY(finished(alone));
        QCOMPARE(alone.exitCode(), 1);
        QVERIFY(alone.readAllStandardOutput().isEmpty());
        QCOMPARE(alone.readAllStandardError(), QByteArray("Quillfen is not running.\n"));
    }

    void shortcutTogglesThePanel()
    {
        QProcess shortcut;
        shortcut.start(executable, {"--toggle-panel"});
        QVERIFY(finished(shortcut));
        QCOMPARE(shortcut.exitCode(), 0);
        QTRY_VERIFY(app->panelWindow() && app->panelWindow()->isVisible());
    }

    void sessionBusInterface()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("script"));
        const QString service = QString::fromLatin1(StatusInterface::serviceName);
        const QString path = QString::fromLatin1(StatusInterface::objectPath);
        const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
        QVERIFY(bus.connect(service, path, properties, QStringLiteral("PropertiesChanged"), this,
                            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        const auto call = [&](const QString &interface, const QString &method, const QVariantList &arguments = {}) {
            QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
            message.setArguments(arguments);
            QDBusPendingCall pending = bus.asyncCall(message);
            if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 10000))
                qWarning("no answer to %s", qPrintable(method));
            return pending;
        };

        QDBusPendingReply<QDBusVariant> count =
            call(properties, QStringLiteral("Get"),
                 {QStringLiteral("com.quillfen.App1"), QStringLiteral("UnreadCount")});
        QVERIFY2(count.isValid(), qPrintable(count.error().message()));
        QCOMPARE(count.value().variant().toUInt(), 1u);

        qsizetype requests = server.requests().size();
        QVERIFY(!call(QStringLiteral("com.quillfen.App1"), QStringLiteral("MarkAllAsRead")).isError());
        QCOMPARE(app->store()->unreadCount(), 0);
        QTRY_COMPARE(server.requests().size(), requests + 1);
        QTRY_COMPARE(announced, QList<uint>{0});

        QVERIFY(!call(QStringLiteral("com.quillfen.App1"), QStringLiteral("ShowWindow")).isError());
        QTRY_VERIFY(app->mainWindow() && app->mainWindow()->isVisible());

        requests = server.requests().size();
        server.enqueue({200, threadsBody({{.id = "3"}}), {}, ScriptedResponse::Behaviour::respond});
        QVERIFY(!call(QStringLiteral("com.quillfen.App1"), QStringLiteral("Refresh")).isError());
        QTRY_COMPARE(app->store()->unreadCount(), 1);
        QCOMPARE(server.requests().size(), requests + 1);
        QTRY_COMPARE(announced, (QList<uint>{0, 1}));
    }

    void cleanupTestCase()
    {
        remote.reset();
        app.reset();
    }

private:
    FakeGitHubServer server;
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<QuillfenApp> app;
    std::unique_ptr<RemoteControl> remote;
    QList<uint> announced;
};

QTEST_MAIN(TestRemoteControl)
#include "tst_remote_control.moc"
