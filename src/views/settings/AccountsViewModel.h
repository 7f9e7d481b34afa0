#pragma once

#include "platform/GitHubCli.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The settings' "Other accounts": the accounts after the first with their
// status, adding one from a host and a token, and removing one.
class AccountsViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // One map per account: "label", "host", "login", "status".
    Q_PROPERTY(QVariantList accounts READ accounts NOTIFY accountsChanged)
    Q_PROPERTY(QString hostInput READ hostInput WRITE setHostInput NOTIFY inputChanged)
    Q_PROPERTY(QString tokenInput READ tokenInput WRITE setTokenInput NOTIFY inputChanged)
    Q_PROPERTY(bool isAdding READ isAdding NOTIFY isAddingChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusChanged)
    Q_PROPERTY(bool isSuccess READ isSuccess NOTIFY statusChanged)
    // Whether "Use the GitHub CLI's token" is offered.
    Q_PROPERTY(bool gitHubCliInstalled READ gitHubCliInstalled CONSTANT)

public:
    explicit AccountsViewModel(QObject *parent = nullptr);

    QVariantList accounts() const;
    const QString &hostInput() const { return m_hostInput; }
    void setHostInput(const QString &host);
    const QString &tokenInput() const { return m_tokenInput; }
    void setTokenInput(const QString &token);
    bool isAdding() const { return m_isAdding; }
    const QString &statusMessage() const { return m_statusMessage; }
    bool isSuccess() const { return m_isSuccess; }

    bool gitHubCliInstalled() const { return m_gitHubCliInstalled; }

    Q_INVOKABLE void add();
    // Adds the account of the host typed with the GitHub CLI's token for
    // that host, checked and stored as a typed one.
    Q_INVOKABLE void addWithGitHubCliToken();
    Q_INVOKABLE void remove(const QString &host, const QString &login);

signals:
    void accountsChanged();
    void inputChanged();
    void isAddingChanged();
    void statusChanged();

private:
    void setStatus(const QString &message, bool success);
    void followSessions();
    QCoro::Task<> enrol(QString host, std::optional<QString> token);

    QString m_hostInput;
    QString m_tokenInput;
    bool m_isAdding = false;
    QString m_statusMessage;
    bool m_isSuccess = false;
    bool m_gitHubCliInstalled = GitHubCli::isInstalled();
};
