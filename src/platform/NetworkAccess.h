#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QLoggingCategory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>

#include <chrono>
#include <optional>

// Requests and statuses only; headers, and so the token, are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)

// The one road every request of the application takes: the process-wide
// network access manager, with a cap on the body and two clocks.
namespace NetworkAccess {

struct Limits {
    // A longer body is abandoned: an endless or huge answer cannot grow memory.
    qint64 maxBodyBytes = 1024 * 1024;
    // Silence: no byte for this long ends the request.
    std::chrono::milliseconds idleTimeout{60000};
    // The whole request, however it trickles.
    std::chrono::milliseconds deadline{120000};
};

struct Response {
    // Absent when the request ended without an HTTP answer: then `failure`
    // says why, in the transport's own words or in ours, or is empty for an
    // answer that is not HTTP at all.
    std::optional<int> status;
    QByteArray body;
    QList<QNetworkReply::RawHeaderPair> headers;
    QNetworkReply::NetworkError failureCode = QNetworkReply::NoError;
    QString failure;

    bool failed() const { return !failure.isEmpty(); }
    // A header's value by case-insensitive name; empty when absent.
    QByteArray header(QByteArrayView name) const;
};

// Sends the request and awaits the whole answer on the main thread. A
// request with an HTTP status is an answer, whatever Qt makes of the status;
// everything else is a failure. Replies are released with deleteLater.
QCoro::Task<Response> send(QNetworkRequest request, QByteArray method, QByteArray body, Limits limits);

} // namespace NetworkAccess
