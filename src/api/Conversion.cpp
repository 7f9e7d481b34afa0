#include "api/Conversion.h"

#include "api/GitHubEndpoints.h"

#include <QTextBoundaryFinder>

#include <charconv>

namespace Conversion {
namespace {

QStringList nonEmptyPieces(const QString &text)
{
    return text.split(u'/', Qt::SkipEmptyParts);
}

std::optional<qint64> numberFromSubjectUrl(const std::optional<QString> &url)
{
    if (!url)
        return std::nullopt;
    const QStringList pieces = nonEmptyPieces(*url);
    if (pieces.isEmpty())
        return std::nullopt;
    return parseStrictInt64(pieces.last());
}

// The first two user-perceived characters, so an emoji or a combined letter
// is never cut in half.
QString initials(const QString &login)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, login);
    qsizetype end = 0;
    for (int taken = 0; taken < 2; ++taken) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return login.left(end).toUpper();
}

NotificationReason reasonFromApi(const QString &reason)
{
    return NotificationReasons::fromRawValue(reason.toLower()).value_or(NotificationReason::subscribed);
}

SubjectType subjectTypeFromApi(const QString &kind)
{
    const QString lower = kind.toLower();
    if (lower == u"pullrequest")
        return SubjectType::pull_request;
    if (lower == u"release")
        return SubjectType::release;
    if (lower == u"discussion")
        return SubjectType::discussion;
    if (lower == u"commit")
        return SubjectType::commit;
    if (lower == u"repositoryvulnerabilityalert")
        return SubjectType::security_alert;
    return SubjectType::issue;
}

} // namespace

std::optional<qint64> parseStrictInt64(QStringView text)
{
    QStringView digits = text;
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'+' || digits.front() == u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty())
        return std::nullopt;
    std::string ascii;
    ascii.reserve(std::size_t(digits.size()) + 1);
    if (negative)
        ascii.push_back('-');
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ascii.push_back(char(c.unicode()));
    }
    qint64 value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

GHNotification toGHNotification(const GitHubNotification &thread)
{
    const QStringList nameParts = nonEmptyPieces(thread.repository.fullName);
    return GHNotification{
        .id = thread.id,
        .owner = nameParts.isEmpty() ? QString() : nameParts.first(),
        .repo = nameParts.isEmpty() ? QString() : nameParts.last(),
        .number = numberFromSubjectUrl(thread.subject.url),
        .title = thread.subject.title,
        .reason = reasonFromApi(thread.reason),
        .subjectType = subjectTypeFromApi(thread.subject.type),
        .updatedAt = thread.updatedAt,
        .unread = thread.unread,
        .avatarInitials = initials(thread.repository.owner.login),
        .muted = false,
        .url = thread.subject.url,
        .details = std::nullopt,
        .reasonRaw = thread.reason,
        .subjectTypeRaw = thread.subject.type,
        .webPage = {},
        .account = {},
    };
}

bool isGitHubWebPage(const QUrl &url)
{
    const QUrl webRoot(GitHubEndpoints::webRootUrl());
    return url.isValid() && url.scheme() == u"https" && url.host() == webRoot.host() && url.port() == -1
           && url.userInfo().isEmpty();
}

QString webURL(const GHNotification &item)
{
    return webURL(item, GitHubEndpoints::apiBaseUrl(), GitHubEndpoints::webRootUrl());
}

QString webURL(const GHNotification &item, const QString &apiBase, const QString &webRoot)
{
    if (!item.webPage.isEmpty())
        return item.webPage;
    const QString repoPage = webRoot + item.owner + u'/' + item.repo;
    // Check runs have no subject address; their page is the Actions tab.
    if (item.subjectTypeRaw == u"CheckSuite" || item.subjectTypeRaw == u"WorkflowRun")
        return repoPage + QStringLiteral("/actions");
    // A discussion's subject address does not resolve over REST: its title finds it.
    if (item.subjectType == SubjectType::discussion) {
        return repoPage + QStringLiteral("/discussions?discussions_q=")
               + QString::fromLatin1(QUrl::toPercentEncoding(item.title));
    }
    if (item.url) {
        QString address = *item.url;
        address.replace(apiBase + QStringLiteral("/repos/"), webRoot);
        address.replace(QStringLiteral("/pulls/"), QStringLiteral("/pull/"));
        return address;
    }
    if (!item.number)
        return repoPage;
    const QString kind =
        item.subjectType == SubjectType::pull_request ? QStringLiteral("pull") : QStringLiteral("issues");
    return repoPage + u'/' + kind + u'/' + QString::number(*item.number);
}

} // namespace Conversion
