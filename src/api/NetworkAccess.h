#pragma once

#include <QLoggingCategory>
#include <QNetworkAccessManager>

// Requests and statuses only; headers, and so the token, are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)

// The process-wide network access manager, owned by the application object
// and used from the main thread.
QNetworkAccessManager &sharedNetworkAccessManager();
