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

} // namespace PanelPlacement
