#include "shell/TrayIcon.h"

#include "model/AlertRed.h"
#include "shell/tray/StatusNotifierItem.h"
#include "store/NotificationsStore.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSystemTrayIcon>

#include <cmath>

using namespace std::chrono_literals;

TrayIcon::TrayIcon(NotificationsStore *store, QObject *parent) : QObject(parent), m_store(store)
{
    // First, for hosts that open the menu on a click and activate only on a
    // double click (GNOME's AppIndicator extension).
    m_showNotifications = m_menu.addAction(QString(), this, [this] { emit panelRequested(anchor()); });
    m_menu.addAction(tr("Open Window"), this, &TrayIcon::openWindowRequested);
    m_menu.addAction(tr("Settings\u2026"), this, &TrayIcon::settingsRequested);
    m_menu.addSeparator();
    m_menu.addAction(tr("Quit"), this, &TrayIcon::quitRequested);

    connect(&m_xembedPoll, &QTimer::timeout, this, &TrayIcon::chooseTray);
    connect(store, &NotificationsStore::itemsChanged, this, &TrayIcon::follow);
    // The bell is drawn for the panel's colour, which follows the palette.
    qApp->installEventFilter(this);
    follow();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::show()
{
    if (m_wanted)
        return;
    m_wanted = true;
    m_item = std::make_unique<StatusNotifierItem>(&m_menu);
    m_item->setIcon(m_icon, iconName());
    m_item->setAttentionIconName(iconName(true));
    m_item->setToolTip(m_toolTip, m_toolTipSubtitle);
    m_item->setNeedsAttention(m_store->unreadCount() > 0);
    connect(m_item.get(), &StatusNotifierItem::shownChanged, this, &TrayIcon::chooseTray);
    connect(m_item.get(), &StatusNotifierItem::activated, this, [this](const QPoint &at) {
        // Hosts that know no place send (0, 0).
        emit panelRequested(at.isNull() ? anchor() : at);
    });
    connect(m_item.get(), &StatusNotifierItem::secondaryActivated, this, &TrayIcon::openWindowRequested);
    connect(m_item.get(), &StatusNotifierItem::activationTokenProvided, this, &TrayIcon::activationTokenProvided);
    chooseTray();
}

void TrayIcon::chooseTray()
{
    const bool statusNotifier = m_item && m_item->isShown();
    // Only asked while no StatusNotifierItem watcher is there, so that Qt
    // settles on its XEmbed icon. Once docked, Qt follows a tray manager
    // that restarts by itself.
    const bool x11 = QGuiApplication::platformName() == u"xcb";
    const bool xembed = !statusNotifier && x11 && (m_xembed || QSystemTrayIcon::isSystemTrayAvailable());
    if (xembed && !m_xembed) {
        m_xembed = std::make_unique<QSystemTrayIcon>(m_icon);
        m_xembed->setToolTip(xembedToolTip());
        m_xembed->setContextMenu(&m_menu);
        connect(m_xembed.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // A double click also sends a Trigger first; taking both would
            // open the panel and close it again.
            if (reason == QSystemTrayIcon::Trigger)
                emit panelRequested(anchor());
            else if (reason == QSystemTrayIcon::MiddleClick)
                emit openWindowRequested();
        });
        m_xembed->show();
    } else if (!xembed && m_xembed) {
        m_xembed.reset();
    }
    const bool visible = statusNotifier || xembed;
    if (x11 && !visible)
        m_xembedPoll.start(2s);
    else
        m_xembedPoll.stop();
    if (visible != m_visible) {
        m_visible = visible;
        emit visibleChanged(visible);
    }
}

QString TrayIcon::xembedToolTip() const
{
    return m_toolTipSubtitle.isEmpty() ? m_toolTip : m_toolTip + u'\n' + m_toolTipSubtitle;
}

bool TrayIcon::isVisible() const
{
    return m_visible;
}

QRect TrayIcon::geometry() const
{
    return m_xembed ? m_xembed->geometry() : QRect();
}

QPoint TrayIcon::anchor() const
{
    // XEmbed trays report where the icon is; otherwise only a click on it
    // tells, and the views keep where the last click was.
    const QRect where = geometry();
    return where.isValid() ? QPoint(where.center().x(), where.bottom()) : QPoint();
}

bool TrayIcon::showMessage(const QString &title, const QString &body)
{
    if (!m_xembed || !QSystemTrayIcon::supportsMessages())
        return false;
    m_xembed->showMessage(title, body, QSystemTrayIcon::Information);
    return true;
}

QString TrayIcon::iconName(bool badge)
{
    return badge ? QStringLiteral("quillfen-tray-unread-symbolic") : QStringLiteral("quillfen-tray-symbolic");
}

QString TrayIcon::iconName() const
{
    return iconName(m_symbol == u"bell.badge");
}

QIcon TrayIcon::bellIcon(bool badge)
{
    QIcon icon;
    // The panel's colour is best known as the palette's window colour (KDE's
    // colour scheme where Plasma's platform theme is loaded): a light bell
    // on dark panels, a dark one on light panels.
    const QColor panel = QGuiApplication::palette().color(QPalette::Window);
    const QColor ink = panel.lightnessF() < 0.5 ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x23, 0x26, 0x29);
    // One drawing of the bell per size, made when the application was built.
    const QDir drawings(QStringLiteral(":/quillfen/tray"));
    for (const QString &file : drawings.entryList(QDir::Files)) {
        // Square, raw ARGB32 pixels: no image reader (and so no image format
        // plugin) is involved.
        QFile drawing(drawings.filePath(file));
        if (!drawing.open(QIODevice::ReadOnly))
            continue;
        const QByteArray pixels = drawing.readAll();
        const int side = int(std::sqrt(double(pixels.size() / 4)));
        if (side == 0 || qsizetype(side) * side * 4 != pixels.size())
            continue;
        QImage image =
            QImage(reinterpret_cast<const uchar *>(pixels.constData()), side, side, QImage::Format_ARGB32_Premultiplied)
                .copy();
        {
            QPainter painter(&image);
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(image.rect(), ink);
            if (badge) {
                painter.setRenderHint(QPainter::Antialiasing);
                const qreal radius = side * 0.2;
                const QPointF centre(side - radius - side * 0.02, radius + side * 0.02);
                // A ring in the transparent colour separates the badge from the bell.
                painter.setCompositionMode(QPainter::CompositionMode_Clear);
                painter.drawEllipse(centre, radius * 1.35, radius * 1.35);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor::fromRgba(alertRed));
                painter.drawEllipse(centre, radius, radius);
            }
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void TrayIcon::follow()
{
    // The count in words, for whoever cannot see the badge.
    const int unread = m_store->unreadCount();
    m_toolTip = tr("Quillfen: %1 unread").arg(unread);
    m_showNotifications->setText(unread > 0 ? tr("Show Notifications (%n)", nullptr, unread)
                                            : tr("Show Notifications"));
    QStringList perAccount;
    for (const auto &[account, count] : m_store->unreadByAccount())
        perAccount.append(tr("%1: %2 unread").arg(account).arg(count));
    m_toolTipSubtitle = perAccount.join(u'\n');
    if (m_item) {
        m_item->setToolTip(m_toolTip, m_toolTipSubtitle);
        m_item->setNeedsAttention(unread > 0);
    }
    if (m_xembed)
        m_xembed->setToolTip(xembedToolTip());
    const QString symbol = unread > 0 ? QStringLiteral("bell.badge") : QStringLiteral("bell");
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    drawBell();
}

void TrayIcon::drawBell()
{
    m_icon = bellIcon(m_symbol == u"bell.badge");
    if (m_item)
        m_item->setIcon(m_icon, iconName());
    if (m_xembed)
        m_xembed->setIcon(m_icon);
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    // A desktop switched between light and dark while Quillfen runs.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        drawBell();
    return QObject::eventFilter(watched, event);
}
