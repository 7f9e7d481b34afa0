#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"
#include "store/NotificationsStore.h"

#include "FakeGitHubServer.h"

#include <QCoro/QCoroTask>
#include <QTest>

using KeychainManager::KeychainError;

// A session bus with no secret service on it: every operation must fail at
// once with the bus's error code (2: the service is unknown), never wait.
class TestKeychainUnavailable : public QObject {
    Q_OBJECT

private slots:
    void operationsFailWithTheServiceCode()
    {
        auto read = KeychainManager::getToken();
        QVERIFY(std::holds_alternative<KeychainError>(read));
        QCOMPARE(std::get<KeychainError>(read), KeychainError::readFailed(2));
        // Shown to the user as the failure it is, not as "no token".
        TokenState::shared().reload();
        QTRY_COMPARE(TokenState::shared().status(), TokenState::Status::Unavailable);
        QCOMPARE(TokenState::shared().errorDescription(),
                 QStringLiteral("Failed to read token from keychain (status: 2)"));

        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_x")), KeychainError::saveFailed(2));
        QCOMPARE(KeychainManager::deleteToken(), KeychainError::deleteFailed(2));
    }

    // The store shows the failure as it is, and sends nothing.
    void storeSaysSoAndSendsNothing()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());
        NotificationsStore store;
        QTRY_COMPARE(store.tokenStatus(), TokenState::Status::Unavailable);
        QCOMPARE(store.lastError(), QStringLiteral("Failed to read token from keychain (status: 2)"));
        QCoro::waitFor(store.refresh());
        QVERIFY(server.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKeychainUnavailable)
#include "tst_keychain_unavailable.moc"
