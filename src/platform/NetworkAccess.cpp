#include "platform/NetworkAccess.h"

#include "platform/Memory.h"
#include "platform/SystemEvents.h"

#include <QCoreApplication>
#include <QCoro/QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>

#include <memory>

Q_LOGGING_CATEGORY(lcNetwork, "quillfen.network", QtWarningMsg)

namespace NetworkAccess {
namespace {

// Owned by the application object; none once it is closing down.
QNetworkAccessManager *manager()
{
    static QPointer<QNetworkAccessManager> shared;
    if (!shared && QCoreApplication::instance() && !QCoreApplication::closingDown()) {
        Memory::keepLargeBlocksApart();
        // Gone before the application object: a request still out at exit
        // would otherwise reach its thread's events while the application
        // is half destroyed.
        shared = new QNetworkAccessManager;
        qAddPostRoutine([] { delete shared.data(); });
        // Redirects are answered as statuses: following one could carry the
        // Authorization header to another host.
        shared->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return shared;
}

struct ReplyDeleter {
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

// A failure below HTTP: connection, proxy or protocol, or a transfer cut
// short. The other codes Qt derives from the answer's status (a 400 or 418
// reads as a protocol error, a 407 as a proxy one), and those are answers.
bool isTransportFailure(QNetworkReply::NetworkError code)
{
    const int value = int(code);
    return (value >= 1 && value <= 99) || (value >= 101 && value <= 104) || value == 199 || value == 301
           || value == 399;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'g', 3);
}

} // namespace

QByteArray Response::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QCoro::Task<Response> send(QNetworkRequest request, QByteArray method, QByteArray body, Limits limits)
{
    QNetworkAccessManager *network = manager();
    if (!network)
        co_return Response{std::nullopt,
                           {},
                           {},
                           QNetworkReply::OperationCanceledError,
                           QCoreApplication::translate("NetworkAccess", "Quillfen is quitting")};

    request.setTransferTimeout(int(limits.idleTimeout.count()));
    // Without a body no device is passed, so no Content-Length or Content-Type is sent.
    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(body.isEmpty()
                                                           ? network->sendCustomRequest(request, method)
                                                           : network->sendCustomRequest(request, method, body));
    std::optional<QString> abandoned;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), [&, r = reply.get()] {
        abandoned = QCoreApplication::translate("NetworkAccess", "The server took too long to answer (over %1 s)")
                        .arg(QString::number(double(limits.deadline.count()) / 1000, 'g', 3));
        r->abort();
    });
    deadline.start(limits.deadline);
    // The body is taken as it comes, so Qt holds nothing back, and measured.
    QByteArray received;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), [&, r = reply.get()] {
        received += r->readAll();
        if (received.size() > limits.maxBodyBytes && !abandoned) {
            abandoned = QCoreApplication::translate("NetworkAccess", "The answer is larger than %1 MB")
                            .arg(megabytes(limits.maxBodyBytes));
            received.clear();
            r->abort();
        }
    });
    co_await reply.get();

    const QString path = request.url().path();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (abandoned) {
        qCInfo(lcNetwork) << method << path << "abandoned:" << *abandoned;
        co_return Response{std::nullopt, {}, {}, QNetworkReply::OperationCanceledError, *abandoned};
    }
    if (isTransportFailure(reply->error()) || (!status.isValid() && reply->error() != QNetworkReply::NoError)) {
        qCInfo(lcNetwork) << method << path << "failed:" << reply->errorString();
        // From now on a network that comes back polls at once.
        SystemEvents::shared().followReachability();
        // Qt cancels a transfer that stays silent past the idle time-out,
        // and calls it "Operation canceled".
        const QString description =
            reply->error() == QNetworkReply::OperationCanceledError
                ? QCoreApplication::translate("NetworkAccess", "The server did not answer for %1 s")
                      .arg(QString::number(double(limits.idleTimeout.count()) / 1000, 'g', 3))
                : reply->errorString();
        co_return Response{std::nullopt, {}, {}, reply->error(), description};
    }
    if (!status.isValid()) {
        qCInfo(lcNetwork) << method << path << "answered without an HTTP status";
        co_return Response{};
    }
    qCDebug(lcNetwork) << method << path << status.toInt();
    received += reply->readAll();
    co_return Response{status.toInt(), std::move(received), reply->rawHeaderPairs(), QNetworkReply::NoError, {}};
}

} // namespace NetworkAccess
