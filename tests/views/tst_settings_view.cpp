#include "credentials/KeychainManager.h"
#include "platform/PreferencesFile.h"
#include "settings/Preferences.h"
#include "views/settings/SettingsViewModel.h"
#include "updates/SparkleUpdaterService.h"

#include "QuickItems.h"
#include "QmlTestEngine.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>


// The settings window rendered offscreen against the real keyring.
class TestSettingsView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareQmlEngine(engine);
        SparkleUpdaterService::shared().setFeedURLForTesting(QStringLiteral("http://127.0.0.1:9/appcast.xml"));
    }

    void init()
    {
        QFile::remove(PreferencesFile::path());
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
    }

    void cleanup() { delete window; }

    // Sizes follow a desktop font larger than the 10 pt they are drawn for
    // (read when the views start: an engine of its own).
    void largerDesktopFontEnlargesTheWindow()
    {
        const QFont normal = QGuiApplication::font();
        QFont larger = normal;
        larger.setPointSizeF(15);
        QGuiApplication::setFont(larger);
        QQmlEngine own;
        prepareQmlEngine(own);
        QQmlComponent component(&own, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/SettingsWindow.qml")));
        std::unique_ptr<QQuickWindow> large(qobject_cast<QQuickWindow *>(component.create()));
        QGuiApplication::setFont(normal);
        QVERIFY(large);
        QCOMPARE(large->width(), 900);
        auto *field = large->findChild<QQuickItem *>(QStringLiteral("tokenField"));
        QVERIFY(field);
        QCOMPARE(field->property("font").value<QFont>().pixelSize(), 18);
    }

    // The view model's logic is tested on its own: this is what the QML adds.
    void settingsWindow()
    {
        Preferences::setRefreshInterval(45);
        Preferences::setUpdateChannel(QStringLiteral("beta"));
        open();
        QVERIFY(!child(window, "saveTokenButton")->isEnabled());
        QVERIFY(!child(window, "deleteTokenButton")->isVisible());
        QVERIFY(!child(window, "soundToggle")->isEnabled());
        QTRY_VERIFY(child(window, "permissionWarning")->isVisible()); // no notification service here
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), -1);
        QCOMPARE(child(window, "channelPicker")->property("currentIndex").toInt(), 1);
        model()->setRefreshInterval(600);
        QCOMPARE(child(window, "intervalPicker")->property("currentIndex").toInt(), 3);

        // Typed masked, shown on request; Ctrl+Return saves, and only with text.
        child(window, "tokenField")->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!model()->hasStatusMessage());
        QTest::keyClick(window, Qt::Key_G);
        QTest::keyClick(window, Qt::Key_H);
        QCOMPARE(model()->tokenInput(), QStringLiteral("gh"));
        QCOMPARE(child(window, "tokenField")->property("echoMode").toInt(), 2);
        QVERIFY(click(window, "showTokenButton"));
        QCOMPARE(child(window, "tokenField")->property("echoMode").toInt(), 0);
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(model()->statusMessage(), QStringLiteral("Token saved successfully!"));
        QVERIFY(child(window, "deleteTokenButton")->isVisible());
        QVERIFY(click(window, "deleteTokenButton"));
        QCOMPARE(child(window, "tokenStatusText")->property("text").toString(), QStringLiteral("Token deleted successfully"));
    }

private:
    void open()
    {
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/SettingsWindow.qml")));
        window = qobject_cast<QQuickWindow *>(component.create());
        if (!window)
            qFatal("%s", qPrintable(component.errorString()));
        window->show();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    SettingsViewModel *model() { return window->findChild<SettingsViewModel *>(); }

    QQmlEngine engine;
    QPointer<QQuickWindow> window;
};

QTEST_MAIN(TestSettingsView)
#include "tst_settings_view.moc"
