#include "api/APIError.h"

#include <QCoreApplication>

namespace GitHubAPIClient {

QString APIError::errorDescription() const
{
    const QString detail = m_detail.value_or(QString());
    switch (m_kind) {
    case Kind::httpError:
        if (!m_detail)
            return QCoreApplication::translate("APIError", "GitHub API error: HTTP %1").arg(m_statusCode);
        return QCoreApplication::translate("APIError", "GitHub API error (%1): %2").arg(m_statusCode).arg(detail);
    case Kind::decodingError:
        return QCoreApplication::translate("APIError", "Failed to parse GitHub response: %1").arg(detail);
    case Kind::noToken:
        return QCoreApplication::translate("APIError", "No GitHub token found. Please configure in Settings.");
    case Kind::invalidURL:
        return QCoreApplication::translate("APIError", "Invalid API URL");
    case Kind::invalidResponse:
        return QCoreApplication::translate("APIError", "Invalid response from GitHub API");
    case Kind::paused:
        return QCoreApplication::translate("APIError", "GitHub asked for a pause: no requests until %1").arg(detail);
    case Kind::rateLimitExceeded:
        break;
    }
    return QCoreApplication::translate("APIError", "GitHub API rate limit exceeded. Please try again later.");
}

} // namespace GitHubAPIClient
