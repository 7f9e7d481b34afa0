#include "shell/tray/StatusNotifierItem.h"

#include "shell/tray/DBusMenuExporter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>
#include <QMenu>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");

} // namespace

StatusNotifierItem::StatusNotifierItem(QMenu *menu, QObject *parent)
    : QObject(parent), m_menu(menu), m_menuExporter(new DBusMenuExporter(menu, QStringLiteral("/MenuBar"), this)),
      m_serviceName(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid())),
      m_watcher(watcherService, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForOwnerChange)
{
    registerDBusTrayTypes();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    new StatusNotifierItemAdaptor(this);
    bus.registerObject(itemPath, this, QDBusConnection::ExportAdaptors);
    bus.registerService(m_serviceName);

    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                m_registeredAgain = 0;
                if (newOwner.isEmpty())
                    setShown(false);
                else
                    registerWithWatcher();
            });
    bus.connect(watcherService, watcherPath, watcherService, QStringLiteral("StatusNotifierItemUnregistered"), this,
                SLOT(followUnregistration(QString)));
    if (bus.interface()->isServiceRegistered(watcherService))
        registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(itemPath);
    bus.unregisterService(m_serviceName);
}

QDBusObjectPath StatusNotifierItem::menuPath() const
{
    return m_menuExporter->path();
}

void StatusNotifierItem::registerWithWatcher()
{
    // Asynchronous: some watchers call the item back before they answer.
    setShown(true);
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call.setArguments({m_serviceName});
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        if (answer->isError())
            qWarning("The tray refused the icon: %s", qPrintable(answer->error().message()));
    });
}

void StatusNotifierItem::followUnregistration(const QString &item)
{
    // A host that keeps running may still drop the item: GNOME's extension,
    // when it finds the item by itself as it starts while the item registers,
    // can fail to set up either. Asked again, a few times at most, so that a
    // host that refuses the item is not asked for ever.
    const QString unique = QDBusConnection::sessionBus().baseService();
    const bool ours = item == m_serviceName || item.startsWith(unique + u'/') || item.startsWith(unique + u'@');
    if (!ours || m_registeredAgain >= 3)
        return;
    ++m_registeredAgain;
    registerWithWatcher();
}

void StatusNotifierItem::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged(shown);
}

void StatusNotifierItem::setIcon(const QIcon &icon)
{
    m_icon = icon;
    emit iconChanged();
}

void StatusNotifierItem::setToolTip(const QString &text)
{
    if (m_toolTip == text)
        return;
    m_toolTip = text;
    emit toolTipChanged();
}

void StatusNotifierItem::activate(const QPoint &at)
{
    emit activated(at);
}

void StatusNotifierItem::showContextMenu(const QPoint &at)
{
    // Hosts that cannot draw the exported menu ask for ours; only X11 lets a
    // menu without a parent window open at a point of the screen.
    if (QGuiApplication::platformName() == u"xcb")
        m_menu->popup(at);
}

void StatusNotifierItem::provideActivationToken(const QString &token)
{
    emit activationTokenProvided(token);
}

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem *item)
    : QDBusAbstractAdaptor(item), m_item(item)
{
    connect(item, &StatusNotifierItem::iconChanged, this, &StatusNotifierItemAdaptor::NewIcon);
    connect(item, &StatusNotifierItem::toolTipChanged, this, &StatusNotifierItemAdaptor::NewToolTip);
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    m_item->activate(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    m_item->showContextMenu(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int delta, const QString &orientation)
{
    Q_UNUSED(delta)
    Q_UNUSED(orientation)
}

void StatusNotifierItemAdaptor::ProvideXdgActivationToken(const QString &token)
{
    m_item->provideActivationToken(token);
}
