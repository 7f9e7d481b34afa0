#pragma once

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>

// Requests and statuses only; headers, and so the token, are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)

// A failure below HTTP (connection, proxy, protocol, time-out), as opposed to
// an error code Qt derives from an HTTP status.
bool isTransportFailure(QNetworkReply::NetworkError code);

// The process-wide network access manager, owned by the application object
// and used from the main thread.
QNetworkAccessManager &sharedNetworkAccessManager();
