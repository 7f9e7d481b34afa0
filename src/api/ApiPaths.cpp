#include "api/ApiPaths.h"

#include <QUrl>

namespace ApiPaths {
namespace {

std::optional<QString> pathSegment(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return std::nullopt;
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

} // namespace

std::optional<QString> threadPath(const QString &threadId, const QString &suffix)
{
    const auto id = pathSegment(threadId);
    if (!id)
        return std::nullopt;
    return QStringLiteral("/notifications/threads/") + *id + suffix;
}

std::optional<QString> repositoryPath(const QString &owner, const QString &repo)
{
    const auto ownerSegment = pathSegment(owner);
    const auto repoSegment = pathSegment(repo);
    if (!ownerSegment || !repoSegment)
        return std::nullopt;
    return QStringLiteral("/repos/%1/%2/notifications").arg(*ownerSegment, *repoSegment);
}

} // namespace ApiPaths
