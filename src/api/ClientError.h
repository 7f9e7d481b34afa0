#pragma once

#include "api/APIError.h"
#include "credentials/KeychainManager.h"

#include <QNetworkReply>
#include <QString>

#include <variant>

// A transfer that failed below HTTP (refused, reset, timed out, TLS). It is
// passed on as the network stack reported it, with the stack's own text.
struct TransportError {
    QNetworkReply::NetworkError code = QNetworkReply::UnknownNetworkError;
    QString description;

    friend bool operator==(const TransportError &, const TransportError &) = default;
};

// Everything a GitHub request can end in: the client's own errors, a
// keychain failure passed through unchanged, or a transport failure.
using ClientError = std::variant<GitHubAPIClient::APIError, KeychainManager::KeychainError, TransportError>;

// The one line shown to the user for any failure.
QString userDescription(const ClientError &error);

// The result of an operation that yields a value, or its failure.
template<typename T> using ClientResult = std::variant<T, ClientError>;
