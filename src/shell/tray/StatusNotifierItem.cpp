#include "shell/tray/StatusNotifierItem.h"

#include "shell/tray/DBusMenuExporter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");

QString buildTreeIconFolder()
{
    // The build tree has the installed layout: share/ beside bin/. Hosts
    // take loose icons from the folder named (GTK's icon themes do).
    const QDir icons(QCoreApplication::applicationDirPath()
                     + QStringLiteral("/../share/icons/hicolor/scalable/status"));
    return icons.exists(QStringLiteral("quillfen-tray-symbolic.svg")) ? icons.canonicalPath() : QString();
}

} // namespace

StatusNotifierItem::StatusNotifierItem(QMenu *menu, QObject *parent)
    : QObject(parent), m_menu(menu), m_menuExporter(new DBusMenuExporter(menu, QStringLiteral("/MenuBar"), this)),
      m_serviceName(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid())),
      m_watcher(watcherService, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForOwnerChange),
      m_iconThemePath(buildTreeIconFolder())
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
                m_registered = false;
                if (newOwner.isEmpty())
                    setShown(false);
                else
                    registerWithWatcher();
            });
    bus.connect(watcherService, watcherPath, watcherService, QStringLiteral("StatusNotifierItemUnregistered"), this,
                SLOT(followUnregistration(QString)));
    for (const char *hostSignal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(watcherService, watcherPath, watcherService, QString::fromLatin1(hostSignal), this,
                    SLOT(askForHost()));
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
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call.setArguments({m_serviceName});
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        m_registered = !answer->isError();
        if (!m_registered) {
            qWarning("The tray refused the icon: %s", qPrintable(answer->error().message()));
            setShown(false);
            return;
        }
        askForHost();
    });
}

void StatusNotifierItem::askForHost()
{
    // A watcher without a host (kded's under a desktop with no such panel)
    // takes the item, and nothing draws it.
    if (!m_registered)
        return;
    QDBusMessage get =
        QDBusMessage::createMethodCall(watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                       QStringLiteral("Get"));
    get.setArguments({watcherService, QStringLiteral("IsStatusNotifierHostRegistered")});
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *answer;
        setShown(m_registered && !reply.isError() && reply.value().variant().toBool());
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

void StatusNotifierItem::setIcon(const QIcon &icon, const QString &name)
{
    m_icon = icon;
    m_iconName = name;
    emit iconChanged();
}

void StatusNotifierItem::setAttentionIconName(const QString &name)
{
    if (m_attentionIconName == name)
        return;
    m_attentionIconName = name;
    emit attentionIconChanged();
}

void StatusNotifierItem::setToolTip(const QString &title, const QString &subtitle)
{
    if (m_toolTip == title && m_toolTipSubtitle == subtitle)
        return;
    m_toolTip = title;
    m_toolTipSubtitle = subtitle;
    emit toolTipChanged();
}

void StatusNotifierItem::setNeedsAttention(bool needsAttention)
{
    if (m_needsAttention == needsAttention)
        return;
    m_needsAttention = needsAttention;
    emit statusChanged(status());
}

QString StatusNotifierItem::status() const
{
    return m_needsAttention ? QStringLiteral("NeedsAttention") : QStringLiteral("Active");
}

void StatusNotifierItem::activate(const QPoint &at)
{
    emit activated(at);
}

void StatusNotifierItem::secondaryActivate()
{
    emit secondaryActivated();
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
    connect(item, &StatusNotifierItem::attentionIconChanged, this, &StatusNotifierItemAdaptor::NewAttentionIcon);
    connect(item, &StatusNotifierItem::toolTipChanged, this, &StatusNotifierItemAdaptor::NewToolTip);
    connect(item, &StatusNotifierItem::statusChanged, this, &StatusNotifierItemAdaptor::NewStatus);
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    m_item->activate(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int x, int y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
    m_item->secondaryActivate();
}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    m_item->showContextMenu(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int delta, const QString &orientation)
{
    // Nothing to scroll through: a wheel over the icon changes nothing.
    Q_UNUSED(delta)
    Q_UNUSED(orientation)
}

void StatusNotifierItemAdaptor::ProvideXdgActivationToken(const QString &token)
{
    m_item->provideActivationToken(token);
}
