#pragma once

#include "platform/GitHubCli.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The model behind the settings window: the token being typed and the result
// of the last token operation, the five preferences (each written the moment
// it is assigned, with its notice), notification permission, and the update
// controls. One per settings window; main thread only.
class SettingsViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString tokenInput READ tokenInput WRITE setTokenInput NOTIFY tokenInputChanged)
    Q_PROPERTY(bool showToken READ showToken WRITE setShowToken NOTIFY showTokenChanged)
    Q_PROPERTY(bool isTesting READ isTesting NOTIFY isTestingChanged)
    Q_PROPERTY(QString statusMessage READ statusMessageText NOTIFY statusChanged)
    Q_PROPERTY(bool hasStatusMessage READ hasStatusMessage NOTIFY statusChanged)
    Q_PROPERTY(bool isSuccess READ isSuccess NOTIFY statusChanged)
    Q_PROPERTY(bool hasExistingToken READ hasExistingToken NOTIFY hasExistingTokenChanged)
    Q_PROPERTY(PermissionStatus notificationPermissionStatus READ notificationPermissionStatus NOTIFY
                   notificationPermissionStatusChanged)
    Q_PROPERTY(int refreshInterval READ refreshInterval WRITE setRefreshInterval NOTIFY refreshIntervalChanged)
    Q_PROPERTY(bool notificationsEnabled READ notificationsEnabled WRITE setNotificationsEnabled NOTIFY
                   notificationsEnabledChanged)
    Q_PROPERTY(bool notificationSoundEnabled READ notificationSoundEnabled WRITE setNotificationSoundEnabled NOTIFY
                   notificationSoundEnabledChanged)
    Q_PROPERTY(bool participatingOnly READ participatingOnly WRITE setParticipatingOnly NOTIFY participatingOnlyChanged)
    // Whether Quillfen starts at login; read from the desktop, not stored.
    Q_PROPERTY(bool startAtLogin READ startAtLogin WRITE setStartAtLogin NOTIFY startAtLoginChanged)
    Q_PROPERTY(QString updateChannel READ updateChannel WRITE setUpdateChannel NOTIFY updateChannelChanged)
    Q_PROPERTY(bool automaticallyCheckForUpdates READ automaticallyCheckForUpdates WRITE setAutomaticallyCheckForUpdates
                   NOTIFY automaticallyCheckForUpdatesChanged)
    // The update service's state, read through; only whether this window
    // asked for a check is the model's own.
    Q_PROPERTY(bool isCheckingForUpdates READ isCheckingForUpdates NOTIFY isCheckingForUpdatesChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateStatusChanged)
    Q_PROPERTY(QString updateStatusMessage READ updateStatusMessageText NOTIFY updateStatusChanged)
    Q_PROPERTY(bool hasUpdateStatusMessage READ hasUpdateStatusMessage NOTIFY updateStatusChanged)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(QString currentBuild READ currentBuild CONSTANT)
    // Whether "Use the GitHub CLI's token" is offered.
    Q_PROPERTY(bool gitHubCliInstalled READ gitHubCliInstalled CONSTANT)

public:
    // The desktop's notification permission. The freedesktop protocol has no
    // prompt: a notification service on the session bus means authorized,
    // none means denied.
    enum class PermissionStatus { NotDetermined = 0, Denied = 1, Authorized = 2 };
    Q_ENUM(PermissionStatus)

    explicit SettingsViewModel(QObject *parent = nullptr);

    const QString &tokenInput() const { return m_tokenInput; }
    void setTokenInput(const QString &text);
    bool showToken() const { return m_showToken; }
    void setShowToken(bool show);
    bool isTesting() const { return m_isTesting; }
    const std::optional<QString> &statusMessage() const { return m_statusMessage; }
    QString statusMessageText() const { return m_statusMessage.value_or(QString()); }
    bool hasStatusMessage() const { return m_statusMessage.has_value(); }
    bool isSuccess() const { return m_isSuccess; }
    bool hasExistingToken() const { return m_hasExistingToken; }
    PermissionStatus notificationPermissionStatus() const { return m_permission; }

    int refreshInterval() const { return m_refreshInterval; }
    void setRefreshInterval(int seconds);
    bool notificationsEnabled() const { return m_notificationsEnabled; }
    void setNotificationsEnabled(bool enabled);
    bool notificationSoundEnabled() const { return m_notificationSoundEnabled; }
    void setNotificationSoundEnabled(bool enabled);
    bool participatingOnly() const { return m_participatingOnly; }
    void setParticipatingOnly(bool enabled);
    bool startAtLogin() const;
    void setStartAtLogin(bool enabled);
    const QString &updateChannel() const { return m_updateChannel; }
    void setUpdateChannel(const QString &channel);
    bool automaticallyCheckForUpdates() const { return m_automaticallyCheckForUpdates; }
    void setAutomaticallyCheckForUpdates(bool enabled);

    bool isCheckingForUpdates() const;
    bool updateAvailable() const;
    QString updateStatusMessageText() const { return updateStatusLine().value_or(QString()); }
    bool hasUpdateStatusMessage() const { return updateStatusLine().has_value(); }
    QString currentVersion() const;
    QString currentBuild() const;

    QCoro::Task<> checkNotificationPermission();
    Q_INVOKABLE void requestNotificationPermission();
    Q_INVOKABLE void sendTestNotification();
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void checkExistingToken();
    Q_INVOKABLE void saveToken();
    Q_INVOKABLE void deleteToken();
    Q_INVOKABLE void testConnection();
    Q_INVOKABLE void openTokenPage();
    // The GitHub CLI's token for github.com, checked as Test Connection
    // checks a typed one, then saved as Save Token saves it.
    Q_INVOKABLE void useGitHubCliToken();
    bool gitHubCliInstalled() const { return m_gitHubCliInstalled; }

    static QUrl tokenPageUrl();

signals:
    void tokenInputChanged();
    void showTokenChanged();
    void isTestingChanged();
    void statusChanged();
    void hasExistingTokenChanged();
    void notificationPermissionStatusChanged();
    void refreshIntervalChanged();
    void notificationsEnabledChanged();
    void notificationSoundEnabledChanged();
    void participatingOnlyChanged();
    void startAtLoginChanged();
    void updateChannelChanged();
    void automaticallyCheckForUpdatesChanged();
    void isCheckingForUpdatesChanged();
    void updateStatusChanged();

private:
    void setStatus(const QString &message, bool success);
    void setTesting(bool testing);
    void setHasExistingToken(bool exists);
    void followTokenState();
    std::optional<QString> updateStatusLine() const;
    QCoro::Task<> runConnectionTest(QString token);
    // Off the GUI thread: a locked keyring may hold a save or a delete on
    // its unlock prompt, or never answer.
    QCoro::Task<> runSave(QString token);
    QCoro::Task<> runDelete();
    QCoro::Task<> runGitHubCliToken();
    QCoro::Task<> runPermissionRequest();

    QString m_tokenInput;
    bool m_showToken = false;
    bool m_isTesting = false;
    bool m_gitHubCliInstalled = GitHubCli::isInstalled();
    std::optional<QString> m_statusMessage;
    bool m_isSuccess = false;
    bool m_hasExistingToken = false;
    // The next answer of the secret store is reported in the status line.
    bool m_reportExistingToken = false;
    PermissionStatus m_permission = PermissionStatus::NotDetermined;
    int m_refreshInterval = 300;
    bool m_notificationsEnabled = false;
    bool m_notificationSoundEnabled = false;
    bool m_participatingOnly = false;
    QString m_updateChannel;
    bool m_automaticallyCheckForUpdates = false;
    // A check's outcome is told once this window has asked for one; a
    // release found in the background is told anyway.
    bool m_checkAsked = false;
};
