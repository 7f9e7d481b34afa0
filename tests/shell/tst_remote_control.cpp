#include "credentials/KeychainManager.h"
#include "shell/QuillfenApp.h"
#include "shell/RemoteControl.h"
#include "shell/SingleInstance.h"
#include "shell/StatusInterface.h"
#include "store/NotificationsStore.h"
#include "store/Snoozes.h"

#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

QJsonObject status(int unread)
{
    return {{"text", QString::number(unread)},
            {"tooltip", u"Quillfen: %1 unread"_s.arg(unread)},
            {"class", "unread"},
            {"unread", unread}};
}

QJsonObject readStatus(QProcess &process)
{
    if (!QTest::qWaitFor([&] { return process.canReadLine(); }, 10000))
        return {};
    return QJsonDocument::fromJson(process.readLine()).object();
}

// A later start, run to its end while this instance keeps answering; in
// another runtime folder it finds no instance.
std::unique_ptr<QProcess> run(const QStringList &arguments,
                              const QString &runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR"))
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtimeDir);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(QUILLFEN_EXECUTABLE), arguments);
    // One that does not end is killed: its exit code then tells.
    if (!QTest::qWaitFor([&] { return process->state() == QProcess::NotRunning; }, 20000)) {
        process->kill();
        process->waitForFinished();
    }
    return process;
}

} // namespace

// A running instance, driven as a status bar, a desktop shortcut and a script would.
class TestRemoteControl : public QObject {
    Q_OBJECT

public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface == u"com.quillfen.App1")
            announced.append(changed.value(u"UnreadCount"_s).toUInt());
    }

private slots:
    void initTestCase()
    {
        useFakeGitHub(server);
        QCOMPARE(KeychainManager::saveToken(u"ghp_remote"_s), std::nullopt);
        server.enqueue(listAnswer({{"1"}, {"2"}}));
        QCOMPARE(instance.claim(), SingleInstance::Claim::ours);
        app.start();
        QTRY_COMPARE(app.store()->unreadCount(), 2);
    }

    void statusForStatusBars()
    {
        const auto once = run({"--status"});
        QCOMPARE(once->readAllStandardError(), QByteArray());
        QCOMPARE(once->exitCode(), 0);
        QCOMPARE(QJsonDocument::fromJson(once->readAllStandardOutput()).object(), status(2));

        QProcess watch;
        watch.start(QStringLiteral(QUILLFEN_EXECUTABLE), {"--status", "--watch"});
        QCOMPARE(readStatus(watch), status(2));
        app.store()->toggleRead(u"1"_s);
        QCOMPARE(readStatus(watch), status(1));
        watch.kill();
        watch.waitForFinished();

        // Without a running instance: a message and status 1.
        QTemporaryDir elsewhere;
        const auto alone = run({"--status"}, elsewhere.path());
        QCOMPARE(alone->exitCode(), 1);
        QVERIFY(alone->readAllStandardOutput().isEmpty());
        QCOMPARE(alone->readAllStandardError(), QByteArray("Quillfen is not running.\n"));
    }

    // An instance that holds the lock and accepts connections but never
    // answers (stopped, or hung): every request gives up at its deadline.
    void hungInstance_data()
    {
        QTest::addColumn<QString>("request");
        for (const char *request : {"--status", "--toggle-panel", "--show-window", "--refresh"})
            QTest::newRow(request) << QString::fromLatin1(request);
    }

    void hungInstance()
    {
        QFETCH(QString, request);
        QTemporaryDir runtime;
        QLockFile lock(runtime.filePath(u"com.quillfen.app.lock"_s));
        QVERIFY(lock.tryLock(0));
        QLocalServer hung;
        QVERIFY(hung.listen(runtime.filePath(u"com.quillfen.app.socket"_s)));
        const auto later = run({request}, runtime.path());
        QCOMPARE(later->exitStatus(), QProcess::NormalExit);
        QCOMPARE(later->exitCode(), 1);
        QCOMPARE(later->readAllStandardError(), QByteArray("Quillfen is running but not answering.\n"));
    }

    void aWatcherThatDoesNotReadIsDropped()
    {
        QLocalSocket watcher;
        // Takes a byte at a time from the socket: the rest stays with the instance.
        watcher.setReadBufferSize(1);
        watcher.connectToServer(SingleInstance::socketName(*SingleInstance::userPath()));
        QVERIFY(watcher.waitForConnected(2000));
        watcher.write("watch\n");
        QVERIFY(watcher.waitForBytesWritten(2000));
        // Far more lines than the socket's buffers and the cap hold.
        for (int change = 0; change < 4000; ++change) {
            if (change % 2)
                app.store()->unsnooze(u"2"_s);
            else
                app.store()->snooze(u"2"_s, int(Snoozes::Length::hour));
            QCoreApplication::processEvents();
        }
        // Read at last, what was sent ends where the instance let go.
        watcher.setReadBufferSize(0);
        QTRY_COMPARE(watcher.state(), QLocalSocket::UnconnectedState);
        QVERIFY(watcher.readAll().size() < 4000 * 60);
    }

    void connectionsAreCapped()
    {
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        for (int i = 0; i <= SingleInstance::maxConnections; ++i) {
            clients.push_back(std::make_unique<QLocalSocket>());
            clients.back()->connectToServer(SingleInstance::socketName(*SingleInstance::userPath()));
            QVERIFY(clients.back()->waitForConnected(2000));
        }
        QTRY_COMPARE(clients.back()->state(), QLocalSocket::UnconnectedState);
        clients.clear();
        QTRY_COMPARE(run({"--status"})->exitCode(), 0);
    }

    void shortcutTogglesThePanel()
    {
        QCOMPARE(run({"--toggle-panel"})->exitCode(), 0);
        QTRY_VERIFY(app.panelWindow() && app.panelWindow()->isVisible());
    }

    void sessionBusInterface()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"script"_s);
        const QString service = QString::fromLatin1(StatusInterface::serviceName);
        const QString path = QString::fromLatin1(StatusInterface::objectPath);
        const QString properties = u"org.freedesktop.DBus.Properties"_s;
        QVERIFY(bus.connect(service, path, properties, u"PropertiesChanged"_s, this,
                            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        // Answered by this process: its events go on while the call waits.
        const auto call = [&](const QString &method, const QVariantList &arguments = {}) {
            const QString interface = arguments.isEmpty() ? u"com.quillfen.App1"_s : properties;
            QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
            message.setArguments(arguments);
            return bus.call(message, QDBus::BlockWithGui);
        };

        const QDBusReply<QDBusVariant> count = call(u"Get"_s, {u"com.quillfen.App1"_s, u"UnreadCount"_s});
        QVERIFY2(count.isValid(), qPrintable(count.error().message()));
        QCOMPARE(count.value().variant().toUInt(), 1u);

        const qsizetype requests = server.requests().size();
        QCOMPARE(call(u"MarkAllAsRead"_s).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(app.store()->unreadCount(), 0);
        QTRY_COMPARE(server.requests().size(), requests + 1);
        QTRY_COMPARE(announced, QList<uint>{0});

        QCOMPARE(call(u"ShowWindow"_s).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(app.mainWindow() && app.mainWindow()->isVisible());

        server.enqueue(listAnswer({{"3"}}));
        QCOMPARE(call(u"Refresh"_s).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(app.store()->unreadCount(), 1);
        QTRY_COMPARE(announced, (QList<uint>{0, 1}));
    }

private:
    FakeGitHubServer server;
    SingleInstance instance{*SingleInstance::userPath()};
    QuillfenApp app;
    RemoteControl remote{instance, app};
    QList<uint> announced;
};

QTEST_MAIN(TestRemoteControl)
#include "tst_remote_control.moc"
