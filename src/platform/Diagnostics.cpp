#include "platform/Diagnostics.h"

#include <QTextStream>

namespace Diagnostics {
namespace {

std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> current;
    return current;
}

} // namespace

void print(const QString &line)
{
    if (sink()) {
        sink()(line);
        return;
    }
    QTextStream out(stdout);
    out << line << Qt::endl;
}

void setSinkForTesting(std::function<void(const QString &)> newSink)
{
    sink() = std::move(newSink);
}

} // namespace Diagnostics
