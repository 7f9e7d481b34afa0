#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"

#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

using KeychainManager::KeychainError;

namespace {

std::optional<QString> storedToken()
{
    auto result = KeychainManager::getToken();
    if (auto *error = std::get_if<KeychainError>(&result))
        qFatal("unexpected keychain error: %s", qPrintable(error->errorDescription()));
    return std::get<std::optional<QString>>(result);
}

} // namespace

class TestKeychain : public QObject {
    Q_OBJECT

private slots:
    void init() { QCOMPARE(KeychainManager::deleteToken(), std::nullopt); }

    void savesReplacesAndDeletes()
    {
        QCOMPARE(storedToken(), std::nullopt);
        QCOMPARE(KeychainManager::deleteToken(), std::nullopt); // nothing to delete: fine
        TokenState &state = TokenState::shared();
        QSignalSpy saved(&state, &TokenState::tokenSaved);
        QSignalSpy deleted(&state, &TokenState::tokenDeleted);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_first")), std::nullopt);
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_second")), std::nullopt);
        // Recorded at once, for whoever follows the token.
        QCOMPARE(state.status(), TokenState::Status::Stored);
        QCOMPARE(storedToken(), QStringLiteral("ghp_second"));
        QCOMPARE(saved.size(), 2);

        QCOMPARE(KeychainManager::deleteToken(), std::nullopt);
        QCOMPARE(storedSecret(), std::nullopt);
        QCOMPARE(state.status(), TokenState::Status::Missing);
        QCOMPARE(deleted.size(), 1);

        // A token written behind Quillfen's back shows on the next read.
        QVERIFY(plantSecret("ghp_elsewhere"));
        QSignalSpy read(&state, &TokenState::readFinished);
        state.reload();
        state.reload(); // asked again while the first read is out: one more read, one answer
        QVERIFY(read.wait());
        QCOMPARE(state.status(), TokenState::Status::Stored);
        QTest::qWait(50);
        QCOMPARE(read.size(), 1);
    }

    void storesTextByteForByte()
    {
        // Spaces, byte-order marks (a leading one too), a NUL and characters
        // beyond the basic plane survive as given; so does nothing at all.
        const QString mixed =
            QString::fromUtf8("  ghp_\xef\xbb\xbf\xc3\xa9\xf0\x9f\x94\x91 ") + QChar(0) + QStringLiteral("end\n");
        for (const QString &token : {mixed, QString::fromUtf8("\xef\xbb\xbfghp_bom"), QString()}) {
            QCOMPARE(KeychainManager::saveToken(token), std::nullopt);
            QCOMPARE(storedSecret(), token.toUtf8());
            QCOMPARE(storedToken(), token);
        }
    }

    void rejectsWhatIsNotUtf8()
    {
        QVERIFY(plantSecret(QByteArray("ghp_\xff\xfe\x80", 7)));
        auto result = KeychainManager::getToken();
        QCOMPARE(std::get<KeychainError>(result), KeychainError::unexpectedData());
        TokenState::shared().reload();
        QTRY_COMPARE(TokenState::shared().status(), TokenState::Status::Unavailable);
        QCOMPARE(TokenState::shared().errorDescription(), QStringLiteral("Unexpected data format in keychain"));

        // A text with no UTF-8 form is refused before the store is touched.
        QCOMPARE(KeychainManager::saveToken(QStringLiteral("ghp_kept")), std::nullopt);
        const QString loneSurrogate = QStringLiteral("ghp_") + QChar(0xd800);
        QCOMPARE(KeychainManager::saveToken(loneSurrogate), KeychainError::unexpectedData());
        QCOMPARE(storedToken(), QStringLiteral("ghp_kept"));
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "tst_keychain.moc"
