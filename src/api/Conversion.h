#pragma once

#include "api/GitHubNotification.h"
#include "model/GHNotification.h"

#include <QStringView>
#include <QUrl>

#include <optional>

// Turning decoded API records into the application's items, and items into
// addresses on the GitHub web site.
namespace Conversion {

// Total: odd input gives empty owner/repo or an absent number, never a failure.
GHNotification toGHNotification(const GitHubNotification &thread);

// The web page of the item: the page its details name (its latest comment,
// else its subject), else the Actions tab for check runs, the discussions
// search for a discussion's title, else the subject's address rewritten for
// the web site. The caller parses it as a URL and checks its host.
QString webURL(const GHNotification &item);
// The same for a thread of an account at `apiBase` whose web site is `webRoot`.
QString webURL(const GHNotification &item, const QString &apiBase, const QString &webRoot);

// Only pages of the GitHub web site go to the browser: a thread's address
// comes from a response and could otherwise be javascript:, file: or any
// other site.
bool isGitHubWebPage(const QUrl &url);

// Base-10 signed 64-bit integer: optional "+" or "-", ASCII digits only, no
// spaces, must fit.
std::optional<qint64> parseStrictInt64(QStringView text);

} // namespace Conversion
