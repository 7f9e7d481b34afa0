#include "views/IconImageProvider.h"

#include "views/IconCatalog.h"

IconImageProvider::IconImageProvider() : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage IconImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const qsizetype separator = id.indexOf(u'?');
    const QString symbol = separator < 0 ? id : id.left(separator);
    const QColor color = separator < 0 ? QColor(Qt::black) : QColor(u'#' + id.mid(separator + 1));
    const QSize target = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(16, 16);
    const QImage image = IconCatalog::render(symbol, target, color.isValid() ? color : QColor(Qt::black));
    if (size)
        *size = image.size();
    return image;
}
