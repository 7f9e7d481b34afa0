#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace GitHubAPIClient {

// Failures of the GitHub client, each with one fixed text for the user.
class APIError {
public:
    enum class Kind { httpError, decodingError, noToken, invalidURL, invalidResponse, rateLimitExceeded, paused };

    static APIError httpError(int statusCode, std::optional<QString> message)
    {
        return APIError(Kind::httpError, statusCode, std::move(message));
    }
    static APIError decodingError(const QString &underlying) { return APIError(Kind::decodingError, 0, underlying); }
    static APIError noToken() { return APIError(Kind::noToken); }
    static APIError invalidURL() { return APIError(Kind::invalidURL); }
    static APIError invalidResponse() { return APIError(Kind::invalidResponse); }
    static APIError rateLimitExceeded() { return APIError(Kind::rateLimitExceeded); }
    // Not sent: GitHub asked for a pause that lasts until `until`.
    static APIError paused(const QDateTime &until)
    {
        return APIError(Kind::paused, 0, QLocale().toString(until.toLocalTime().time(), QLocale::ShortFormat));
    }

    Kind kind() const { return m_kind; }
    int statusCode() const { return m_statusCode; }
    // The server's message for httpError, the underlying description for
    // decodingError, the time requests resume for paused.
    const std::optional<QString> &detail() const { return m_detail; }
    QString errorDescription() const;

    friend bool operator==(const APIError &, const APIError &) = default;

private:
    explicit APIError(Kind kind, int statusCode = 0, std::optional<QString> detail = std::nullopt)
        : m_kind(kind), m_statusCode(statusCode), m_detail(std::move(detail))
    {
    }

    Kind m_kind;
    int m_statusCode;
    std::optional<QString> m_detail;
};

} // namespace GitHubAPIClient
