#include "settings/TokenValidation.h"

#include "api/GitHubAPIClient.h"
#include "api/NetworkAccess.h"

#include <QCoro/QCoroNetworkReply>

#include <memory>

namespace TokenValidation {

QCoro::Task<std::variant<bool, TransportError>> validate(QString token)
{
    const QUrl url(GitHubAPIClient::baseUrl() + QStringLiteral("/user"), QUrl::StrictMode);
    if (!url.isValid() || !GitHubAPIClient::mayCarryToken(url))
        co_return TransportError{QNetworkReply::ProtocolUnknownError, GitHubAPIClient::APIError::invalidURL().errorDescription()};

    QNetworkRequest request(url);
    request.setTransferTimeout(int(GitHubAPIClient::requestTimeout().count()));
    GitHubAPIClient::setStandardHeaders(request, token);
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(sharedNetworkAccessManager().get(request),
                                                                    [](QNetworkReply *r) { r->deleteLater(); });
    co_await reply.get();
    if (isTransportFailure(reply->error()))
        co_return TransportError{reply->error(), reply->errorString()};
    co_return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

} // namespace TokenValidation
