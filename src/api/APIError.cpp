#include "api/APIError.h"

namespace GitHubAPIClient {

QString APIError::errorDescription() const
{
    const QString detail = m_detail.value_or(QString());
    switch (m_kind) {
    case Kind::httpError:
        if (!m_detail)
            return QStringLiteral("GitHub API error: HTTP %1").arg(m_statusCode);
        return QStringLiteral("GitHub API error (%1): %2").arg(m_statusCode).arg(detail);
    case Kind::decodingError:
        return QStringLiteral("Failed to parse GitHub response: ") + detail;
    case Kind::noToken:
        return QStringLiteral("No GitHub token found. Please configure in Settings.");
    case Kind::invalidURL:
        return QStringLiteral("Invalid API URL");
    case Kind::invalidResponse:
        return QStringLiteral("Invalid response from GitHub API");
    case Kind::paused:
        return QStringLiteral("GitHub asked for a pause: no requests until %1").arg(detail);
    case Kind::rateLimitExceeded:
        break;
    }
    return QStringLiteral("GitHub API rate limit exceeded. Please try again later.");
}

} // namespace GitHubAPIClient
