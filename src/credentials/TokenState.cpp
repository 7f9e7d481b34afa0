#include "credentials/TokenState.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QCoro/QCoroTask>
#include <QPointer>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Runs `f` on the state's thread, now if that is this one.
template <typename F>
void onStateThread(TokenState *state, F f)
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
        return created;
    }();
    return *state;
}

void TokenState::reload()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    read();
}

QCoro::Task<> TokenState::read()
{
    QPointer<TokenState> self(this);
    do {
        m_readAgain = false;
        const quint64 changesAtStart = m_changes;
        const auto result = co_await QtConcurrent::run(m_reader ? m_reader : Reader(&KeychainManager::getToken));
        if (!self)
            co_return;
        if (m_changes != changesAtStart)
            continue;
        if (const auto *error = std::get_if<KeychainManager::KeychainError>(&result))
            setStatus(Status::Unavailable, error->errorDescription());
        else
            setStatus(std::get<std::optional<QString>>(result) ? Status::Stored : Status::Missing);
    } while (m_readAgain);
    m_reading = false;
    emit readFinished();
}

void TokenState::recordSaved()
{
    onStateThread(this, [this] {
        ++m_changes;
        setStatus(Status::Stored);
        emit tokenSaved();
    });
}

void TokenState::recordDeleted()
{
    onStateThread(this, [this] {
        ++m_changes;
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
