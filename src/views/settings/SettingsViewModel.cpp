#include "views/settings/SettingsViewModel.h"

#include "api/GitHubAPIClient.h"
#include "api/GitHubEndpoints.h"
#include "credentials/KeychainManager.h"
#include "credentials/TokenState.h"
#include "platform/Autostart.h"
#include "platform/Browser.h"
#include "platform/DesktopNotifications.h"
#include "platform/Diagnostics.h"
#include "platform/NoticeCenter.h"
#include "settings/Notices.h"
#include "settings/Preferences.h"
#include "updates/SparkleUpdaterService.h"

#include <QPointer>
#include <QTimer>

SettingsViewModel::SettingsViewModel(QObject *parent)
    : QObject(parent), m_refreshInterval(Preferences::refreshInterval()),
      m_notificationsEnabled(Preferences::notificationsEnabled()),
      m_notificationSoundEnabled(Preferences::notificationSoundEnabled()),
      m_participatingOnly(Preferences::participatingOnly()), m_updateChannel(Preferences::updateChannel()),
      m_automaticallyCheckForUpdates(Preferences::automaticallyChecksForUpdates())
{
    SparkleUpdaterService::shared();
    connect(&TokenState::shared(), &TokenState::readFinished, this, &SettingsViewModel::followTokenState);
    m_hasExistingToken = TokenState::shared().status() == TokenState::Status::Stored;
    checkNotificationPermission();
    SparkleUpdaterService &updater = SparkleUpdaterService::shared();
    connect(&updater, &SparkleUpdaterService::isCheckingForUpdatesChanged, this, [this] {
        emit isCheckingForUpdatesChanged();
        emit updateStatusChanged();
    });
    connect(&updater, &SparkleUpdaterService::checkEnded, this, &SettingsViewModel::updateStatusChanged);
}

void SettingsViewModel::setTokenInput(const QString &text)
{
    if (text == m_tokenInput)
        return;
    m_tokenInput = text;
    emit tokenInputChanged();
}

void SettingsViewModel::setShowToken(bool show)
{
    if (show == m_showToken)
        return;
    m_showToken = show;
    emit showTokenChanged();
}

// The change hooks run on every assignment, also of an unchanged value.
void SettingsViewModel::setRefreshInterval(int seconds)
{
    const bool changed = seconds != m_refreshInterval;
    m_refreshInterval = seconds;
    Preferences::setRefreshInterval(seconds);
    NoticeCenter::instance().post(QString::fromLatin1(Notices::refreshIntervalChanged), seconds);
    if (changed)
        emit refreshIntervalChanged();
}

void SettingsViewModel::setNotificationsEnabled(bool enabled)
{
    const bool changed = enabled != m_notificationsEnabled;
    m_notificationsEnabled = enabled;
    Preferences::setNotificationsEnabled(enabled);
    if (changed)
        emit notificationsEnabledChanged();
    if (enabled)
        requestNotificationPermission();
}

void SettingsViewModel::setNotificationSoundEnabled(bool enabled)
{
    const bool changed = enabled != m_notificationSoundEnabled;
    m_notificationSoundEnabled = enabled;
    Preferences::setNotificationSoundEnabled(enabled);
    if (changed)
        emit notificationSoundEnabledChanged();
}

void SettingsViewModel::setParticipatingOnly(bool enabled)
{
    if (enabled == m_participatingOnly)
        return;
    m_participatingOnly = enabled;
    Preferences::setParticipatingOnly(enabled);
    NoticeCenter::instance().post(QString::fromLatin1(Notices::participatingOnlyChanged), enabled);
    emit participatingOnlyChanged();
}

bool SettingsViewModel::startAtLogin() const
{
    return Autostart::isEnabled();
}

void SettingsViewModel::setStartAtLogin(bool enabled)
{
    if (const auto error = Autostart::setEnabled(enabled))
        setStatus(tr("Failed to change start at login: %1").arg(*error), false);
    emit startAtLoginChanged();
}

void SettingsViewModel::setUpdateChannel(const QString &channel)
{
    const bool changed = channel != m_updateChannel;
    m_updateChannel = channel;
    SparkleUpdaterService::shared().setUpdateChannel(channel);
    if (changed)
        emit updateChannelChanged();
}

void SettingsViewModel::setAutomaticallyCheckForUpdates(bool enabled)
{
    const bool changed = enabled != m_automaticallyCheckForUpdates;
    m_automaticallyCheckForUpdates = enabled;
    Preferences::setAutomaticallyChecksForUpdates(enabled);
    SparkleUpdaterService::shared().updaterController()->setAutomaticallyChecksForUpdates(enabled);
    if (changed)
        emit automaticallyCheckForUpdatesChanged();
}

QString SettingsViewModel::currentVersion() const
{
    return SparkleUpdaterService::shared().currentVersion();
}

QString SettingsViewModel::currentBuild() const
{
    return SparkleUpdaterService::shared().currentBuild();
}

QCoro::Task<> SettingsViewModel::checkNotificationPermission()
{
    QPointer<SettingsViewModel> self(this);
    const DesktopNotifications::ServiceQuery query = co_await DesktopNotifications::queryService();
    if (!self || query.error)
        co_return;
    const PermissionStatus status = query.available ? PermissionStatus::Authorized : PermissionStatus::Denied;
    if (status != m_permission) {
        m_permission = status;
        emit notificationPermissionStatusChanged();
    }
}

void SettingsViewModel::requestNotificationPermission()
{
    runPermissionRequest();
}

QCoro::Task<> SettingsViewModel::runPermissionRequest()
{
    QPointer<SettingsViewModel> self(this);
    const DesktopNotifications::ServiceQuery query = co_await DesktopNotifications::queryService();
    if (query.error) {
        Diagnostics::print(QStringLiteral("Failed to request notification permission: ") + *query.error);
        co_return;
    }
    if (!self)
        co_return;
    co_await checkNotificationPermission();
    if (self && !query.available)
        setNotificationsEnabled(false);
}

void SettingsViewModel::sendTestNotification()
{
    // The server shows the application's name already.
    DesktopNotification notification{tr("Test Notification"), std::nullopt, tr("Notifications are working correctly!"),
                                     m_notificationSoundEnabled};
    DesktopNotifications::post(notification, QStringLiteral("Failed to send test notification: "));
}

void SettingsViewModel::checkForUpdates()
{
    m_checkAsked = true;
    SparkleUpdaterService::shared().checkForUpdates();
}

bool SettingsViewModel::isCheckingForUpdates() const
{
    return SparkleUpdaterService::shared().isCheckingForUpdates();
}

bool SettingsViewModel::updateAvailable() const
{
    return SparkleUpdaterService::shared().updateAvailable();
}

std::optional<QString> SettingsViewModel::updateStatusLine() const
{
    const SparkleUpdaterService &updater = SparkleUpdaterService::shared();
    if (updater.isCheckingForUpdates())
        return tr("Checking\u2026");
    if (m_checkAsked && !updater.checkFailure().isEmpty())
        return tr("Update check failed: %1").arg(updater.checkFailure());
    if (const auto &found = updater.updateInfo())
        return tr("Update available: %1").arg(found->displayVersion());
    if (m_checkAsked)
        return tr("You're up to date!");
    return std::nullopt;
}

void SettingsViewModel::checkExistingToken()
{
    // Answered off the GUI thread: a locked keyring may wait for its prompt.
    m_reportExistingToken = true;
    TokenState::shared().reload();
}

void SettingsViewModel::followTokenState()
{
    const TokenState &token = TokenState::shared();
    setHasExistingToken(token.status() == TokenState::Status::Stored);
    if (!std::exchange(m_reportExistingToken, false))
        return;
    if (token.status() == TokenState::Status::Stored)
        setStatus(tr("Token is currently saved in keychain"), true);
    else if (token.status() == TokenState::Status::Unavailable || token.status() == TokenState::Status::Locked)
        setStatus(token.errorDescription(), false);
}

void SettingsViewModel::saveToken()
{
    if (m_tokenInput.isEmpty())
        return;
    // What the user just did is the news, not an earlier read's answer.
    m_reportExistingToken = false;
    runSave(m_tokenInput);
}

QCoro::Task<> SettingsViewModel::runSave(QString token)
{
    QPointer<SettingsViewModel> self(this);
    const auto error = co_await KeychainManager::storeToken(std::move(token));
    if (!self)
        co_return;
    if (error) {
        setStatus(tr("Failed to save token: %1").arg(error->errorDescription()), false);
        co_return;
    }
    setStatus(tr("Token saved successfully!"), true);
    setHasExistingToken(true);
    if (Preferences::enableNotificationsUnlessChosen())
        setNotificationsEnabled(true);
    QTimer::singleShot(2000, this, [this] {
        setTokenInput({});
        setShowToken(false);
    });
}

void SettingsViewModel::deleteToken()
{
    m_reportExistingToken = false;
    runDelete();
}

QCoro::Task<> SettingsViewModel::runDelete()
{
    QPointer<SettingsViewModel> self(this);
    const auto error = co_await KeychainManager::removeToken();
    if (!self)
        co_return;
    if (error) {
        setStatus(tr("Failed to delete token: %1").arg(error->errorDescription()), false);
        co_return;
    }
    setStatus(tr("Token deleted successfully"), true);
    setHasExistingToken(false);
    setTokenInput({});
}

void SettingsViewModel::testConnection()
{
    if (m_tokenInput.isEmpty())
        return;
    setTesting(true);
    setStatus(tr("Testing connection..."), false);
    runConnectionTest(m_tokenInput);
}

void SettingsViewModel::useGitHubCliToken()
{
    if (m_isTesting)
        return;
    m_reportExistingToken = false;
    setTesting(true);
    setStatus(tr("Asking the GitHub CLI for its token..."), false);
    runGitHubCliToken();
}

QCoro::Task<> SettingsViewModel::runGitHubCliToken()
{
    QPointer<SettingsViewModel> self(this);
    const auto answer = co_await GitHubCli::token(QStringLiteral("github.com"));
    if (!self)
        co_return;
    if (const auto *failure = std::get_if<GitHubCli::Failure>(&answer)) {
        setStatus(failure->description, false);
        setTesting(false);
        co_return;
    }
    const QString token = std::get<QString>(answer);
    const auto outcome = co_await GitHubAPIClient::validateToken(token);
    if (!self)
        co_return;
    setTesting(false);
    if (const auto *error = std::get_if<ClientError>(&outcome)) {
        setStatus(tr("Connection failed: %1").arg(userDescription(*error)), false);
    } else if (!std::get<bool>(outcome)) {
        setStatus(tr("Invalid token or insufficient permissions"), false);
    } else {
        co_await runSave(token);
    }
}

QCoro::Task<> SettingsViewModel::runConnectionTest(QString token)
{
    QPointer<SettingsViewModel> self(this);
    const auto outcome = co_await GitHubAPIClient::validateToken(std::move(token));
    if (!self)
        co_return;
    if (const auto *error = std::get_if<ClientError>(&outcome)) {
        setStatus(tr("Connection failed: %1").arg(userDescription(*error)), false);
    } else if (std::get<bool>(outcome)) {
        setStatus(tr("Connection successful! Token is valid."), true);
    } else {
        setStatus(tr("Invalid token or insufficient permissions"), false);
    }
    setTesting(false);
}

QUrl SettingsViewModel::tokenPageUrl()
{
    QUrl url(GitHubEndpoints::webRootUrl() + QStringLiteral("settings/tokens/new"));
    url.setQuery(QStringLiteral("scopes=notifications&description=Quillfen"));
    return url;
}

void SettingsViewModel::openTokenPage()
{
    Browser::open(tokenPageUrl());
}

void SettingsViewModel::setStatus(const QString &message, bool success)
{
    m_statusMessage = message;
    m_isSuccess = success;
    emit statusChanged();
}

void SettingsViewModel::setTesting(bool testing)
{
    if (testing == m_isTesting)
        return;
    m_isTesting = testing;
    emit isTestingChanged();
}

void SettingsViewModel::setHasExistingToken(bool exists)
{
    if (exists == m_hasExistingToken)
        return;
    m_hasExistingToken = exists;
    emit hasExistingTokenChanged();
}
