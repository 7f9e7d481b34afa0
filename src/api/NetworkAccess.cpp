#include "api/NetworkAccess.h"

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
