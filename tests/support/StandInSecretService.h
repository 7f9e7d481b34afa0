#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>

// Owns org.freedesktop.secrets on the test's session bus, over a connection
// of its own, with one collection that holds at most one item: enough of the
// Secret Service for libsecret and for Quillfen's direct reads. The
// collection can be locked; its unlock prompt then completes, is dismissed,
// or never completes, as the test says. Answers on the thread that made it,
// so the code under test must call from another.
class StandInSecretService : public QDBusVirtualObject {
    Q_OBJECT

public:
    enum class PromptAnswer { unlock, dismiss, never };

    StandInSecretService();
    ~StandInSecretService() override;

    void setItem(const QByteArray &secret) { m_secret = secret; }
    void setLocked(bool locked);
    void setPromptAnswer(PromptAnswer answer, int delayMs = 0)
    {
        m_answer = answer;
        m_promptDelayMs = delayMs;
    }

    int promptsShown() const { return m_promptsShown; }
    QByteArray secret() const { return m_secret; }

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    // A completed prompt unlocks, then stores the secret its item waited for.
    void showPrompt(const QString &path);
    QString newPrompt() { return QStringLiteral("/org/freedesktop/secrets/prompt/p%1").arg(m_nextPrompt++); }

    QDBusConnection m_connection;
    bool m_locked = false;
    QByteArray m_secret; // null while there is no item
    QByteArray m_pendingSecret; // null unless an item waits for the prompt
    PromptAnswer m_answer = PromptAnswer::unlock;
    int m_promptDelayMs = 0;
    int m_promptsShown = 0;
    int m_nextPrompt = 1;
};
