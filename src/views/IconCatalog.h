#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The one table from the symbol identifiers the views use ("bell",
// "arrow.triangle.pull", ...) to the Octicons drawn for them.
namespace IconCatalog {

// Resource path of the SVG for a symbol; empty for an unknown symbol.
QString resourcePath(const QString &symbol);

// The symbol drawn in one colour at the given pixel size; a null image for an
// unknown symbol.
QImage render(const QString &symbol, const QSize &size, const QColor &color);

} // namespace IconCatalog
