#include "api/GitHubAPIClient.h"
#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"

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

    void clientPassesTheKeychainErrorThrough()
    {
        FakeGitHubServer server;
        GitHubAPIClient::setBaseUrl(server.baseUrl());

        const auto fetched = QCoro::waitFor(GitHubAPIClient::fetchNotifications(true, 100));
        QVERIFY(std::holds_alternative<ClientError>(fetched));
        const ClientError error = std::get<ClientError>(fetched);
        QCOMPARE(error, ClientError(KeychainError::readFailed(2)));
        QCOMPARE(userDescription(error), QStringLiteral("Failed to read token from keychain (status: 2)"));

        QCOMPARE(QCoro::waitFor(GitHubAPIClient::muteThread(QStringLiteral("1"))),
                 ClientError(KeychainError::readFailed(2)));
        QVERIFY(server.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKeychainUnavailable)
#include "tst_keychain_unavailable.moc"
