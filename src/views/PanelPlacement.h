#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

namespace PanelPlacement {

// Where the panel goes for an anchor point under (or over) a tray icon: below
// it when the icon is in the upper half of the screen, above it otherwise,
// and always on the screen.
inline QPoint position(const QPoint &anchor, const QSize &panelSize, const QRect &screenArea)
{
    const int gap = 4;
    int x = anchor.x() - panelSize.width() / 2;
    const bool below = anchor.y() < screenArea.center().y();
    int y = below ? anchor.y() + gap : anchor.y() - gap - panelSize.height();
    x = std::clamp(x, screenArea.left(), std::max(screenArea.left(), screenArea.right() + 1 - panelSize.width()));
    y = std::clamp(y, screenArea.top(), std::max(screenArea.top(), screenArea.bottom() + 1 - panelSize.height()));
    return {x, y};
}

// Wayland tells a client nothing of the desktop's panels. A click this close
// to an edge of the screen was on the icon in such a panel, which centres its
// icons: the panel reaches twice as far from that edge, and the work area
// begins there.
inline QRect workAreaAround(const QPoint &click, const QRect &screen)
{
    const int nearEdge = 64;
    QRect area = screen;
    if (const int d = click.y() - screen.top(); d >= 0 && d < nearEdge)
        area.setTop(screen.top() + 2 * d);
    else if (const int d = screen.bottom() + 1 - click.y(); d > 0 && d < nearEdge)
        area.setBottom(screen.bottom() - 2 * d);
    else if (const int d = click.x() - screen.left(); d >= 0 && d < nearEdge)
        area.setLeft(screen.left() + 2 * d);
    else if (const int d = screen.right() + 1 - click.x(); d > 0 && d < nearEdge)
        area.setRight(screen.right() - 2 * d);
    return area;
}

// Where a panel opened with no click goes: at the right end of the edge that
// holds the desktop's panel (the one the work area leaves out), else of the
// edge the desktop puts its panel on by default.
inline QPoint trayCorner(const QRect &screen, const QRect &workArea, bool panelAtBottom)
{
    if (workArea.top() > screen.top())
        panelAtBottom = false;
    else if (workArea.bottom() < screen.bottom())
        panelAtBottom = true;
    return {workArea.right(), panelAtBottom ? workArea.bottom() : workArea.top()};
}

} // namespace PanelPlacement
