#pragma once

#include <QQuickImageProvider>

// Serves "image://symbols/<symbol>?<rrggbb or aarrggbb>" from IconCatalog,
// drawn in the given colour at the requested size.
class IconImageProvider : public QQuickImageProvider {
public:
    IconImageProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};
