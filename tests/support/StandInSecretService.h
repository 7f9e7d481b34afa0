#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QString>

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

    void setItem(const QByteArray &secret);
    void setLocked(bool locked);
    void setPromptAnswer(PromptAnswer answer, int delayMs = 0)
    {
        m_answer = answer;
        m_promptDelayMs = delayMs;
    }

    int promptsShown() const { return m_promptsShown; }
    bool hasItem() const { return m_hasItem; }
    QByteArray secret() const { return m_secret; }

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    // What a completed prompt does: unlock, then store a pending secret.
    void showPrompt(const QString &path, bool createsItem);
    QVariantMap propertiesOf(const QString &path) const;

    QDBusConnection m_connection;
    bool m_locked = false;
    bool m_hasItem = false;
    QByteArray m_secret;
    QByteArray m_pendingSecret;
    PromptAnswer m_answer = PromptAnswer::unlock;
    int m_promptDelayMs = 0;
    int m_promptsShown = 0;
    int m_nextPrompt = 1;
};
