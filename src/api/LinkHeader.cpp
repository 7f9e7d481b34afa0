#include "api/LinkHeader.h"

#include <QList>

namespace LinkHeader {
namespace {

// Whether a parameter list (`; rel="next"; title=x`) names the next relation.
bool isNext(QByteArrayView parameters)
{
    for (QByteArrayView parameter : QByteArray(parameters.toByteArray()).split(';')) {
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.first(equals).trimmed().compare("rel", Qt::CaseInsensitive) != 0)
            continue;
        QByteArrayView value = parameter.sliced(equals + 1).trimmed();
        // The comma that separates this link from the next one.
        while (value.endsWith(',') || value.endsWith(' '))
            value.chop(1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.sliced(1, value.size() - 2);
        // rel may hold several space-separated types.
        for (const QByteArray &type : value.toByteArray().split(' ')) {
            if (type.compare("next", Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<QUrl> next(QByteArrayView header)
{
    qsizetype at = 0;
    while (at < header.size()) {
        const qsizetype open = header.indexOf('<', at);
        if (open < 0)
            return std::nullopt;
        const qsizetype close = header.indexOf('>', open);
        if (close < 0)
            return std::nullopt;
        // Parameters run to the next link, which starts with ", <".
        qsizetype end = header.indexOf('<', close);
        end = end < 0 ? header.size() : end;
        if (isNext(header.sliced(close + 1, end - close - 1))) {
            const QUrl target(QString::fromUtf8(header.sliced(open + 1, close - open - 1)), QUrl::StrictMode);
            if (!target.isValid() || target.isRelative())
                return std::nullopt;
            return target;
        }
        at = end;
    }
    return std::nullopt;
}

std::optional<QUrl> nextPageOf(QByteArrayView header, const QUrl &list)
{
    const std::optional<QUrl> target = next(header);
    if (!target || target->scheme() != list.scheme() || target->host() != list.host() || target->port() != list.port()
        || target->path() != list.path() || !target->userInfo().isEmpty())
        return std::nullopt;
    // Only the query comes from the header; the rest of the address is the
    // list's own, so nothing else a server wrote (an empty "@", a fragment)
    // reaches the request.
    QUrl page = list;
    page.setQuery(target->query(QUrl::FullyEncoded));
    return page;
}

} // namespace LinkHeader
