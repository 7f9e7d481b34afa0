#include "shell/TrayIcon.h"

#include "store/NotificationsStore.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPainter>

#include <cmath>

TrayIcon::TrayIcon(NotificationsStore *store, QObject *parent) : QObject(parent), m_store(store)
{
    m_menu.addAction(tr("Open Window"), this, &TrayIcon::openWindowRequested);
    m_menu.addAction(tr("Settings\u2026"), this, &TrayIcon::settingsRequested);
    m_menu.addSeparator();
    m_menu.addAction(tr("Quit"), this, &TrayIcon::quitRequested);
    m_tray.setContextMenu(&m_menu);

    connect(&m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A double click on an XEmbed tray also sends a Trigger first; taking
        // both would open the panel and close it again.
        if (reason != QSystemTrayIcon::Trigger)
            return;
        // XEmbed trays report where the icon is; StatusNotifierItem hosts do
        // not, and the pointer is then the best guess.
        const QRect where = m_tray.geometry();
        emit panelRequested(where.isValid() ? QPoint(where.center().x(), where.bottom()) : QCursor::pos());
    });
    connect(store, &NotificationsStore::itemsChanged, this, &TrayIcon::follow);
    follow();
}

void TrayIcon::show()
{
    m_tray.show();
}

bool TrayIcon::showMessage(const QString &title, const QString &body)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !m_tray.isVisible() || !QSystemTrayIcon::supportsMessages())
        return false;
    m_tray.showMessage(title, body, QSystemTrayIcon::Information);
    return true;
}

QIcon TrayIcon::bellIcon(bool badge)
{
    QIcon icon;
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
        QImage image = QImage(reinterpret_cast<const uchar *>(pixels.constData()), side, side,
                              QImage::Format_ARGB32_Premultiplied)
                           .copy();
        if (badge) {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal radius = side * 0.2;
            const QPointF centre(side - radius - side * 0.02, radius + side * 0.02);
            // A ring in the transparent colour separates the badge from the bell.
            painter.setCompositionMode(QPainter::CompositionMode_Clear);
            painter.drawEllipse(centre, radius * 1.35, radius * 1.35);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xff, 0x3b, 0x30));
            painter.drawEllipse(centre, radius, radius);
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void TrayIcon::follow()
{
    // The count in words, for whoever cannot see the badge.
    const int unread = m_store->unreadCount();
    m_tray.setToolTip(tr("Quillfen: %1 unread").arg(unread));
    const QString symbol = unread > 0 ? QStringLiteral("bell.badge") : QStringLiteral("bell");
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    m_tray.setIcon(bellIcon(symbol == u"bell.badge"));
}
