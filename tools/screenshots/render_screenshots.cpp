// Renders the panel, the main window and the settings window offscreen and
// writes PNG screenshots into the folder given as the first argument. Runs
// inside tools/session/run-in-session.sh --keyring, against a fake GitHub.
//   render_screenshots <folder> [desktop font points] [dark]
// "dark": a desktop in a dark palette (Breeze Dark's colours), switched to
// after the panel was made, as a desktop switches while Quillfen runs.

#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "store/NotificationsStore.h"
#include "views/IconImageProvider.h"

#include "FakeGitHubServer.h"
#include "ThreadJson.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>

Q_IMPORT_QML_PLUGIN(QuillfenPlugin)

namespace {

QQuickWindow *create(QQmlEngine &engine, const QString &type, NotificationsStore &store, QVariantMap properties = {})
{
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/%1.qml").arg(type)));
    properties.insert(QStringLiteral("store"), QVariant::fromValue(&store));
    auto *window = qobject_cast<QQuickWindow *>(component.createWithInitialProperties(properties));
    if (!window)
        qFatal("cannot create %s: %s", qPrintable(type), qPrintable(component.errorString()));
    return window;
}

bool capture(QQuickWindow *window, const QString &path)
{
    window->show();
    // Two frames: the first lays out, the second has the images loaded.
    for (int frame = 0; frame < 2; ++frame) {
        QSignalSpy swapped(window, &QQuickWindow::frameSwapped);
        window->update();
        if (!swapped.wait(5000))
            return false;
    }
    const QImage image = window->grabWindow();
    const bool saved = !image.isNull() && image.save(path);
    QTextStream(stdout) << (saved ? "wrote " : "FAILED ") << path << " (" << image.width() << "x" << image.height()
                        << ")\n";
    return saved;
}

// The colours of KDE's Breeze Dark.
QPalette darkPalette()
{
    QPalette palette;
    const auto set = [&](QPalette::ColorRole role, const char *active, const char *disabled) {
        palette.setColor(QPalette::Active, role, QColor(QLatin1String(active)));
        palette.setColor(QPalette::Inactive, role, QColor(QLatin1String(active)));
        palette.setColor(QPalette::Disabled, role, QColor(QLatin1String(disabled)));
    };
    set(QPalette::Window, "#202326", "#1e2124");
    set(QPalette::WindowText, "#fcfcfc", "#6e7175");
    set(QPalette::Base, "#141618", "#131517");
    set(QPalette::AlternateBase, "#1d1f22", "#1b1d20");
    set(QPalette::Text, "#fcfcfc", "#656768");
    set(QPalette::PlaceholderText, "#a1a9b1", "#656768");
    set(QPalette::Button, "#292c30", "#272a2e");
    set(QPalette::ButtonText, "#fcfcfc", "#727679");
    set(QPalette::Highlight, "#3daee9", "#2b2e31");
    set(QPalette::HighlightedText, "#fcfcfc", "#656768");
    set(QPalette::ToolTipBase, "#292c30", "#292c30");
    set(QPalette::ToolTipText, "#fcfcfc", "#fcfcfc");
    set(QPalette::Light, "#40464c", "#3f4449");
    set(QPalette::Midlight, "#33383c", "#32363b");
    set(QPalette::Mid, "#1b1d20", "#1a1c1e");
    set(QPalette::Dark, "#0f1012", "#0f1012");
    set(QPalette::Shadow, "#090a0b", "#090a0b");
    set(QPalette::Link, "#1d99f3", "#2a4c67");
    return palette;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    // A desktop font size in points, to see the views follow a larger font,
    // and a dark desktop.
    bool dark = false;
    for (int i = 2; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        bool isNumber = false;
        const double points = argument.toDouble(&isNumber);
        if (argument == u"dark") {
            dark = true;
        } else if (isNumber && points > 0) {
            QFont font = QGuiApplication::font();
            font.setPointSizeF(points);
            QGuiApplication::setFont(font);
        } else {
            QTextStream(stderr) << "render_screenshots: " << argument
                                << " is neither a font size in points nor \"dark\"\n";
            return 2;
        }
    }

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QStringLiteral("symbols"), new IconImageProvider);

    // No token at first: the samples, behind the token area. Then a token is
    // saved and a fake GitHub answers with threads.
    KeychainManager::deleteToken();
    NotificationsStore store;
    if (!QTest::qWaitFor([&] { return store.tokenStatus() == TokenState::Status::Missing; }, 10000))
        qFatal("the secret store did not answer (run inside tools/session/run-in-session.sh --keyring)");
    bool ok = true;

    // The panel is made before a dark palette comes: it must follow it.
    QQuickWindow *panel =
        create(engine, QStringLiteral("PanelWindow"), store, {{QStringLiteral("hideOnDeactivate"), false}});
    if (dark)
        QGuiApplication::setPalette(darkPalette());
    ok &= capture(panel, out + QStringLiteral("/panel-token-required.png"));

    FakeGitHubServer github;
    GitHubAPIClient::setBaseUrl(github.baseUrl());
    // Issues and pull requests in every state, their details on the same fake.
    QList<WireThread> threads = onServer(manyThreads(12), github.baseUrl());
    for (WireThread &thread : threads)
        thread.updatedAt =
            QDateTime::currentDateTimeUtc().addSecs(-37 * 60 * thread.id.right(1).toInt() - 90).toString(Qt::ISODate);
    const qsizetype withDetails = serveSubjects(github, threads).size();
    github.enqueue({200, threadsBody(threads), {}, ScriptedResponse::Behaviour::respond});
    KeychainManager::saveToken(QStringLiteral("ghp_screenshots"));
    const auto detailed = [&] {
        return std::count_if(store.items().begin(), store.items().end(),
                             [](const auto &t) { return t.details.has_value(); });
    };
    if (!QTest::qWaitFor([&] { return store.items().size() == threads.size() && detailed() == withDetails; }, 10000))
        qFatal("the threads and their details did not arrive");
    ok &= capture(panel, out + QStringLiteral("/panel-list.png"));

    store.setSearchText(QStringLiteral("no thread has this"));
    ok &= capture(panel, out + QStringLiteral("/panel-all-caught-up.png"));
    store.setSearchText({});

    store.toggleRead(threads.first().id); // already read: the store explains why not
    ok &= capture(panel, out + QStringLiteral("/panel-error.png"));
    store.dismissError();
    panel->hide();

    QQuickWindow *window = create(engine, QStringLiteral("MainWindow"), store);
    ok &= capture(window, out + QStringLiteral("/window-grouped.png"));
    QObject *listView = window->property("listView").value<QObject *>();
    QObject *listModel = listView->property("listModel").value<QObject *>();
    listModel->setProperty("groupByRepo", false);
    ok &= capture(window, out + QStringLiteral("/window-flat.png"));

    QQmlComponent settingsComponent(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Quillfen/qml/SettingsWindow.qml")));
    auto *settings = qobject_cast<QQuickWindow *>(settingsComponent.create());
    if (!settings)
        qFatal("cannot create the settings window: %s", qPrintable(settingsComponent.errorString()));
    ok &= capture(settings, out + QStringLiteral("/settings-top.png"));
    // The token section, scrolled into view.
    auto *scroll = settings->findChild<QQuickItem *>(QStringLiteral("settingsScroll"));
    auto *flickable = scroll ? scroll->property("contentItem").value<QQuickItem *>() : nullptr;
    if (!flickable)
        qFatal("the settings window has no scroll area");
    flickable->setProperty("contentY", flickable->property("contentHeight").toReal() - flickable->height());
    ok &= capture(settings, out + QStringLiteral("/settings-token.png"));

    delete settings;
    delete window;
    delete panel;
    return ok ? 0 : 1;
}
