#pragma once

#include <QByteArray>
#include <QUrl>

#include <optional>

// The Link header GitHub pages its lists with:
//   <https://api.github.com/notifications?page=2>; rel="next", <...>; rel="last"
namespace LinkHeader {

// The target of the link whose relation types include "next"; absent when
// there is none or it is not a valid absolute address.
std::optional<QUrl> next(QByteArrayView header);

// The next page of `list`: the list's own address with the query of the next
// link, only when that link is the same list (scheme, host, port, path; no
// user info). The token never goes anywhere else a Link header points.
std::optional<QUrl> nextPageOf(QByteArrayView header, const QUrl &list);

} // namespace LinkHeader
