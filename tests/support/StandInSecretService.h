#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QPair>

#include <optional>

// Owns org.freedesktop.secrets on the test's session bus, over a connection
// of its own, with one collection that holds an item for each "account"
// attribute it was given: enough of the Secret Service for libsecret and for
// Quillfen's direct reads. The collection can be locked; its unlock prompt
// then completes, is dismissed, or never completes, as the test says. Answers on the thread that made it,
// so the code under test must call from another.
class StandInSecretService : public QDBusVirtualObject {
    Q_OBJECT

public:
    enum class PromptAnswer { unlock, dismiss, never };

    StandInSecretService();
    ~StandInSecretService() override;

    static constexpr char firstAccount[] = "github-token";

    // The item of `account` ("github-token/<host>/<login>" for the accounts
    // after the first); a null secret removes it.
    void setItem(const QByteArray &secret, const QByteArray &account = firstAccount);
    void setLocked(bool locked);
    void setPromptAnswer(PromptAnswer answer, int delayMs = 0)
    {
        m_answer = answer;
        m_promptDelayMs = delayMs;
    }

    int promptsShown() const { return m_promptsShown; }
    QByteArray secret(const QByteArray &account = firstAccount) const;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    // An item's place, made for an account that has none yet, and its path.
    qsizetype indexOf(const QByteArray &account);
    QString itemPath(const QByteArray &account);
    // The stored secret at an item's path, or null.
    QByteArray secretAt(const QString &path) const;
    // A completed prompt unlocks, then stores the secret its item waited for.
    void showPrompt(const QString &path);
    QString newPrompt() { return QStringLiteral("/org/freedesktop/secrets/prompt/p%1").arg(m_nextPrompt++); }

    QDBusConnection m_connection;
    bool m_locked = false;
    // Each account's secret, null once removed; an item's path holds its place.
    QList<QPair<QByteArray, QByteArray>> m_items;
    // The item that waits for the prompt: its account and secret.
    std::optional<QPair<QByteArray, QByteArray>> m_pending;
    PromptAnswer m_answer = PromptAnswer::unlock;
    int m_promptDelayMs = 0;
    int m_promptsShown = 0;
    int m_nextPrompt = 1;
};
