#pragma once

// What the two baseline programs of bench/measure-tray.sh share: the tray
// icon they show, and the line that reports their first frame.

#include <QDateTime>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

inline QIcon placeholderIcon()
{
    QPixmap bell(22, 22);
    bell.fill(Qt::transparent);
    QPainter painter(&bell);
    painter.setBrush(QColor(0xf2, 0xf2, 0xf2));
    painter.drawEllipse(3, 3, 16, 16);
    painter.end();
    return QIcon(bell);
}

inline void reportFirstFrame()
{
    std::printf("first frame %lld\n", QDateTime::currentMSecsSinceEpoch());
    std::fflush(stdout);
}
