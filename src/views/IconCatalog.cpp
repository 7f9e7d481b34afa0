#include "views/IconCatalog.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace IconCatalog {
namespace {

const QHash<QString, QString> &symbolFiles()
{
    static const QHash<QString, QString> files{
        {QStringLiteral("bell"), QStringLiteral("bell-16")},
        {QStringLiteral("bell.badge"), QStringLiteral("bell-16")},
        {QStringLiteral("bell.slash"), QStringLiteral("bell-slash-16")},
        {QStringLiteral("exclamationmark.circle"), QStringLiteral("issue-opened-16")},
        {QStringLiteral("arrow.triangle.pull"), QStringLiteral("git-pull-request-16")},
        {QStringLiteral("pull.merged"), QStringLiteral("git-merge-16")},
        {QStringLiteral("pull.closed"), QStringLiteral("git-pull-request-closed-16")},
        {QStringLiteral("pull.draft"), QStringLiteral("git-pull-request-draft-16")},
        {QStringLiteral("issue.closed"), QStringLiteral("issue-closed-16")},
        {QStringLiteral("issue.notplanned"), QStringLiteral("skip-16")},
        {QStringLiteral("issue.draft"), QStringLiteral("issue-draft-16")},
        {QStringLiteral("tag"), QStringLiteral("tag-16")},
        {QStringLiteral("text.bubble"), QStringLiteral("comment-discussion-16")},
        {QStringLiteral("chevron.left.forwardslash.chevron.right"), QStringLiteral("code-16")},
        {QStringLiteral("shield.lefthalf.filled"), QStringLiteral("shield-16")},
        {QStringLiteral("envelope.open"), QStringLiteral("read-16")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("check-circle-16")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle-fill-24")},
        {QStringLiteral("line.3.horizontal.decrease.circle"), QStringLiteral("filter-16")},
        {QStringLiteral("square.grid.2x2"), QStringLiteral("apps-16")},
        {QStringLiteral("list.bullet"), QStringLiteral("list-unordered-16")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("sync-16")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("alert-fill-16")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("x-circle-fill-16")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron-right-16")},
        {QStringLiteral("chevron.down"), QStringLiteral("chevron-down-16")},
        {QStringLiteral("gearshape"), QStringLiteral("gear-16")},
        {QStringLiteral("sidebar.right"), QStringLiteral("sidebar-expand-16")},
        {QStringLiteral("key.fill"), QStringLiteral("key-24")},
        {QStringLiteral("eye"), QStringLiteral("eye-16")},
        {QStringLiteral("eye.slash"), QStringLiteral("eye-closed-16")},
        {QStringLiteral("arrow.down.circle"), QStringLiteral("download-16")},
        {QStringLiteral("arrow.up.forward.square"), QStringLiteral("link-external-16")},
        {QStringLiteral("bell.fill"), QStringLiteral("bell-fill-16")},
        {QStringLiteral("network"), QStringLiteral("globe-16")},
        {QStringLiteral("checkmark"), QStringLiteral("check-16")},
        {QStringLiteral("trash"), QStringLiteral("trash-16")},
    };
    return files;
}

} // namespace

QString resourcePath(const QString &symbol)
{
    auto found = symbolFiles().constFind(symbol);
    // Octicons has no filled filter or download glyph: those symbols draw
    // their outline, and the colour tells the state.
    if (found == symbolFiles().cend() && symbol.endsWith(u".fill"))
        found = symbolFiles().constFind(symbol.chopped(5));
    if (found == symbolFiles().cend())
        return {};
    return QStringLiteral(":/quillfen/icons/octicons/%1.svg").arg(*found);
}

QImage render(const QString &symbol, const QSize &size, const QColor &color)
{
    const QString path = resourcePath(symbol);
    if (path.isEmpty() || size.isEmpty())
        return {};
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    // The glyphs are single-colour shapes: keep their coverage, take our colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

} // namespace IconCatalog
