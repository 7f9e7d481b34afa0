#include "credentials/TokenState.h"

#include "credentials/KeyringCall.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QCoro/QCoroTask>
#include <QDBusConnection>
#include <QPointer>
#include <QThread>

namespace {

// Runs `f` on the state's thread, now if that is this one.
template<typename F> void onStateThread(TokenState *state, F f)
{
    if (QThread::currentThread() == state->thread())
        f();
    else
        QMetaObject::invokeMethod(state, f, Qt::QueuedConnection);
}

} // namespace

TokenState &TokenState::shared()
{
    static TokenState *state = [] {
        auto *created = new TokenState;
        created->setParent(QCoreApplication::instance());
        created->watchKeyrings();
        return created;
    }();
    return *state;
}

void TokenState::watchKeyrings()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Any path: the login keyring, the default alias, KeePassXC's databases.
    bus.connect(QStringLiteral("org.freedesktop.secrets"), QString(), QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("PropertiesChanged"), this, SLOT(keyringPropertiesChanged(QString, QVariantMap)));
}

void TokenState::keyringPropertiesChanged(const QString &interface, const QVariantMap &changed)
{
    if (interface == u"org.freedesktop.Secret.Collection" && changed.contains(QStringLiteral("Locked")))
        reload();
}

void TokenState::reload(KeychainManager::Prompt prompt)
{
    if (m_reading) {
        m_readAgain = true;
        if (prompt == KeychainManager::Prompt::allowed)
            m_readAgainPrompt = prompt;
        return;
    }
    m_reading = true;
    read(prompt);
}

QCoro::Task<KeychainManager::TokenResult> TokenState::ask(KeychainManager::Prompt prompt) const
{
    if (!m_reader) {
        KeychainManager::TokenResult read = co_await KeychainManager::readToken(prompt);
        co_return read;
    }
    QFuture<std::optional<KeychainManager::TokenResult>> call =
        KeyringCall::run<KeychainManager::TokenResult>(m_reader);
    const std::optional<KeychainManager::TokenResult> answered = co_await call;
    if (!answered)
        co_return KeychainManager::TokenResult(KeychainManager::KeychainError::notAnswering());
    co_return *answered;
}

void TokenState::follow(const KeychainManager::TokenResult &result)
{
    using KeychainManager::KeychainError;
    if (const auto *error = std::get_if<KeychainError>(&result)) {
        setStatus(error->kind() == KeychainError::Kind::locked ? Status::Locked : Status::Unavailable,
                  error->errorDescription());
    } else if (const auto &token = std::get<std::optional<QString>>(result)) {
        m_tokenDigest = KeychainManager::tokenDigest(*token);
        m_token = token;
        setStatus(Status::Stored);
    } else {
        m_tokenDigest.clear();
        m_token.reset();
        setStatus(Status::Missing);
    }
}

QCoro::Task<> TokenState::read(KeychainManager::Prompt prompt)
{
    QPointer<TokenState> self(this);
    do {
        m_readAgain = false;
        const quint64 changesAtStart = m_changes;
        const KeychainManager::TokenResult result = co_await ask(prompt);
        if (!self)
            co_return;
        prompt = std::exchange(m_readAgainPrompt, KeychainManager::Prompt::never);
        if (m_changes == changesAtStart)
            follow(result);
    } while (m_readAgain);
    m_reading = false;
    emit readFinished();
}

void TokenState::recordSaved(const QString &token)
{
    onStateThread(this, [this, token] {
        ++m_changes;
        m_tokenDigest = KeychainManager::tokenDigest(token);
        m_token = token;
        setStatus(Status::Stored);
        emit tokenSaved();
    });
}

void TokenState::recordDeleted()
{
    onStateThread(this, [this] {
        ++m_changes;
        m_tokenDigest.clear();
        m_token.reset();
        setStatus(Status::Missing);
        emit tokenDeleted();
    });
}

void TokenState::setStatus(Status status, const QString &errorDescription)
{
    if (status == m_status && errorDescription == m_errorDescription)
        return;
    m_status = status;
    m_errorDescription = errorDescription;
    emit statusChanged();
}
