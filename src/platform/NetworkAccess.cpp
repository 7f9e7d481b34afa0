#include "platform/NetworkAccess.h"

#include <QCoreApplication>
#include <QPointer>

Q_LOGGING_CATEGORY(lcNetwork, "quillfen.network", QtWarningMsg)

QNetworkAccessManager &sharedNetworkAccessManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        // Redirects are answered as statuses: following one could carry the
        // Authorization header to another host.
        manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return *manager;
}

bool isTransportFailure(QNetworkReply::NetworkError code)
{
    // Qt numbers connection, proxy and protocol failures below 200 and from
    // 300 to 399; the 200s and 400s stand for HTTP statuses.
    const int value = int(code);
    return code != QNetworkReply::NoError && (value < 200 || (value >= 300 && value < 400));
}
